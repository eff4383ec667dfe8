#include "cli/commandlist.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "protocol/helper.h"
#include "usb/devicelock.h"
#include "usb/qtusbhid.h"
#include "usb/usbaccess.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct Found {
    UsbAccess::Listed device;
    qint64 holder = 0; // the ORVANTE program that holds it, 0 for none
    bool answered = false;
    FCProtocol::DS_INFO_RD info;
};

// The mode in info's words.
QString modeText(int mode)
{
    return mode == 0 ? QCoreApplication::translate("CommandInfo", "flight firmware")
        : mode == 1  ? QCoreApplication::translate("CommandInfo", "bootloader")
                     : QCoreApplication::translate("CommandInfo", "unknown (%1)").arg(mode);
}

} // namespace

QString CommandList::summary() const
{
    return tr("the controllers plugged in: device node, serial number, board, mode, and who holds each");
}

QList<QCommandLineOption> CommandList::options() const
{
    return {QCommandLineOption(QStringLiteral("json"), tr("Write JSON instead of text."))};
}

int CommandList::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QString only = context.options().value(QStringLiteral("device"));
    QVector<Found> found;
    for (const UsbAccess::Listed& device : UsbAccess::list()) {
        if (only.isEmpty() || device.path == QFile::encodeName(only))
            found.push_back({device, 0, false, {}});
    }
    if (found.isEmpty()) {
        out.error(tr("no controller is plugged in"));
        return ExitCode::NoController;
    }

    for (Found& f : found) {
        qint64 holder = 0;
        const QString lock = DeviceLock::fileFor(UsbAccess::kVendorId, UsbAccess::kProductId, f.device.serial,
                                                 f.device.path);
        if (DeviceLock::probe(lock, &holder) == DeviceLock::Result::Held) {
            // Another program talks to it: asking would take its replies.
            f.holder = qMax<qint64>(holder, 1);
            continue;
        }
        // Asked quietly: a controller that does not answer is listed all the same.
        QBuffer quiet;
        quiet.open(QIODevice::WriteOnly);
        CliOutput silent(&quiet, &quiet, false);
        CliSession session(context.timeout(), &silent);
        session.controller()->transport()->setDevicePath(f.device.path);
        f.answered = session.findController(&f.info) == ExitCode::Done;
        if (!f.answered && session.controller()->transport()->lockRefused())
            f.holder = qMax<qint64>(session.controller()->transport()->lockHolder(), 1);
    }

    const auto modeWord = [](const Found& f) {
        return !f.answered ? QString() : f.info.mode == 0 ? QStringLiteral("firmware")
            : f.info.mode == 1                            ? QStringLiteral("bootloader")
                                                          : QStringLiteral("unknown");
    };
    if (context.options().isSet(QStringLiteral("json"))) {
        QJsonArray array;
        for (const Found& f : found) {
            array.append(QJsonObject{
                {QStringLiteral("device"), QString::fromLocal8Bit(f.device.path)},
                {QStringLiteral("serial"), f.device.serial},
                {QStringLiteral("board"), f.answered ? FCProtocol::Helper::boardName(f.info.boardWord) : QString()},
                {QStringLiteral("mode"), modeWord(f)},
                {QStringLiteral("inUseBy"), f.holder > 0 ? QJsonValue(double(f.holder)) : QJsonValue()},
            });
        }
        out.data(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return ExitCode::Done;
    }
    QVector<QStringList> rows;
    for (const Found& f : found) {
        // "-" for none: a script reads the columns with `read dev serial rest`.
        QStringList row{QString::fromLocal8Bit(f.device.path),
                        f.device.serial.isEmpty() ? QStringLiteral("-") : f.device.serial};
        if (f.holder > 0)
            row << tr("in use by ORVANTE (process %1)").arg(f.holder);
        else if (!f.answered)
            row << tr("does not answer");
        else
            row << FCProtocol::Helper::boardName(f.info.boardWord)
                << modeText(f.info.mode);
        rows << row;
    }
    out.table(rows);
    return ExitCode::Done;
}
