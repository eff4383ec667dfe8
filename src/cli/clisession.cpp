#include "cli/clisession.h"

#include "cli/clioutput.h"
#include "cli/exitcode.h"
#include "engine/linksupervisor.h"
#include "protocol/helper.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"

#include <QEventLoop>

namespace {

// How often the time limit is looked at.
constexpr int kWatchMs = 50;

} // namespace

CliSession::CliSession(int timeoutMs, CliOutput* output, QObject* parent)
    : QObject(parent)
    , limitMs(timeoutMs)
    , output(output)
{
    watchTimer.setInterval(kWatchMs);
    QObject::connect(&watchTimer, &QTimer::timeout, this, &CliSession::watch);
    telemetryTimer.setInterval(LinkSupervisor::kTickMs);
    QObject::connect(&telemetryTimer, &QTimer::timeout, &supervisor, &LinkSupervisor::tick);
    QObject::connect(&supervisor, &LinkSupervisor::sendTask, this, &CliSession::send);
}

CliSession::~CliSession()
{
    // The task run controller (a member) waits for the transaction under way and deletes the
    // waiting tasks; the finished ones still waiting for deleteLater go with this object.
}

void CliSession::send(FCProtocol::Task* task)
{
    task->setParent(this);
    QObject::connect(task, &FCProtocol::Task::TaskDone, this, &CliSession::taskDone);
    trController.AddTask(task);
}

void CliSession::taskDone(FCProtocol::Task* task)
{
    if (task->status == FCProtocol::Task::Success && !searching)
        silence.restart();
    supervisor.taskDone(task);
    emit taskFinished(task);
    QObject::disconnect(task, &FCProtocol::Task::TaskDone, this, &CliSession::taskDone);
    task->deleteLater();

    // The transport is read between transactions: this runs from the finished task's TaskDone.
    const QtUsbHID* usb = trController.transport();
    if (task->status == FCProtocol::Task::LinkFailed && usb->lockRefused()) {
        lose(ExitCode::InUse, usb->lockHolder() > 0
                                  ? tr("the controller is in use by ORVANTE (process %1)").arg(usb->lockHolder())
                                  : tr("the controller is in use by another ORVANTE program"));
    }
}

int CliSession::findController(FCProtocol::DS_INFO_RD* info)
{
    const QMetaObject::Connection answered =
        QObject::connect(&supervisor, &LinkSupervisor::telemetry, this, [this, info](FCProtocol::DS_INFO_RD record) {
            *info = record;
            finish(ExitCode::Done);
        });
    searching = true;
    telemetryTimer.start();
    supervisor.tick();
    const int code = exec();
    telemetryTimer.stop();
    searching = false;
    QObject::disconnect(answered);
    // The time limit counts from the controller's first answer on.
    silence.restart();
    return code;
}

int CliSession::exec()
{
    if (lostCode >= 0)
        return lostCode;
    if (pending >= 0) {
        const int code = pending;
        pending = -1;
        return code;
    }
    if (!silence.isValid() || searching)
        silence.start();
    QEventLoop eventLoop;
    loop = &eventLoop;
    watchTimer.start();
    const int code = eventLoop.exec();
    watchTimer.stop();
    loop = nullptr;
    pending = -1;
    return code;
}

void CliSession::finish(int code)
{
    if (loop)
        loop->exit(code);
    else if (pending < 0)
        pending = code;
}

void CliSession::lose(int code, const QString& message)
{
    // A lost link ends the command: said once, and every later wait ends at once.
    if (lostCode >= 0)
        return;
    lostCode = code;
    output->error(message);
    finish(code);
}

void CliSession::watch()
{
    if (silence.elapsed() <= limitMs)
        return;
    const double seconds = limitMs / 1000.0;
    if (!searching)
        lose(ExitCode::NoController, tr("the controller stopped answering (no answer for %1 s)").arg(seconds));
    else if (supervisor.hasInfo())
        lose(ExitCode::NoController, tr("a controller answered, but ORVANTE does not support its board (%1)")
                                         .arg(FCProtocol::Helper::boardName(supervisor.lastInfo().boardWord)));
    else
        lose(ExitCode::NoController, tr("no controller answered within %1 s").arg(seconds));
}
