#pragma once

#include <QObject>

class SetupWrite;

namespace FCProtocol {
class Task;
}

// Whether the controller's working values differ from what it keeps over a power cycle: set
// by every successful write (PARA_WR, RC_WR, a FRAME_RW write), cleared by a successful STORE
// or DEFAULT_RESTORE. Reads and failed tasks change nothing. The writes of a verified setup write
// count by its outcome instead: only a value that took sets the mark.
class NotStoredMark : public QObject
{
    Q_OBJECT

public:
    explicit NotStoredMark(QObject* parent = nullptr);

    bool isSet() const { return set; }

    // Every finished task passes here, before `write` (see follow()) takes it.
    void taskDone(const FCProtocol::Task* task);
    // The verified write whose outcome decides for its own writes.
    void follow(const SetupWrite* write);

signals:
    void changed(bool set);

private:
    void setMark(bool on);

    bool set = false;
    const SetupWrite* verified = nullptr;
};
