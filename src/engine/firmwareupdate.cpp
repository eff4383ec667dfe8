#include "engine/firmwareupdate.h"

#include "protocol/helper.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QCoreApplication>
#include <QDebug>

using FCProtocol::Task;
namespace Request = FCProtocol::Request;

namespace {

constexpr int kBlockSize = FirmwareImage::kBlockSize;
constexpr quint32 kBoardMark = 0xF0000000;
constexpr int kBootloaderBoardId = 0x00;

int noProgressLimitMs = FirmwareUpdate::kNoProgressMs;

} // namespace

void FirmwareUpdate::setNoProgressLimit(int ms)
{
    noProgressLimitMs = qMax(kTickMs, ms);
}

int FirmwareUpdate::noProgressLimit()
{
    return noProgressLimitMs;
}

FirmwareUpdate::FirmwareUpdate(QObject* parent)
    : QObject(parent)
{
}

QString FirmwareUpdate::progressText(int state)
{
    // Shown on the firmware page, so translated in its context.
    static const char* const texts[] = {
        nullptr,
        QT_TRANSLATE_NOOP("PageFCFirmware", "Preparing for update..."),
        QT_TRANSLATE_NOOP("PageFCFirmware", "Updating..."),
        QT_TRANSLATE_NOOP("PageFCFirmware", "Update done, Restarting..."),
        QT_TRANSLATE_NOOP("PageFCFirmware", "Update success"),
        QT_TRANSLATE_NOOP("PageFCFirmware", "Update fail"),
    };
    if (state <= NoProgress || state > Failed)
        return QString();
    return QCoreApplication::translate("PageFCFirmware", texts[state]);
}

int FirmwareUpdate::percent() const
{
    if (loaded.data.isEmpty())
        return -1;
    return int(qint64(blocks) * kBlockSize * 100 / loaded.data.size());
}

int FirmwareUpdate::loadImage(const QString& path)
{
    if (isRunning()) {
        qDebug() << "update running: image kept";
        return FirmwareImage::NotAFile;
    }
    return loaded.checkBinFile(path);
}

void FirmwareUpdate::setTelemetryWord(qint32 word)
{
    telemetryWord = word;
    telemetryKnown = true;
}

bool FirmwareUpdate::controllerWord(qint32* word) const
{
    if (controllerInfoKnown)
        *word = controllerInfo[2];
    else if (telemetryKnown)
        *word = telemetryWord;
    else
        return false;
    return true;
}

FirmwareUpdate::BoardMatch FirmwareUpdate::boardMatch() const
{
    qint32 word = 0;
    if (!controllerWord(&word))
        return BoardMatch::Unknown;
    if (word == loaded.version)
        return BoardMatch::Same;
    const int board = FCProtocol::Helper::boardId(word);
    if (board != kBootloaderBoardId && board != FCProtocol::Helper::boardId(loaded.version))
        return BoardMatch::OtherBoard;
    return BoardMatch::Fine;
}

bool FirmwareUpdate::start()
{
    if (isRunning() || !link || !loaded.isLoaded())
        return false;
    if ((quint32(controllerInfo[2]) & kBoardMark) != kBoardMark)
        qDebug() << "firmware read wrong version";
    blocks = 0;
    bestBlocks = 0;
    blockReady = true;
    turnMissed = false;
    waitMs = 0;
    limitMs = noProgressLimitMs;
    progressed();
    entered = false;
    stepValue = EnterBoot;
    emit started();
    return true;
}

void FirmwareUpdate::tick()
{
    emit progress(progressValue, percent());
    if (stalled())
        return;

    switch (stepValue) {
    case Idle:
        if (versionReads)
            emit sendTask(Request::firmwareInfoRead());
        blocks = 0;
        break;
    case EnterBoot:
        emit sendTask(Request::bootJump(FCProtocol::kCommandStart));
        progressValue = Preparing;
        break;
    case Program:
        waitMs += kTickMs;
        if (waitMs > kBlockTimeoutMs) {
            qDebug() << "prog timeout, retry";
            blocks = 0;
            sendBlock();
        } else if (blockReady) {
            sendBlock();
        } else {
            // This tick's block waits for its predecessor's confirmation, which sends it.
            turnMissed = true;
        }
        break;
    case Verify:
        emit sendTask(Request::verify());
        break;
    case LeaveBoot:
        emit sendTask(Request::bootJump(FCProtocol::kCommandFinish));
        progressValue = Restarting;
        break;
    }
}

bool FirmwareUpdate::stalled()
{
    // From the start until the restarted flight firmware answers.
    if (!isRunning() && progressValue != Restarting)
        return false;
    stalledMs += kTickMs;
    if (stalledMs < limitMs)
        return false;
    qDebug() << "no progress, update failed in step" << int(stepValue);
    fail(Result::NoProgress);
    return true;
}

void FirmwareUpdate::fail(Result result)
{
    stepValue = Idle;
    progressValue = Failed;
    blockReady = false;
    emit finished(result);
}

void FirmwareUpdate::sendBlock()
{
    blockReady = false;
    turnMissed = false;
    waitMs = 0;
    const int offset = blocks * kBlockSize;
    // Every block up to the image's end is confirmed: there is nothing left to write.
    if (offset >= loaded.data.size()) {
        stepValue = Verify;
        progressed();
        return;
    }
    emit sendTask(Request::blockProgram(offset, loaded.data.mid(offset, kBlockSize)));
}

void FirmwareUpdate::taskDone(Task* task)
{
    if (task->status != Task::Success) {
        link = false;
        // No byte of it reached the controller (the link was down, as while the controller
        // re-enumerates after the jump): the same block goes again on the next tick, and the
        // pass starts over only for a block that went out and was not confirmed.
        if (task->type == FCProtocol::BLOCK_PROG && !task->sent && awaited(task)) {
            qDebug() << "block prog not sent";
            blockReady = true;
        }
        return;
    }
    task->rxStream.device()->seek(task->headLength);
    task->rxStream.resetStatus();

    switch (task->type) {
    case FCProtocol::BOOT_JUMP: {
        qDebug() << "jump task done";
        quint8 where = 0;
        task->rxStream >> where;
        if (task->rxStream.status() != QDataStream::Ok)
            break;
        if (where == FCProtocol::kCommandStart) {
            qDebug() << "jump to boot success";
            if (stepValue == EnterBoot) {
                stepValue = Program;
                progressValue = Updating;
                entered = true;
                progressed();
            }
        } else if (where == FCProtocol::kCommandFinish) {
            qDebug() << "jump to firmware success";
            if (stepValue == LeaveBoot) {
                stepValue = Idle;
                progressed();
            }
        }
        break;
    }
    case FCProtocol::BLOCK_PROG:
        blockReplied(task);
        break;
    case FCProtocol::VERIFY: {
        qDebug() << "verify task done";
        quint16 value = 0;
        task->rxStream >> value;
        if (task->rxStream.status() != QDataStream::Ok || stepValue != Verify)
            break;
        if (value == loaded.checkValue) {
            stepValue = LeaveBoot;
            progressed();
            qDebug() << "verify success";
        } else {
            fail(Result::VerifyFailed);
            qDebug() << "verify fail";
        }
        break;
    }
    case FCProtocol::FW_INFO_RD: {
        std::array<qint32, 4> words{};
        for (qint32& w : words)
            task->rxStream >> w;
        if (task->rxStream.status() != QDataStream::Ok)
            break;
        controllerInfo = words;
        controllerInfoKnown = true;
        emit versionRead(words[2]);
        // Only the restarted flight firmware ends the update; a bootloader still answering
        // before it restarts does not.
        if (progressValue == Restarting && stepValue == Idle
            && FCProtocol::Helper::boardId(words[2]) != kBootloaderBoardId) {
            progressValue = Succeeded;
            entered = false;
            emit finished(Result::Success);
        }
        break;
    }
    default:
        break;
    }
    link = true;
}

bool FirmwareUpdate::awaited(const Task* task) const
{
    // Read back from the task's own request: a late answer must neither skip a block nor run
    // past the image.
    return stepValue == Program && !blockReady && Request::blockOffsetOf(task) == blocks * kBlockSize;
}

void FirmwareUpdate::blockReplied(Task* task)
{
    qDebug() << "block prog task done";
    quint8 code = 0;
    task->rxStream >> code;
    // A confirmation counts only for the block being waited for.
    if (!awaited(task)) {
        qDebug() << "block prog reply for offset" << Request::blockOffsetOf(task) << "ignored, waiting for"
                 << (stepValue == Program && !blockReady ? blocks * kBlockSize : -1);
        return;
    }
    if (task->rxStream.status() == QDataStream::Ok && code == FCProtocol::kCommandStart) {
        qDebug() << "block prog success";
        ++blocks;
        qDebug() << blocks;
        if (blocks > bestBlocks) {
            bestBlocks = blocks;
            progressed();
        }
        if (qint64(blocks) * kBlockSize >= loaded.data.size())
            stepValue = Verify;
        blockReady = true;
        // Confirmed after the tick that should have sent the next block (the link was busy
        // with another transaction): the next goes now rather than a whole tick later. Still
        // at most one block per tick.
        if (turnMissed && stepValue == Program)
            sendBlock();
    } else {
        // Nothing more is sent until the time-out starts the pass over.
        qDebug() << "block prog error";
    }
}
