#include "usb/trcontroller.h"

#include "protocol/task.h"
#include "usb/qtusbhid.h"

#include <QDebug>
#include <QtConcurrent/QtConcurrentRun>

TRController::TRController(QObject* parent)
    : QObject(parent)
    , usb(new QtUsbHID(0x0483, 0x5750, nullptr))
{
    link.setMaxThreadCount(1);
    link.setExpiryTimeout(-1); // one thread for the whole session, not one per idle spell
    connect(&watcher, &QFutureWatcher<void>::finished, this, &TRController::TaskDone,
            Qt::QueuedConnection);
}

TRController::~TRController()
{
    watcher.disconnect(this);
    ClearTask();
    // The pool thread still uses the transport and the current task: stop its waiting and
    // let it finish.
    usb->cancel();
    watcher.waitForFinished();
    usb->takeBack();
    delete currentTask;
    currentTask = nullptr;
    delete usb;
}

void TRController::AddTask(FCProtocol::Task* task)
{
    // A controller that stops answering takes a whole reply wait per transaction while the
    // pages keep polling: one waiting read of each kind keeps the queue from filling with
    // them, so the telemetry read still comes round and commands are not pushed out.
    if (!task->urgent) {
        for (const FCProtocol::Task* waiting : qAsConst(queue)) {
            if (!waiting->urgent && waiting->type == task->type) {
                delete task;
                return;
            }
        }
    }
    if (queue.size() > kQueueCapacity - 1) {
        qDebug() << "Task Full!";
        // A pilot's command is never dropped for a periodic read.
        DropPolls();
        if (queue.size() > kQueueCapacity - 1) {
            if (!task->urgent) {
                delete task;
                return;
            }
            // Only commands wait, newest first: the oldest gives way, so repeated requests
            // stay bounded.
            delete queue.takeLast();
        }
    }
    if (task->urgent)
        queue.prepend(task);
    else
        queue.append(task);
    if (!currentTask)
        ContinueTask();
}

void TRController::TaskDone()
{
    FCProtocol::Task* finished = currentTask;
    if (!finished)
        return;
    usb->takeBack();
    emit finished->TaskDone(finished);
    if (!queue.isEmpty())
        ContinueTask();
    else
        currentTask = nullptr;
}

void TRController::ContinueTask()
{
    if (queue.isEmpty())
        return;
    // The first transaction on a newly opened device is the telemetry read, when one waits: every
    // mode of the controller answers it, so the report id is proven, and the controller's mode
    // known, before a request its bootloader would leave unanswered.
    int next = 0;
    if (!usb->isOpen()) {
        for (int i = 0; i < queue.size(); ++i) {
            if (queue[i]->type == FCProtocol::INFO_RD) {
                next = i;
                break;
            }
        }
    }
    currentTask = queue.takeAt(next);
    usb->handOver();
    watcher.setFuture(QtConcurrent::run(&link,
                                        [transport = usb, task = currentTask] { transport->RunTask(task); }));
}

void TRController::ClearTask()
{
    qDeleteAll(queue);
    queue.clear();
}

void TRController::DropPolls()
{
    for (auto it = queue.begin(); it != queue.end();) {
        if (!(*it)->urgent) {
            delete *it;
            it = queue.erase(it);
        } else {
            ++it;
        }
    }
}
