#include "usb/trcontroller.h"

#include "protocol/task.h"
#include "usb/qtusbhid.h"

#include <QDebug>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

TRController::TRController(QObject* parent)
    : QObject(parent)
    , usb(new QtUsbHID(0x0483, 0x5750, nullptr))
{
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
    delete currentTask;
    currentTask = nullptr;
    delete usb;
}

void TRController::AddTask(FCProtocol::Task* task)
{
    if (queue.size() > kQueueCapacity - 1) {
        ClearTask();
        qDebug() << "Task Full!";
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
    currentTask = queue.takeFirst();
    watcher.setFuture(QtConcurrent::run(QThreadPool::globalInstance(), usb, &QtUsbHID::RunTask,
                                        currentTask));
}

void TRController::ClearTask()
{
    qDeleteAll(queue);
    queue.clear();
}
