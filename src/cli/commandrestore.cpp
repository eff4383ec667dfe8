#include "cli/commandrestore.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"
#include "engine/setuphistory.h"

#include <QCommandLineParser>

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

    const QVector<SetupDiff::Row> rows = SetupDiff::rows(controller, file.setup);
    CliSetup::print(out, rows, false, tr("controller"), path, QString(), QString());
    if (context.options().isSet(QStringLiteral("dry-run")))
        return ExitCode::Done;

    const bool store = context.options().isSet(QStringLiteral("store"));
    if (rows.isEmpty() && !store) {
        out.note(tr("The controller already holds these values."));
        return ExitCode::Done;
    }
    SetupRestore::Outcome outcome;
    code = CliSetup::restore(session, out, CliSetup::controllerOf(session, info), controller, file.setup, store,
                             &outcome);
    if (code != ExitCode::Done)
        return code;
    if (outcome.write.result == SetupWrite::Outcome::Result::NotTaken) {
        out.error(tr("the controller holds other values than the file after writing:"));
        CliSetup::print(out, SetupDiff::rows(outcome.write.controller, file.setup), false, tr("controller"), path,
                        QString(), QString());
        return ExitCode::Differs;
    }
    out.note(rows.isEmpty() ? tr("The controller already holds these values.")
                            : tr("The controller holds the values of %1.").arg(path));
    if (store)
        out.note(tr("The settings are stored in the controller."));
    return ExitCode::Done;
}
