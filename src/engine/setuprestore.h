#pragma once

#include "engine/setupstore.h"
#include "engine/setupwrite.h"

#include <QObject>
#include <QString>

#include <functional>

namespace FCProtocol {
class Task;
}

// Brings a setup the pilot chose (a file, a snapshot) onto the connected controller, the same
// way for the window and the command line: the controller's setup as just read is kept first
// ("before-load"), then the setup is written and proven (SetupWrite); when asked, and only when
// every value took, the result is kept ("before-store") and stored (SetupStore). Emits its tasks
// and takes every finished one back; the owner sends them.
class SetupRestore : public QObject
{
    Q_OBJECT

public:
    // Keeps a snapshot of the controller's setup under a reason (SetupHistory's kBefore...):
    // where and how is the owner's business.
    using Keep = std::function<void(const QString& reason, const SetupRecord& setup)>;

    struct Outcome {
        SetupWrite::Outcome write;
        bool storeAsked = false;
        bool stored = false; // the controller confirmed STORE
    };

    explicit SetupRestore(QObject* parent = nullptr);

    void setKeep(Keep keep) { keepSnapshot = std::move(keep); }
    // The write, whose outcome tells which values took (the not-stored mark follows it).
    const SetupWrite* verifiedWrite() const { return &write; }

    // Brings `wanted` onto a controller that holds `controller` (as just read); with
    // `thenStore`, stores it once every value took.
    void start(const SetupRecord& controller, const SetupRecord& wanted, bool thenStore);
    bool isRunning() const { return running; }

public slots:
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    void finished(const SetupRestore::Outcome& outcome);

private:
    void written(const SetupWrite::Outcome& outcome);

    SetupWrite write;
    SetupStore store;
    Keep keepSnapshot;
    Outcome result;
    bool running = false;
};

Q_DECLARE_METATYPE(SetupRestore::Outcome)
