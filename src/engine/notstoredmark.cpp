#include "engine/notstoredmark.h"

#include "engine/setupwrite.h"
#include "protocol/requests.h"
#include "protocol/task.h"

NotStoredMark::NotStoredMark(QObject* parent)
    : QObject(parent)
{
}

void NotStoredMark::follow(const SetupWrite* write)
{
    verified = write;
    connect(write, &SetupWrite::finished, this, [this](const SetupWrite::Outcome& outcome) {
        if (outcome.changedController())
            setMark(true);
    });
}

void NotStoredMark::taskDone(const FCProtocol::Task* task)
{
    if (task->status != FCProtocol::Task::Success || (verified && verified->owns(task)))
        return;
    switch (task->type) {
    case FCProtocol::PARA_WR:
    case FCProtocol::RC_WR:
        setMark(true);
        break;
    case FCProtocol::FRAME_RW:
        // Only the write form changes the controller.
        if (FCProtocol::Request::isFrameWrite(task))
            setMark(true);
        break;
    case FCProtocol::STORE:
    case FCProtocol::DEFAULT_RESTORE:
        setMark(false);
        break;
    default:
        break;
    }
}

void NotStoredMark::setMark(bool on)
{
    if (on == set)
        return;
    set = on;
    emit changed(set);
}
