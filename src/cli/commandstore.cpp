#include "cli/commandstore.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"

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

    code = CliSetup::store(session, context.output());
    if (code == ExitCode::Done)
        context.output().note(tr("The settings are stored in the controller."));
    return code;
}
