#include "engine/setuprestore.h"

#include "engine/setuphistory.h"
#include "protocol/task.h"

SetupRestore::SetupRestore(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<SetupRestore::Outcome>("SetupRestore::Outcome");
    connect(&write, &SetupWrite::sendTask, this, &SetupRestore::sendTask);
    connect(&store, &SetupStore::sendTask, this, &SetupRestore::sendTask);
    connect(&write, &SetupWrite::finished, this, &SetupRestore::written);
    connect(&store, &SetupStore::finished, this, [this](bool stored) {
        result.stored = stored;
        running = false;
        emit finished(result);
    });
}

void SetupRestore::start(const SetupRecord& controller, const SetupRecord& wanted, bool thenStore)
{
    result = Outcome();
    result.storeAsked = thenStore;
    running = true;
    if (keepSnapshot && !SetupDiff::rows(controller, wanted).isEmpty())
        keepSnapshot(QLatin1String(SetupHistory::kBeforeLoad), controller);
    write.start(controller, wanted);
}

void SetupRestore::taskDone(FCProtocol::Task* task)
{
    write.taskDone(task);
    store.taskDone(task);
}

void SetupRestore::written(const SetupWrite::Outcome& outcome)
{
    result.write = outcome;
    // A setup that did not arrive whole is not made permanent.
    if (result.storeAsked && outcome.result == SetupWrite::Outcome::Result::Done) {
        if (keepSnapshot)
            keepSnapshot(QLatin1String(SetupHistory::kBeforeStore), outcome.controller);
        store.start();
        return;
    }
    running = false;
    emit finished(result);
}
