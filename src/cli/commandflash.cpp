#include "cli/commandflash.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/clisetup.h"
#include "cli/exitcode.h"
#include "engine/firmwareupdate.h"
#include "engine/setuphistory.h"
#include "protocol/helper.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

using FCProtocol::Helper;

namespace {

// What the update says while it runs: the firmware page's texts, and on a terminal a bar with
// the blocks and the time left; elsewhere a line per step and per tenth of the image.
class FlashProgress
{
    Q_DECLARE_TR_FUNCTIONS(CommandFlash)

public:
    FlashProgress(CliOutput& output, int blocks)
        : output(output)
        , blocks(blocks)
    {
    }

    void show(int state, int percent, int done)
    {
        // The first tick after the start still says nothing: the update never goes back to it.
        if (state == FirmwareUpdate::NoProgress)
            return;
        if (state != shownState) {
            if (shownState == FirmwareUpdate::Updating)
                bar(100, blocks);
            shownState = state;
            shownTenth = -1;
            if (state == FirmwareUpdate::Updating) {
                clock.invalidate();
                barEnded = false;
            }
            else
                output.note(FirmwareUpdate::progressText(state));
        }
        if (state != FirmwareUpdate::Updating)
            return;
        if (output.isTerminal()) {
            bar(qMax(0, percent), done);
        } else if (percent / 10 != shownTenth) {
            shownTenth = percent / 10;
            output.progress(tr("Updating... %1% (%2/%3 blocks)").arg(percent).arg(done).arg(blocks));
        }
    }

private:
    void bar(int percent, int done)
    {
        // The full bar stays as it is while the bootloader verifies.
        if (!output.isTerminal() || barEnded)
            return;
        constexpr int kWidth = 30;
        const int filled = percent * kWidth / 100;
        // The pace from the first confirmed block on: the way into the bootloader is no guide.
        if (done > 0 && !clock.isValid())
            clock.start();
        QString left = QStringLiteral("--:--");
        if (done > 1 && done < blocks) {
            const qint64 ms = clock.elapsed() * (blocks - done) / (done - 1);
            left = QStringLiteral("%1:%2").arg(ms / 60000).arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'));
        } else if (done >= blocks) {
            left = QStringLiteral("0:00");
        }
        output.progress(tr("[%1%2] %3% %4/%5 blocks, %6 left")
                            .arg(QString(filled, QLatin1Char('#')), QString(kWidth - filled, QLatin1Char('.')))
                            .arg(percent, 3)
                            .arg(done, 4)
                            .arg(blocks)
                            .arg(left));
        if (done >= blocks) {
            output.endProgress();
            barEnded = true;
        }
    }

    CliOutput& output;
    int blocks;
    int shownState = FirmwareUpdate::NoProgress;
    int shownTenth = -1;
    bool barEnded = false;
    QElapsedTimer clock;
};

} // namespace

QString CommandFlash::summary() const
{
    return tr("check FILE and write it to the controller through its bootloader");
}

QList<QCommandLineOption> CommandFlash::options() const
{
    return {QCommandLineOption(QStringLiteral("force"),
                               tr("Write another board's firmware, or the version already installed."))};
}

QString CommandFlash::refusal(int result)
{
    switch (result) {
    case FirmwareImage::NotAFile: return tr("not a file");
    case FirmwareImage::WrongHead: return tr("not a firmware file (its header does not start with 12 34 AB CD)");
    case FirmwareImage::WrongVersion: return tr("the version word in the header is not valid");
    case FirmwareImage::EmptyImage: return tr("the file holds no image");
    case FirmwareImage::ImageTooLong: return tr("the image is longer than the file");
    case FirmwareImage::WrongLength: return tr("the image length is not a multiple of 2048 bytes");
    case FirmwareImage::FileTooLarge: return tr("the file is larger than 16 MiB");
    default: return tr("refused (%1)").arg(result);
    }
}

int CommandFlash::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QString path = context.arguments().value(0);
    FirmwareUpdate update;
    const int check = update.loadImage(path);
    if (check != FirmwareImage::Ok) {
        out.error(QStringLiteral("%1: %2").arg(path, refusal(check)));
        return ExitCode::BadFile;
    }

    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    int code = session.findController(&info);
    if (code != ExitCode::Done)
        return code;

    // The firmware page's wiring: the update sends through the link, every result comes back,
    // and it reads the controller's version whenever it is idle.
    update.setTelemetryWord(info.boardWord);
    update.setVersionReads(true);
    QObject::connect(&update, &FirmwareUpdate::sendTask, &session, &CliSession::send);
    QObject::connect(&session, &CliSession::taskFinished, &update, &FirmwareUpdate::taskDone);
    QTimer tick;
    // A block goes out on the first tick after its predecessor was confirmed: a coarse timer
    // that fires late turns one round trip into two ticks.
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(FirmwareUpdate::kTickMs);
    QObject::connect(&tick, &QTimer::timeout, &update, &FirmwareUpdate::tick);

    // 1. What the controller runs, as the page shows it before the pilot presses Update.
    qint32 word = info.boardWord;
    const QMetaObject::Connection versionKnown =
        QObject::connect(&update, &FirmwareUpdate::versionRead, &session, [&](qint32 read) {
            word = read;
            session.finish(ExitCode::Done);
        });
    tick.start();
    code = session.exec();
    QObject::disconnect(versionKnown);
    if (code != ExitCode::Done)
        return code;

    // 2. The page's questions, answered by --force.
    const QString fileBoard = Helper::boardName(update.image().version);
    const bool force = context.options().isSet(QStringLiteral("force"));
    switch (update.boardMatch()) {
    case FirmwareUpdate::BoardMatch::Same:
        if (!force) {
            out.error(tr("the controller already runs this firmware (%1); --force writes it again").arg(fileBoard));
            return ExitCode::Refused;
        }
        break;
    case FirmwareUpdate::BoardMatch::OtherBoard:
        if (!force) {
            out.error(tr("this firmware is for %1, but the controller is %2; another board's firmware can make "
                         "it unusable (--force writes it all the same)")
                          .arg(fileBoard, Helper::boardName(word)));
            return ExitCode::Refused;
        }
        break;
    case FirmwareUpdate::BoardMatch::Unknown:
    case FirmwareUpdate::BoardMatch::Fine:
        break;
    }

    // 3. The setup the controller holds, kept first where this computer keeps a history: an
    // update that goes wrong must not take it along.
    if (info.mode == 0 && CliSetup::keepsHistory()) {
        SetupRecord setup;
        code = CliSetup::read(session, &setup);
        if (code != ExitCode::Done)
            return code;
        CliSetup::keep(out, CliSetup::controllerOf(session, info), setup, QLatin1String(SetupHistory::kBeforeUpdate));
    }

    // 4. The update, ended as the page ends it: success once the restarted flight firmware
    // answers, failure at a verify mismatch or when it makes no progress. The controller stays
    // this command's through the jumps, whatever it reports meanwhile.
    out.note(tr("Writing %1 (%2 blocks) to %3").arg(fileBoard).arg(update.image().blockCount()).arg(Helper::boardName(word)));
    FlashProgress progress(out, update.image().blockCount());
    QtUsbHID* usb = session.controller()->transport();
    QObject::connect(&update, &FirmwareUpdate::started, &session, [usb] { usb->holdThroughJumps(true); });
    QObject::connect(&update, &FirmwareUpdate::progress, &session,
                     [&](int state, int percent) { progress.show(state, percent, update.blockIndex()); });
    FirmwareUpdate::Result result = FirmwareUpdate::Result::Success;
    QObject::connect(&update, &FirmwareUpdate::finished, &session, [&](FirmwareUpdate::Result outcome) {
        usb->holdThroughJumps(false);
        result = outcome;
        progress.show(update.progressState(), update.percent(), update.blockIndex());
        session.finish(outcome == FirmwareUpdate::Result::Success ? ExitCode::Done : ExitCode::UpdateFailed);
    });
    // The bootloader may confirm before the next tick: the first step is said at once.
    auto begin = [&] {
        if (update.start())
            progress.show(FirmwareUpdate::Preparing, 0, 0);
    };
    begin();
    if (!update.isRunning()) {
        // The last version read failed after all: start on the first tick with a working link.
        QObject::connect(&tick, &QTimer::timeout, &session, [&] {
            if (!update.isRunning() && update.progressState() == FirmwareUpdate::NoProgress && update.linkOk())
                begin();
        });
    }
    code = session.exec();
    tick.stop();
    out.endProgress();

    switch (code) {
    case ExitCode::Done: {
        qint32 now = 0;
        update.controllerWord(&now);
        out.note(tr("The controller runs %1.").arg(Helper::boardName(now)));
        break;
    }
    case ExitCode::UpdateFailed:
        if (result == FirmwareUpdate::Result::NoProgress)
            out.error(tr("the update made no progress for %1 s and was given up; the controller stays in its "
                         "bootloader: check the cable, then run the same flash command again")
                          .arg(FirmwareUpdate::noProgressLimit() / 1000.0));
        else
            out.error(tr("the controller's verify answer differs from the file's check value; the controller stays "
                         "in its bootloader: run the same flash command again"));
        break;
    default:
        if (update.isRunning() || update.progressState() != FirmwareUpdate::NoProgress) {
            out.error(tr("the update did not finish and the controller may be left in its bootloader: run the same "
                         "flash command again"));
            // Lost once the controller waits in its bootloader: the update failed, and says how to go on.
            if (update.bootloaderEntered())
                code = ExitCode::UpdateFailed;
        }
        break;
    }
    return code;
}
