#pragma once

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QThreadPool>

class QtUsbHID;

namespace FCProtocol {
class Task;
}

// Serialises all traffic to the flight controller: a bounded queue of waiting tasks, one
// transaction at a time on a thread of its own, each finished task handed back on the thread
// that owns the controller.
class TRController : public QObject
{
    Q_OBJECT

public:
    explicit TRController(QObject* parent = nullptr);
    // Cancels the waiting of a running transaction and waits for it to end (well within one
    // reply wait) before the transport goes; deletes the waiting tasks and the unfinished
    // current task.
    ~TRController() override;

    static constexpr int kQueueCapacity = 10;

    int waitingCount() const { return queue.size(); }
    // Head first: the next to run.
    const QList<FCProtocol::Task*>& waitingTasks() const { return queue; }
    bool isBusy() const { return currentTask != nullptr; }
    QtUsbHID* transport() const { return usb; }

public slots:
    // Takes ownership; urgent tasks go to the head of the queue. A non-urgent task (a
    // periodic read) is deleted at once when one of its type is already waiting: the issuer
    // asks again on its next tick. With 10 tasks already waiting ("Task Full!") the waiting
    // periodic reads are deleted; if 10 urgent tasks wait, the oldest of them is deleted to
    // make room for a new urgent task, and a new periodic read is deleted instead.
    // Deleted tasks never emit TaskDone.
    void AddTask(FCProtocol::Task* task);
    // The running transaction has ended: emit the task's TaskDone, then start the next.
    void TaskDone();
    // Starts the head of the queue, if any; on a closed transport (the next transaction opens the
    // device) a waiting telemetry read goes first.
    void ContinueTask();
    // Deletes every waiting task; they never emit TaskDone. The current task still completes.
    void ClearTask();
    // Deletes the waiting non-urgent tasks (periodic reads) and keeps the waiting commands.
    void DropPolls();

private:
    QList<FCProtocol::Task*> queue;
    FCProtocol::Task* currentTask = nullptr;
    // A transaction may wait a whole second for its reply. It runs on a pool of its own: in the
    // global pool it would hold a thread that Qt 6's painting splits its image fills across,
    // and the window would wait for the controller before it could paint.
    QThreadPool link;
    QFutureWatcher<void> watcher;
    QtUsbHID* usb;
};
