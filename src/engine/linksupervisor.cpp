#include "engine/linksupervisor.h"

#include "protocol/helper.h"
#include "protocol/replydecode.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

// Shown in the main window's status strip, so translated in its context.
const char* const kSelfTestTexts[] = {
    QT_TRANSLATE_NOOP("FCApp", "Self-Test OK"),
    QT_TRANSLATE_NOOP("FCApp", "Critical system error"),
    QT_TRANSLATE_NOOP("FCApp", "Sensors are initializing"),
    QT_TRANSLATE_NOOP("FCApp", "Gyroscope error"),
    QT_TRANSLATE_NOOP("FCApp", "Compass error"),
    QT_TRANSLATE_NOOP("FCApp", "Sensors error"),
    QT_TRANSLATE_NOOP("FCApp", "AHRS is initializing"),
    QT_TRANSLATE_NOOP("FCApp", "RC calibration error (not calibrated or calibrating)"),
    QT_TRANSLATE_NOOP("FCApp", "RC signal lost"),
    QT_TRANSLATE_NOOP("FCApp", "RC error"),
    QT_TRANSLATE_NOOP("FCApp", "Compass not calibrated"),
    QT_TRANSLATE_NOOP("FCApp", "Invalid parameter"),
    QT_TRANSLATE_NOOP("FCApp", "Parameter error"),
    QT_TRANSLATE_NOOP("FCApp", "Magnetic noise"),
};
const char* const kUnknownError = QT_TRANSLATE_NOOP("FCApp", "Unknown error");
const char* const kUpdateMode = QT_TRANSLATE_NOOP("FCApp", "Firmware Update Mode");
const char* const kUnknownMode = QT_TRANSLATE_NOOP("FCApp", "Critical Error: Unknown Mode");

QString fcAppText(const char* source)
{
    return QCoreApplication::translate("FCApp", source);
}

} // namespace

LinkSupervisor::LinkSupervisor(QObject* parent)
    : QObject(parent)
{
}

LinkSupervisor::Route LinkSupervisor::route() const
{
    if (updating)
        return Route::FirmwarePage;
    return connected ? Route::CurrentPageAndScope : Route::Nobody;
}

bool LinkSupervisor::admits(const FCProtocol::Task* task) const
{
    if (task->urgent || updating || task->type == FCProtocol::INFO_RD)
        return true;
    if (!linked)
        return false;
    return info.mode != 1 || task->type == FCProtocol::FW_INFO_RD;
}

LinkSupervisor::SelfTest LinkSupervisor::selfTest(const FCProtocol::DS_INFO_RD& record)
{
    SelfTest result;
    if (record.mode == 0) {
        const int count = int(sizeof kSelfTestTexts / sizeof kSelfTestTexts[0]);
        result.text = fcAppText(record.errorCode < count ? kSelfTestTexts[record.errorCode] : kUnknownError);
        result.good = record.errorCode == 0;
    } else if (record.mode == 1) {
        result.text = fcAppText(kUpdateMode);
        result.good = true;
    } else {
        result.text = fcAppText(kUnknownMode);
    }
    return result;
}

void LinkSupervisor::tick()
{
    emit sendTask(FCProtocol::Request::infoRead());
}

void LinkSupervisor::setUpdating(bool running)
{
    updating = running;
    // The pilot is on the firmware page already.
    if (running)
        bootloaderSaid = true;
}

void LinkSupervisor::taskDone(const FCProtocol::Task* task)
{
    if (task->type != FCProtocol::INFO_RD)
        return;
    if (task->status != FCProtocol::Task::Success) {
        // One lost reply is no lost controller; a device gone from the bus or a controller
        // silent for two reads is.
        if (task->status == FCProtocol::Task::LinkFailed || ++failuresInRow >= 2)
            linked = false;
        emit telemetryFailed(task->status);
        return;
    }
    failuresInRow = 0;
    FCProtocol::DS_INFO_RD record;
    // A reply too short for the record is no telemetry at all.
    if (!FCProtocol::ReplyDecode::decodeInfo(task->rxData.mid(task->headLength), &record)) {
        qDebug() << "Short telemetry reply:" << task->rxData.size() << "bytes";
        return;
    }
    info = record;
    infoKnown = true;
    if (!FCProtocol::Helper::isSupportedBoard(info.boardWord)) {
        connected = false;
        linked = false;
        return;
    }
    connected = true;
    emit telemetry(info);
    if (!firstBoardSeen) {
        firstBoardSeen = true;
        if (FCProtocol::Helper::isEmuBoard(info.boardWord))
            emit radioOnlyBoard();
    }
    if (!linked) {
        linked = true;
        bootloaderSaid = updating;
        emit linkUp(info);
    }
    if (info.mode == 1 && !updating && !bootloaderSaid) {
        bootloaderSaid = true;
        emit bootloaderWaiting(info);
    }
}
