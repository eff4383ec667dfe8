#include "cli/commanddiff.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"

#include <QCommandLineParser>

QString CommandDiff::summary() const
{
    return tr("the values FILE sets differently from the controller, or from FILE2");
}

QList<QCommandLineOption> CommandDiff::options() const
{
    return {QCommandLineOption(QStringLiteral("json"), tr("Write JSON instead of text."))};
}

int CommandDiff::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QStringList files = context.arguments();
    TuningFile::Result first;
    int code = CliSetup::load(files.first(), out, &first);
    if (code != ExitCode::Done)
        return code;

    SetupRecord left;
    bool twoFiles = files.size() == 2;
    if (twoFiles) {
        TuningFile::Result second;
        code = CliSetup::load(files.at(1), out, &second);
        if (code != ExitCode::Done)
            return code;
        left = first.setup;
        first = second;
    } else {
        CliSession& session = context.session();
        FCProtocol::DS_INFO_RD info;
        code = session.findController(&info);
        if (code == ExitCode::Done)
            code = CliSetup::requireFirmware(info, out);
        if (code == ExitCode::Done)
            code = CliSetup::read(session, &left);
        if (code != ExitCode::Done)
            return code;
    }

    const QVector<SetupDiff::Row> rows = SetupDiff::rows(left, first.setup);
    const bool json = context.options().isSet(QStringLiteral("json"));
    if (twoFiles)
        CliSetup::print(out, rows, json, files.at(0), files.at(1), QStringLiteral("file"), QStringLiteral("file2"));
    else
        CliSetup::print(out, rows, json, tr("controller"), files.at(0), QStringLiteral("controller"), QStringLiteral("file"));
    if (!json && rows.isEmpty())
        out.note(tr("No value differs."));
    return rows.isEmpty() ? ExitCode::Done : ExitCode::Differs;
}
