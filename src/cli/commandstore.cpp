#include "cli/commandstore.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QTimer>

namespace {

// A failed STORE is sent again after this pause, until the link's time limit.
constexpr int kRetryMs = 50;

} // namespace

QString CommandStore::summary() const
{
    return tr("store the controller's settings in its flash");
}

int CommandStore::run(CliContext& context)
{
    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    int code = session.findController(&info);
    if (code != ExitCode::Done)
        return code;

    // A STORE whose reply was lost is sent again: storing twice keeps the same values.
    QObject::connect(&session, &CliSession::taskFinished, &session, [&session](FCProtocol::Task* task) {
        if (task->type != FCProtocol::STORE)
            return;
        if (task->status == FCProtocol::Task::Success)
            session.finish(ExitCode::Done);
        else
            QTimer::singleShot(kRetryMs, &session, [&session] { session.send(FCProtocol::Request::store()); });
    });
    session.send(FCProtocol::Request::store());
    code = session.exec();
    if (code == ExitCode::Done)
        context.output().note(tr("The settings are stored in the controller."));
    return code;
}
