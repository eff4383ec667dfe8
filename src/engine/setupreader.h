#pragma once

#include "engine/setuprecord.h"

#include <QObject>
#include <QSet>
#include <QString>

namespace FCProtocol {
class Task;
}

// Reads a controller's whole setup: one PARA_RD, one RC_RD and one FRAME_RW read. Emits the
// three tasks and takes the finished ones back (any other finished task may pass by). Every
// reading ends, with the record or with a failure: a failed or short reply fails it at once,
// and so does a read the task queue drops (its task is deleted unfinished).
class SetupReader : public QObject
{
    Q_OBJECT

public:
    explicit SetupReader(QObject* parent = nullptr);

    // Starts a reading; one still running is forgotten. The reads are urgent: a periodic read
    // of the same kind waiting in the queue would otherwise take their place.
    void start();
    bool isReading() const { return !pending.isEmpty(); }
    // One of this reading's tasks.
    bool owns(const FCProtocol::Task* task) const;

public slots:
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    void finished(const SetupRecord& setup);
    // Why the reading failed, for the log ("RC_RD: status -2").
    void failed(const QString& why);

private:
    void fail(const QString& why);

    QSet<const QObject*> pending;
    SetupRecord read;
};
