#include "cli/commandrestore.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"
#include "engine/setuphistory.h"

#include <QCommandLineParser>

namespace {

// A write whose reply was lost may or may not have been taken: the read-back says, and what
// still differs is written again, this many times in all.
constexpr int kWriteRounds = 3;

} // namespace

QString CommandRestore::summary() const
{
    return tr("write the values of FILE that differ to the controller and read them back");
}

QList<QCommandLineOption> CommandRestore::options() const
{
    return {QCommandLineOption(QStringLiteral("dry-run"), tr("Print the values that differ; write nothing.")),
            QCommandLineOption(QStringLiteral("store"), tr("Then store the settings in the controller's flash."))};
}

int CommandRestore::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QString path = context.arguments().value(0);
    TuningFile::Result file;
    int code = CliSetup::load(path, out, &file);
    if (code != ExitCode::Done)
        return code;

    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    code = session.findController(&info);
    if (code == ExitCode::Done)
        code = CliSetup::requireFirmware(info, out);
    SetupRecord controller;
    if (code == ExitCode::Done)
        code = CliSetup::read(session, &controller);
    if (code != ExitCode::Done)
        return code;

    QVector<SetupDiff::Row> rows = SetupDiff::rows(controller, file.setup);
    CliSetup::print(out, rows, false, tr("controller"), path, QString(), QString());
    if (context.options().isSet(QStringLiteral("dry-run")))
        return ExitCode::Done;

    if (rows.isEmpty()) {
        out.note(tr("The controller already holds these values."));
    } else {
        CliSetup::keep(out, info.boardWord, controller, QLatin1String(SetupHistory::kBeforeLoad));
        for (int round = 0; round < kWriteRounds && !rows.isEmpty(); ++round) {
            code = CliSetup::write(session, controller, file.setup);
            if (code == ExitCode::Done)
                code = CliSetup::read(session, &controller);
            if (code != ExitCode::Done)
                return code;
            rows = SetupDiff::rows(controller, file.setup);
        }
        if (!rows.isEmpty()) {
            out.error(tr("the controller holds other values than the file after writing:"));
            CliSetup::print(out, rows, false, tr("controller"), path, QString(), QString());
            return ExitCode::Differs;
        }
        out.note(tr("The controller holds the values of %1.").arg(path));
    }

    if (!context.options().isSet(QStringLiteral("store")))
        return ExitCode::Done;
    CliSetup::keep(out, info.boardWord, controller, QLatin1String(SetupHistory::kBeforeStore));
    code = CliSetup::store(session);
    if (code == ExitCode::Done)
        out.note(tr("The settings are stored in the controller."));
    return code;
}
