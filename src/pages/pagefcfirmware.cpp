#include "pages/pagefcfirmware.h"

#include "app/dialogwarning.h"
#include "protocol/helper.h"
#include "ui_pagefcfirmware.h"

#include <QDebug>
#include <QFileDialog>
#include <QSettings>

using FCProtocol::Helper;
using FCProtocol::Task;

namespace {

const QString kPathKey = QStringLiteral("firmware/path");
constexpr int kBlockSize = FirmwareImage::kBlockSize;
constexpr quint32 kBoardMark = 0xF0000000;
constexpr int kBootloaderBoardId = 0x00;

QString storedPath()
{
    return QSettings().value(kPathKey).toString();
}

void tell(const QString& text)
{
    DialogWarning message;
    message.setText(text);
    message.exec();
}

// The byte offset a BLOCK_PROG request carries right behind its frame id.
qint32 requestOffset(const Task* task)
{
    const QByteArray& tx = task->txData;
    const int at = task->headLength;
    if (tx.size() < at + 4)
        return -1;
    return qint32(quint32(quint8(tx[at])) | quint32(quint8(tx[at + 1])) << 8
                  | quint32(quint8(tx[at + 2])) << 16 | quint32(quint8(tx[at + 3])) << 24);
}

} // namespace

PageFCFirmware::PageFCFirmware(QWidget* parent)
    : PageFC(parent)
    , ui(new Ui::PageFCFirmware)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("pageFCFirmware"));
    setFixedSize(780, 310);

    // The procedure runs on this timer whether the page is shown or not. A block goes out on
    // the first tick after its predecessor was confirmed, so the tick must not drift: a coarse
    // timer may fire 5 % late, which turns a round trip that fits one tick into two.
    tick.setTimerType(Qt::PreciseTimer);
    connect(&tick, &QTimer::timeout, this, &PageFCFirmware::timeout);
    tick.start(kTickMs);

    if (loaded.checkBinFile(storedPath()) == FirmwareImage::Ok)
        showFileLoaded();
}

PageFCFirmware::~PageFCFirmware()
{
    delete ui;
}

QString PageFCFirmware::progressText(int state)
{
    switch (state) {
    case 1: return tr("Preparing for update...");
    case 2: return tr("Updating...");
    case 3: return tr("Update done, Restarting...");
    case 4: return tr("Update success");
    case 5: return tr("Update fail");
    default: return QString();
    }
}

void PageFCFirmware::showFileLoaded()
{
    ui->pushButton_loadFile->setText(Helper::boardName(loaded.version));
}

void PageFCFirmware::on_pushButton_loadFile_clicked()
{
    // The image being written must not change under the running procedure.
    if (stepValue != Idle)
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Bin File"), storedPath(),
                                                      tr("Bin File (*.bin)"));
    if (loaded.checkBinFile(path) != FirmwareImage::Ok)
        return;
    QSettings().setValue(kPathKey, path);
    showFileLoaded();
}

void PageFCFirmware::on_pushButton_update_clicked()
{
    if (stepValue != Idle)
        return;
    // Say why nothing starts rather than ask a question that leads nowhere.
    if (!link) {
        tell(tr("No controller is answering, so the update cannot start. Connect it and wait "
                "until its firmware version is shown."));
        return;
    }
    // The image that is programmed is read fresh from disk.
    if (loaded.checkBinFile(storedPath()) != FirmwareImage::Ok) {
        qDebug() << "bin file wrong";
        tell(tr("No valid firmware file is loaded, so the update cannot start. Load a .bin file "
                "first."));
        return;
    }
    showFileLoaded();

    if (!confirmed(tr("During the update process,please DO NOT move the controller in case of "
                      "unexpeceted disconnect!")))
        return;
    // The dialog kept the event loop running: the link may have failed meanwhile.
    if (stepValue != Idle || !link)
        return;
    if ((quint32(controllerInfo[2]) & kBoardMark) != kBoardMark)
        qDebug() << "firmware read wrong version";
    if (!boardQuestionsAccepted())
        return;

    blocks = 0;
    blockReady = true;
    waitMs = 0;
    stepValue = EnterBoot;
    emit boot_state_changed(true);
}

bool PageFCFirmware::controllerWord(qint32* word) const
{
    if (controllerInfoKnown)
        *word = controllerInfo[2];
    else if (telemetryKnown)
        *word = telemetryWord;
    else
        return false;
    return true;
}

bool PageFCFirmware::boardQuestionsAccepted()
{
    qint32 word = 0;
    if (!controllerWord(&word))
        return true;
    if (word == loaded.version) {
        return confirmed(tr("The controller already runs this firmware (%1). Write it again?")
                             .arg(Helper::boardName(word)));
    }
    // A bootloader does not say which board it sits on.
    const int controllerBoard = Helper::boardId(word);
    if (controllerBoard != kBootloaderBoardId && controllerBoard != Helper::boardId(loaded.version)) {
        return confirmed(tr("This firmware is for %1, but the controller is %2. Another "
                            "board's firmware can make it unusable. Update anyway?")
                             .arg(Helper::boardName(loaded.version), Helper::boardName(word)));
    }
    return true;
}

void PageFCFirmware::timeout()
{
    ui->label_progress_info->setText(progressText(progress));
    if (!loaded.data.isEmpty()) {
        const qint64 percent = qint64(blocks) * kBlockSize * 100 / loaded.data.size();
        ui->label_progress_value->setText(QString::number(percent) + QLatin1Char('%'));
    }

    switch (stepValue) {
    case Idle:
        if (isVisible())
            sendRequest(FCProtocol::FW_INFO_RD, false);
        blocks = 0;
        break;
    case EnterBoot:
        sendRequest(FCProtocol::BOOT_JUMP, true, FCProtocol::kCommandStart);
        progress = 1;
        break;
    case Program:
        waitMs += kTickMs;
        if (waitMs > kBlockTimeoutMs) {
            qDebug() << "prog timeout, retry";
            blocks = 0;
            sendBlock();
        } else if (blockReady) {
            sendBlock();
        }
        break;
    case Verify:
        sendRequest(FCProtocol::VERIFY, true);
        break;
    case LeaveBoot:
        sendRequest(FCProtocol::BOOT_JUMP, true, FCProtocol::kCommandFinish);
        progress = 3;
        break;
    default:
        break;
    }
}

void PageFCFirmware::sendRequest(int type, bool urgent, int marker)
{
    auto* task = new Task(type, urgent);
    if (marker >= 0)
        task->txStream << qint32(marker);
    emit AddTask(task);
}

void PageFCFirmware::sendBlock()
{
    blockReady = false;
    waitMs = 0;
    const int offset = blocks * kBlockSize;
    // Every block up to the image's end is confirmed: there is nothing left to write.
    if (offset >= loaded.data.size()) {
        stepValue = Verify;
        return;
    }
    auto* task = new Task(FCProtocol::BLOCK_PROG, true);
    task->txStream << qint32(offset);
    task->txData.append(loaded.data.mid(offset, kBlockSize));
    emit AddTask(task);
}

void PageFCFirmware::TaskDone(FCProtocol::Task* task)
{
    if (task->status != Task::Success) {
        link = false;
        return;
    }
    task->rxStream.device()->seek(task->headLength);
    task->rxStream.resetStatus();

    // Several requests of steps 1, 3 and 4 may be under way at once, and their replies can
    // come after the step has moved on: each reply acts only in the step that asked for it.
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
                progress = 2;
            }
        } else if (where == FCProtocol::kCommandFinish) {
            qDebug() << "jump to firmware success";
            if (stepValue == LeaveBoot)
                stepValue = Idle;
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
            qDebug() << "verify success";
        } else {
            stepValue = Idle;
            progress = 5;
            emit boot_state_changed(false);
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
        ui->label_firmwareVersion->setText(Helper::boardName(words[2]));
        // Only the restarted flight firmware ends the update; a bootloader still answering
        // before it restarts does not.
        if (progress == 3 && stepValue == Idle
            && Helper::boardId(words[2]) != kBootloaderBoardId) {
            progress = 4;
            emit boot_state_changed(false);
        }
        break;
    }
    default:
        break;
    }
    link = true;
}

void PageFCFirmware::blockReplied(FCProtocol::Task* task)
{
    qDebug() << "block prog task done";
    quint8 code = 0;
    task->rxStream >> code;
    // A confirmation counts only for the block the page is waiting for, read back from the
    // task's own request: a late one must neither skip a block nor run past the image.
    const qint32 offset = requestOffset(task);
    const bool awaited = stepValue == Program && !blockReady && offset == blocks * kBlockSize;
    if (!awaited) {
        qDebug() << "block prog reply for offset" << offset << "ignored, waiting for"
                 << (stepValue == Program && !blockReady ? blocks * kBlockSize : -1);
        return;
    }
    if (task->rxStream.status() == QDataStream::Ok && code == FCProtocol::kCommandStart) {
        qDebug() << "block prog success";
        ++blocks;
        qDebug() << blocks;
        if (qint64(blocks) * kBlockSize >= loaded.data.size())
            stepValue = Verify;
        blockReady = true;
    } else {
        // Nothing more is sent until the time-out starts the pass over.
        qDebug() << "block prog error";
    }
}

void PageFCFirmware::mainLoop()
{
}

void PageFCFirmware::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    // Kept only to name the connected board before the first FW_INFO_RD reply.
    telemetryWord = info.boardWord;
    telemetryKnown = true;
}
