#include "cli/commandbackup.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"
#include "engine/setupfile.h"
#include "engine/tuningfile.h"
#include "protocol/helper.h"

#include <QDateTime>
#include <QDir>
#include <QIODevice>

QString CommandBackup::summary() const
{
    return tr("read the controller's parameters, radio and airframe into FILE (- for standard output)");
}

int CommandBackup::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QString path = context.arguments().value(0);
    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    int code = session.findController(&info);
    if (code == ExitCode::Done)
        code = CliSetup::requireFirmware(info, out);
    SetupRecord setup;
    if (code == ExitCode::Done)
        code = CliSetup::read(session, &setup);
    if (code != ExitCode::Done)
        return code;

    TuningFile::Header header;
    header.board = FCProtocol::Helper::boardName(info.boardWord);
    header.date = QDateTime::currentDateTimeUtc();
    const QByteArray bytes = TuningFile::toJson(setup, header);
    if (path == QLatin1String("-")) {
        out.data(bytes);
        return ExitCode::Done;
    }
    // Renamed over the target only when whole: an older backup under that name survives a
    // failed write.
    const QString error = SetupFile::save(path, setup, header);
    if (!error.isEmpty()) {
        out.error(tr("%1: cannot be written (%2)").arg(path, error));
        return ExitCode::OutputFailed;
    }
    out.note(tr("The setup of %1 is in %2.").arg(header.board, QDir::toNativeSeparators(path)));
    return ExitCode::Done;
}
