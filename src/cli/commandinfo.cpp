#include "cli/commandinfo.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "engine/linksupervisor.h"
#include "protocol/helper.h"
#include "usb/qtusbhid.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>

using FCProtocol::Helper;

QString CommandInfo::summary() const
{
    return tr("board, version, mode (firmware or bootloader) and self-test");
}

QList<QCommandLineOption> CommandInfo::options() const
{
    return {QCommandLineOption(QStringLiteral("json"), tr("Write JSON instead of text."))};
}

int CommandInfo::run(CliContext& context)
{
    FCProtocol::DS_INFO_RD info;
    const int code = context.session().findController(&info);
    if (code != ExitCode::Done)
        return code;

    const QString board = Helper::boardName(info.boardWord);
    const QString version = QStringLiteral("%1").arg(quint32(info.boardWord) & 0xFFFF, 4, 16, QLatin1Char('0'));
    // The words a script reads stay English; the text beside them follows the language.
    const QString mode = info.mode == 0 ? QStringLiteral("firmware")
        : info.mode == 1               ? QStringLiteral("bootloader")
                                       : QStringLiteral("unknown");
    const QString modeText = info.mode == 0 ? tr("flight firmware")
        : info.mode == 1                    ? tr("bootloader")
                                            : tr("unknown (%1)").arg(info.mode);
    const LinkSupervisor::SelfTest test = LinkSupervisor::selfTest(info);
    // Between transactions: the transport may be asked.
    const QtUsbHID* usb = context.session().controller()->transport();
    const QString serial = usb->serialNumber();
    const QString node = usb->deviceNode();

    CliOutput& out = context.output();
    if (context.options().isSet(QStringLiteral("json"))) {
        const QJsonObject object{
            {QStringLiteral("board"), board},
            {QStringLiteral("boardId"), Helper::boardId(info.boardWord)},
            {QStringLiteral("version"), version},
            {QStringLiteral("mode"), mode},
            {QStringLiteral("selfTest"), int(info.errorCode)},
            {QStringLiteral("selfTestText"), test.text},
            {QStringLiteral("selfTestOk"), test.good},
            {QStringLiteral("serial"), serial},
            {QStringLiteral("device"), node},
        };
        out.data(QJsonDocument(object).toJson(QJsonDocument::Indented));
        return ExitCode::Done;
    }
    out.result(tr("board:     %1").arg(board));
    out.result(tr("mode:      %1").arg(modeText));
    out.result(tr("self-test: %1 %2").arg(int(info.errorCode)).arg(test.text));
    out.result(tr("serial:    %1").arg(serial.isEmpty() ? tr("none") : serial));
    out.result(tr("device:    %1").arg(node));
    return ExitCode::Done;
}
