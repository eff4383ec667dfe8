#include "engine/setupkeeper.h"

#include "engine/setuphistory.h"
#include "engine/setupreader.h"
#include "protocol/helper.h"
#include "protocol/task.h"

#include <QDebug>

struct SetupKeeper::Job {
    SetupReader* reader = nullptr;
    QString reason;
    ControllerId board; // the controller read, whatever connects meanwhile
    bool onlyIfChanged = false;
    bool hasContext = false;
    QPointer<QObject> context;
    std::function<void()> then;
};

SetupKeeper::SetupKeeper(SetupHistory* history, QObject* parent)
    : QObject(parent)
    , store(history)
{
}

SetupKeeper::~SetupKeeper() = default;

void SetupKeeper::linkUp(const FCProtocol::DS_INFO_RD& info, const QString& serial, bool updating)
{
    boardKnown = true;
    board = ControllerId{info.boardWord, serial};
    // The bootloader answers none of the reads.
    flightFirmware = info.mode == 0;
    if (flightFirmware && !updating)
        startJob(QLatin1String(SetupHistory::kConnected), true, nullptr, nullptr);
}

void SetupKeeper::snapshotThen(const QString& reason, QObject* context, std::function<void()> then)
{
    if (!boardKnown || !flightFirmware) {
        qDebug().noquote() << "History: no" << reason << "snapshot: no controller in its flight firmware";
        if (then)
            then();
        return;
    }
    startJob(reason, false, context, std::move(then));
}

bool SetupKeeper::keep(const QString& reason, const SetupRecord& setup)
{
    if (!boardKnown)
        return false;
    return !store->write(board, setup, reason, FCProtocol::Helper::boardName(board.boardWord)).isEmpty();
}

bool SetupKeeper::owns(const FCProtocol::Task* task) const
{
    for (const auto& job : jobs) {
        if (job->reader->owns(task))
            return true;
    }
    return false;
}

void SetupKeeper::taskDone(FCProtocol::Task* task)
{
    // A reader may end its job (and the list change) on this task.
    const QList<std::shared_ptr<Job>> running = jobs;
    for (const auto& job : running)
        job->reader->taskDone(task);
}

void SetupKeeper::startJob(const QString& reason, bool onlyIfChanged, QObject* context, std::function<void()> then)
{
    auto job = std::make_shared<Job>();
    job->reader = new SetupReader(this);
    job->reason = reason;
    job->board = board;
    job->onlyIfChanged = onlyIfChanged;
    job->hasContext = context != nullptr;
    job->context = context;
    job->then = std::move(then);
    jobs << job;
    Job* raw = job.get();
    connect(job->reader, &SetupReader::sendTask, this, &SetupKeeper::sendTask);
    connect(job->reader, &SetupReader::finished, this,
            [this, raw](const SetupRecord& setup) { endJob(raw, &setup, QString()); });
    connect(job->reader, &SetupReader::failed, this,
            [this, raw](const QString& why) { endJob(raw, nullptr, why); });
    job->reader->start();
}

void SetupKeeper::endJob(Job* job, const SetupRecord* setup, const QString& why)
{
    std::shared_ptr<Job> owned;
    for (int i = 0; i < jobs.size(); ++i) {
        if (jobs[i].get() == job) {
            owned = jobs.takeAt(i);
            break;
        }
    }
    if (!owned)
        return;
    owned->reader->deleteLater();

    if (!setup) {
        qDebug().noquote() << "History: no" << owned->reason << "snapshot, the setup could not be read:" << why;
    } else if (owned->onlyIfChanged) {
        bool unchanged = false;
        store->writeIfChanged(owned->board, *setup, owned->reason,
                              FCProtocol::Helper::boardName(owned->board.boardWord), &unchanged);
        if (unchanged)
            qDebug().noquote() << "History: setup as in the newest snapshot, none written";
    } else {
        store->write(owned->board, *setup, owned->reason, FCProtocol::Helper::boardName(owned->board.boardWord));
    }
    if (owned->then && (!owned->hasContext || owned->context))
        owned->then();
}
