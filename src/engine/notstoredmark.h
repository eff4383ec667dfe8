#pragma once

#include <QObject>

namespace FCProtocol {
class Task;
}

// Whether the controller's working values differ from what it keeps over a power cycle: set
// by every successful write (PARA_WR, RC_WR, a FRAME_RW write), cleared by a successful STORE
// or DEFAULT_RESTORE. Reads and failed tasks change nothing.
class NotStoredMark : public QObject
{
    Q_OBJECT

public:
    explicit NotStoredMark(QObject* parent = nullptr);

    bool isSet() const { return set; }

    // Every finished task passes here.
    void taskDone(const FCProtocol::Task* task);

signals:
    void changed(bool set);

private:
    void setMark(bool on);

    bool set = false;
};
