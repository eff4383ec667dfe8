#include "engine/setupstore.h"

#include "protocol/requests.h"
#include "protocol/task.h"

#include <QDebug>
#include <QTimer>

SetupStore::SetupStore(QObject* parent)
    : QObject(parent)
{
}

void SetupStore::start()
{
    if (isRunning())
        return;
    tries = 0;
    send();
}

void SetupStore::send()
{
    retrying = false;
    ++tries;
    FCProtocol::Task* task = FCProtocol::Request::store();
    pending = task;
    // Dropped from the queue unfinished: as good as a lost reply.
    connect(task, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone != pending)
            return;
        pending = nullptr;
        retrying = true;
        QTimer::singleShot(0, this, &SetupStore::retryOrGiveUp);
    });
    emit sendTask(task);
}

void SetupStore::taskDone(FCProtocol::Task* task)
{
    if (task != pending)
        return;
    pending = nullptr;
    if (task->status == FCProtocol::Task::Success) {
        emit finished(true);
        return;
    }
    qDebug() << "STORE not confirmed, status" << task->status;
    retryOrGiveUp();
}

void SetupStore::retryOrGiveUp()
{
    if (tries >= kTries) {
        retrying = false;
        emit finished(false);
        return;
    }
    retrying = true;
    QTimer::singleShot(kRetryMs, this, &SetupStore::send);
}
