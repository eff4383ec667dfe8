#include "virtualfc.h"

#include "virtualdevice.h"

namespace VirtualFC {

namespace {

using Clock = VirtualDevice::Clock;

// Runs `f` on the device under its lock; a read waiting for the board then looks again.
template <typename F>
auto locked(F f)
{
    VirtualDevice& device = VirtualDevice::instance();
    struct Announce {
        VirtualDevice& device;
        ~Announce() { device.reads.changed(); }
    } announce{device};
    std::lock_guard<std::mutex> lock(device.mutex);
    return f(device);
}

QByteArray paraRecord(const QByteArray& record)
{
    QByteArray out = record.left(FCModel::kParaSize);
    out.append(QByteArray(FCModel::kParaSize - out.size(), '\0'));
    return out;
}

} // namespace

void reset()
{
    locked([](VirtualDevice& d) { d.reset(); });
}

void setTiming(int reportMicros, int processingMicros)
{
    locked([=](VirtualDevice& d) {
        d.reportMicros = qMax(0, reportMicros);
        d.processingMicros = qMax(0, processingMicros);
    });
}

void setFastTiming(bool fast)
{
    setTiming(fast ? 0 : 1000, fast ? 0 : 500);
}

void setBusDropTiming(int delayMs, int offMs)
{
    locked([=](VirtualDevice& d) {
        d.dropDelayMs = qMax(0, delayMs);
        d.offBusMs = qMax(0, offMs);
    });
}

void setPlugged(bool plugged)
{
    locked([=](VirtualDevice& d) { d.setPlugged(plugged); });
}

void powerCycle()
{
    locked([](VirtualDevice& d) {
        d.setPlugged(false);
        // A bootloader waiting for an image stays one: only the flight firmware loads settings.
        if (d.model.info.mode == 0)
            d.model.loadStored();
        d.setPlugged(true);
    });
}

bool isPlugged()
{
    return locked([](VirtualDevice& d) { return d.plugged; });
}

bool isOnBus()
{
    return locked([](VirtualDevice& d) { return d.onBus(); });
}

bool isOpen()
{
    return locked([](VirtualDevice& d) { return !d.handles.empty(); });
}

void setReportIdMode(int id)
{
    locked([=](VirtualDevice& d) { d.reportIdMode = id ? 1 : 0; });
}

int reportIdMode()
{
    return locked([](VirtualDevice& d) { return d.reportIdMode; });
}

void setWrongId(WrongId handling)
{
    locked([=](VirtualDevice& d) { d.wrongId = handling; });
}

void setReplyClassBit7(bool on)
{
    locked([=](VirtualDevice& d) { d.replyClassBit7 = on; });
}

void setFault(Fault fault, int count, int param, int taskType, int skip)
{
    locked([=](VirtualDevice& d) { d.setFault(fault, count, param, taskType, skip); });
}

void setFaultChance(Fault fault, int percent, int param, int taskType)
{
    locked([=](VirtualDevice& d) { d.setFaultChance(fault, percent, param, taskType); });
}

void setRandomSeed(quint32 seed)
{
    locked([=](VirtualDevice& d) { d.setRandomSeed(seed); });
}

void clearFault(Fault fault)
{
    setFault(fault, 0, 0, -1);
}

void clearFaults()
{
    locked([](VirtualDevice& d) { d.clearFaults(); });
}

int faultRemaining(Fault fault)
{
    return locked([=](VirtualDevice& d) { return d.faultRemaining(fault); });
}

QList<QByteArray> writtenReports()
{
    return locked([](VirtualDevice& d) { return d.writtenReports; });
}

QList<QByteArray> requests()
{
    return locked([](VirtualDevice& d) { return d.requests; });
}

QList<QByteArray> replies()
{
    return locked([](VirtualDevice& d) { return d.replies; });
}

int requestCount(int taskType)
{
    if (taskType < 0 || taskType >= 20)
        return 0;
    return locked([=](VirtualDevice& d) { return d.requestCounts[size_t(taskType)]; });
}

int openCount()
{
    return locked([](VirtualDevice& d) { return d.opens; });
}

int failedOpenCount()
{
    return locked([](VirtualDevice& d) { return d.failedOpens; });
}

int closeCount()
{
    return locked([](VirtualDevice& d) { return d.closes; });
}

int answeredCount()
{
    return locked([](VirtualDevice& d) { return d.answered; });
}

int bufferedReports()
{
    return locked([](VirtualDevice& d) { return d.buffered(); });
}

int discardedReports()
{
    return locked([](VirtualDevice& d) { return d.discarded; });
}

int badRequestCount()
{
    return locked([](VirtualDevice& d) { return d.badRequests; });
}

void clearRecords()
{
    locked([](VirtualDevice& d) { d.clearRecords(); });
}

FCProtocol::DS_INFO_RD info()
{
    return locked([](VirtualDevice& d) { return d.model.info; });
}

void setInfo(const FCProtocol::DS_INFO_RD& info)
{
    locked([=](VirtualDevice& d) { d.model.info = info; });
}

int boardMode()
{
    return locked([](VirtualDevice& d) { return int(d.model.info.mode); });
}

void setBoardMode(int mode)
{
    locked([=](VirtualDevice& d) { d.model.info.mode = qint8(mode); });
}

QString serialNumber()
{
    return locked([](VirtualDevice& d) { return QString::fromStdWString(d.serialNumber()); });
}

void setSerialNumber(const QString& serial)
{
    locked([=](VirtualDevice& d) { d.firmwareSerial = d.bootloaderSerial = serial.toStdWString(); });
}

void setBootloaderSerialNumber(const QString& serial)
{
    locked([=](VirtualDevice& d) { d.bootloaderSerial = serial.toStdWString(); });
}

qint32 bootloaderWord()
{
    return locked([](VirtualDevice& d) { return d.model.bootloaderWord; });
}

void setBootloaderWord(qint32 word)
{
    locked([=](VirtualDevice& d) { d.model.bootloaderWord = word; });
}

Attitude attitude()
{
    return locked([](VirtualDevice& d) { return d.model.attitudeAt(Clock::now()); });
}

void setAttitude(const Attitude& attitude)
{
    locked([=](VirtualDevice& d) {
        d.model.attitude = attitude;
        d.model.attitudeMoving = false;
    });
}

void setAttitudeMoving(bool moving)
{
    locked([=](VirtualDevice& d) { d.model.attitudeMoving = moving; });
}

void setMotorTestMs(int ms)
{
    locked([=](VirtualDevice& d) { d.model.motorTestMs = qMax(0, ms); });
}

bool motorTestRunning()
{
    return locked([](VirtualDevice& d) { return d.model.motorTestRunning(Clock::now()); });
}

RcState rc()
{
    return locked([](VirtualDevice& d) { return d.model.rcAt(Clock::now()); });
}

void setRc(const RcState& state)
{
    locked([=](VirtualDevice& d) {
        d.model.rcState = state;
        d.model.rcMoving = false;
    });
}

void setRcMoving(bool moving)
{
    locked([=](VirtualDevice& d) { d.model.rcMoving = moving; });
}

void setRecognitionMs(int ms)
{
    locked([=](VirtualDevice& d) { d.model.recognitionMs = qMax(0, ms); });
}

bool rcCalibrating()
{
    return locked([](VirtualDevice& d) { return d.model.calibrating(); });
}

FrameSetting frameSetting()
{
    return locked([](VirtualDevice& d) { return d.model.frame; });
}

void setFrameSetting(const FrameSetting& setting)
{
    locked([=](VirtualDevice& d) { d.model.frame = setting; });
}

QByteArray para()
{
    return locked([](VirtualDevice& d) { return d.model.para; });
}

void setPara(const QByteArray& record)
{
    locked([=](VirtualDevice& d) { d.model.para = paraRecord(record); });
}

QByteArray flashPara()
{
    return locked([](VirtualDevice& d) { return d.model.flashPara; });
}

void setFlashPara(const QByteArray& record)
{
    locked([=](VirtualDevice& d) { d.model.flashPara = paraRecord(record); });
}

QByteArray defaultPara()
{
    return FCModel::defaultPara();
}

QStringList scopeNames()
{
    return locked([](VirtualDevice& d) { return d.model.scopeNames; });
}

void setScopeNames(const QStringList& names)
{
    locked([=](VirtualDevice& d) { d.model.scopeNames = names; });
}

void setScopeValues(const QVector<float>& values)
{
    locked([=](VirtualDevice& d) {
        d.model.scopeValues = values;
        d.model.scopeMoving = false;
    });
}

void setScopeMoving(bool moving)
{
    locked([=](VirtualDevice& d) { d.model.scopeMoving = moving; });
}

QByteArray flash()
{
    return locked([](VirtualDevice& d) { return d.model.flash.left(d.model.imageEnd); });
}

void setFlash(const QByteArray& image)
{
    locked([=](VirtualDevice& d) {
        d.model.flash = image.left(FCModel::kFlashSize);
        d.model.imageEnd = d.model.flash.size();
    });
}

quint16 verifyValue()
{
    return locked([](VirtualDevice& d) { return d.model.verifyValue(); });
}

int flashSize()
{
    return FCModel::kFlashSize;
}

} // namespace VirtualFC
