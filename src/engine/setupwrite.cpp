#include "engine/setupwrite.h"

#include "engine/setupreader.h"
#include "protocol/task.h"

#include <QDebug>
#include <QTimer>

SetupWrite::SetupWrite(QObject* parent)
    : QObject(parent)
    , reader(new SetupReader(this))
{
    qRegisterMetaType<SetupWrite::Outcome>("SetupWrite::Outcome");
    connect(reader, &SetupReader::sendTask, this, &SetupWrite::sendTask);
    connect(reader, &SetupReader::finished, this, &SetupWrite::readBack);
    connect(reader, &SetupReader::failed, this, &SetupWrite::readFailed);
}

void SetupWrite::start(const SetupRecord& controller, const SetupRecord& setup)
{
    ++generation;
    writes.clear();
    before = current = controller;
    wanted = setup;
    differing = SetupDiff::rows(controller, setup);
    rounds = 0;
    running = true;
    if (differing.isEmpty()) {
        finish(Outcome::Result::Done);
        return;
    }
    writeRound();
}

bool SetupWrite::owns(const FCProtocol::Task* task) const
{
    return running && (writes.contains(task) || reader->owns(task));
}

void SetupWrite::writeRound()
{
    readTries = 0;
    ++rounds;
    // Each round from the last reading: the radio's write keeps the controller's own bits.
    const QList<FCProtocol::Task*> tasks = SetupDiff::writes(current, wanted);
    for (FCProtocol::Task* task : tasks) {
        writes.insert(task);
        // A write the queue drops never finishes: it counts as ended, the read-back tells.
        const int round = generation;
        connect(task, &QObject::destroyed, this, [this, round](QObject* gone) {
            if (round == generation)
                QTimer::singleShot(0, this, [this, gone, round] {
                    if (round == generation)
                        settle(gone);
                });
        });
    }
    if (tasks.isEmpty()) {
        reader->start();
        return;
    }
    for (FCProtocol::Task* task : tasks)
        emit sendTask(task);
}

void SetupWrite::taskDone(FCProtocol::Task* task)
{
    if (!running)
        return;
    if (reader->owns(task)) {
        reader->taskDone(task);
        return;
    }
    // Its status aside: a write whose reply was lost may have been taken, the read-back says.
    settle(task);
}

void SetupWrite::settle(const QObject* task)
{
    if (writes.remove(task) && writes.isEmpty())
        reader->start();
}

void SetupWrite::readBack(const SetupRecord& read)
{
    if (!running)
        return;
    current = read;
    if (SetupDiff::rows(current, wanted).isEmpty())
        finish(Outcome::Result::Done);
    else if (rounds >= kRounds)
        finish(Outcome::Result::NotTaken);
    else
        writeRound();
}

void SetupWrite::readFailed(const QString& why)
{
    if (!running)
        return;
    if (++readTries >= kReadTries) {
        finish(Outcome::Result::Unknown, why);
        return;
    }
    const int round = generation;
    QTimer::singleShot(kRetryMs, this, [this, round] {
        if (running && round == generation)
            reader->start();
    });
}

void SetupWrite::finish(Outcome::Result result, const QString& why)
{
    Outcome outcome;
    outcome.rounds = rounds;
    outcome.why = why;
    outcome.controller = current;
    if (result != Outcome::Result::Unknown) {
        for (SetupDiff::Row row : differing) {
            const double now = SetupFields::value(current, *row.field);
            if (SetupFields::sameValue(*row.field, now, row.wanted)) {
                outcome.took.push_back(row);
            } else {
                row.controller = now;
                outcome.kept.push_back(row);
            }
        }
        result = outcome.kept.isEmpty() ? Outcome::Result::Done : Outcome::Result::NotTaken;
    } else {
        qDebug().noquote() << "The setup could not be read back after writing:" << why;
    }
    outcome.result = result;
    running = false;
    writes.clear();
    ++generation;
    emit finished(outcome);
}
