#include "virtualdevice.h"

#include "protocol/crc16.h"
#include "protocol/frameids.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

using namespace FCProtocol;
using VirtualFC::Fault;

namespace {

constexpr int kReportData = 64;
// Input reports the kernel keeps per open handle (hidraw's buffer); later ones are dropped.
constexpr size_t kInputBufferReports = 64;
constexpr int kRecordLimit = 50000;
// A frame whose next report does not come within this time is given up.
constexpr std::chrono::milliseconds kFrameGiveUp(200);

wchar_t* wideCopy(const wchar_t* text)
{
    const size_t n = wcslen(text) + 1;
    auto* copy = static_cast<wchar_t*>(malloc(n * sizeof(wchar_t)));
    wmemcpy(copy, text, n);
    return copy;
}

void appendCrc(QByteArray& frame)
{
    const quint16 crc = crc16(frame.constData(), 0, frame.size());
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
}

} // namespace

hid_device_::~hid_device_()
{
    VirtualDevice::freeDeviceInfo(info);
}

hid_device_info* VirtualDevice::newDeviceInfo(const std::wstring& serial)
{
    auto* info = static_cast<hid_device_info*>(calloc(1, sizeof(hid_device_info)));
    info->path = strdup(VirtualFC::kPath);
    info->vendor_id = VirtualFC::kVendorId;
    info->product_id = VirtualFC::kProductId;
    // hidraw leaves it null when the device has no serial number string.
    info->serial_number = serial.empty() ? nullptr : wideCopy(serial.c_str());
    info->release_number = 0x0100;
    info->manufacturer_string = wideCopy(L"ORVANTE");
    info->product_string = wideCopy(L"Virtual flight controller");
    info->usage_page = 0xFF00;
    info->usage = 0x01;
    info->interface_number = 0;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void VirtualDevice::freeDeviceInfo(hid_device_info* info)
{
    if (!info)
        return;
    free(info->path);
    free(info->serial_number);
    free(info->manufacturer_string);
    free(info->product_string);
    free(info);
}

VirtualDevice& VirtualDevice::instance()
{
    // Never destroyed: a transport torn down during static destruction may still close its handle.
    static VirtualDevice* device = new VirtualDevice;
    return *device;
}

VirtualDevice::VirtualDevice()
{
    reset();
}

template <typename T>
void VirtualDevice::remember(QList<T>& list, const T& item)
{
    list.append(item);
    if (list.size() > kRecordLimit)
        list.removeFirst();
}

void VirtualDevice::reset()
{
    const Clock::time_point now = Clock::now();
    model.reset(now);
    firmwareSerial = bootloaderSerial = VirtualFC::kSerialNumber;
    reportMicros = 1000;
    processingMicros = 500;
    dropDelayMs = 50;
    offBusMs = 300;
    plugged = true;
    offBus_ = false;
    jumpArmed_ = false;
    jumpConfirmation_ = false;
    reportIdMode = 0;
    wrongId = VirtualFC::WrongId::Ignore;
    replyClassBit7 = false;
    busFreeAt_ = now;
    // Handles stay valid across a reset, so a transport kept by a test fixture keeps working.
    pending_.clear();
    for (hid_device_* dev : handles)
        dev->input.clear();
    assembling_.clear();
    readErrorAfter_ = -1;
    deliveredOfReply_ = 0;
    clearFaults();
    random_.seed(1);
    dropAtReport_ = -1;
    clearRecords();
    globalError = L"Success";
    if (!handles.empty())
        model.opened(now);
}

void VirtualDevice::clearRecords()
{
    writtenReports.clear();
    requests.clear();
    replies.clear();
    requestCounts.fill(0);
    opens = failedOpens = closes = answered = discarded = badRequests = 0;
}

void VirtualDevice::setFault(Fault fault, int count, int param, int taskType, int skip)
{
    FaultSlot& slot = faults_[size_t(fault)];
    slot.remaining = count;
    slot.param = param;
    slot.taskType = taskType;
    slot.skip = qMax(0, skip);
    slot.percent = 100;
    if (fault == Fault::Babble && count == 0)
        babbling_ = false;
    if (fault == Fault::WriteFailFresh && count == 0) {
        for (hid_device_* dev : handles)
            dev->failingWrites = 0;
    }
}

void VirtualDevice::setFaultChance(Fault fault, int percent, int param, int taskType)
{
    setFault(fault, percent > 0 ? -1 : 0, param, taskType);
    faults_[size_t(fault)].percent = qBound(0, percent, 100);
}

int VirtualDevice::faultRemaining(Fault fault) const
{
    return faults_[size_t(fault)].remaining;
}

void VirtualDevice::clearFaults()
{
    faults_.fill(FaultSlot());
    babbling_ = false;
    for (hid_device_* dev : handles)
        dev->failingWrites = 0;
}

bool VirtualDevice::takeFault(Fault fault, int type, int* param)
{
    FaultSlot& slot = faults_[size_t(fault)];
    if (slot.remaining == 0 || (slot.taskType >= 0 && slot.taskType != type))
        return false;
    if (slot.skip > 0) {
        --slot.skip;
        return false;
    }
    if (slot.percent < 100 && int(random_() % 100) >= slot.percent)
        return false;
    if (slot.remaining > 0)
        --slot.remaining;
    if (param)
        *param = slot.param;
    return true;
}

bool VirtualDevice::onBus()
{
    updateBus(Clock::now());
    return plugged && !offBus_;
}

void VirtualDevice::setPlugged(bool on)
{
    if (on == plugged)
        return;
    const Clock::time_point now = Clock::now();
    updateBus(now);
    plugged = on;
    if (!on) {
        ++generation_;
        dropPending();
        assembling_.clear();
        if (offBus_) {
            offBus_ = false;
            model.enumerated(comingBackAs_, now);
        }
        jumpArmed_ = false;
    } else {
        model.enumerated(FCModel::Jump::None, now);
    }
}

void VirtualDevice::updateBus(Clock::time_point now)
{
    if (jumpArmed_ && now >= dropAt_) {
        // The board restarts into the other program and re-enumerates.
        jumpArmed_ = false;
        offBus_ = true;
        comingBackAs_ = jump_;
        offUntil_ = dropAt_ + std::chrono::milliseconds(offBusMs);
        ++generation_;
        dropPending();
        assembling_.clear();
    }
    if (offBus_ && now >= offUntil_) {
        offBus_ = false;
        model.enumerated(comingBackAs_, offUntil_);
    }
}

void VirtualDevice::brownOut(Clock::time_point now, int offMs)
{
    // Whatever the board was doing is lost; it starts again in the same program (a bootloader
    // stays in the bootloader, as the image it was writing is incomplete) with its flash intact.
    dropAtReport_ = -1;
    jumpArmed_ = false;
    jumpConfirmation_ = false;
    offBus_ = true;
    comingBackAs_ = FCModel::Jump::None;
    offUntil_ = now + std::chrono::milliseconds(offMs);
    ++generation_;
    dropPending();
    assembling_.clear();
}

bool VirtualDevice::alive(hid_device_* dev)
{
    return handles.count(dev) && dev->generation == generation_ && plugged && !offBus_;
}

void VirtualDevice::dropPending()
{
    discarded += int(pending_.size());
    pending_.clear();
    for (hid_device_* dev : handles) {
        discarded += int(dev->input.size());
        dev->input.clear();
    }
    readErrorAfter_ = -1;
    deliveredOfReply_ = 0;
    babbling_ = false;
}

bool VirtualDevice::arrive(const QByteArray& report, bool countLoss)
{
    bool taken = false;
    bool listened = false;
    for (hid_device_* dev : handles) {
        if (!alive(dev))
            continue;
        listened = true;
        if (dev->input.size() < kInputBufferReports) {
            dev->input.push_back(report);
            taken = true;
        } else if (countLoss) {
            ++discarded; // the kernel drops what a full buffer cannot take
        }
    }
    if (!listened && countLoss)
        ++discarded; // nobody listening: the report is lost
    return taken;
}

void VirtualDevice::deliver(Clock::time_point now)
{
    while (!pending_.empty() && pending_.front().readyAt <= now) {
        arrive(pending_.front().data, true);
        pending_.pop_front();
    }
    // The babble follows the reply and never ends; full buffers stop it piling up.
    while (babbling_ && pending_.empty() && nextBabbleAt_ <= now) {
        QByteArray report(kReportData, '\0');
        for (int i = 0; i < kReportData; ++i)
            report[i] = char(0x5A ^ quint8(babbleCounter_ + i));
        ++babbleCounter_;
        const auto interval = std::chrono::milliseconds(babbleIntervalMs_);
        if (!arrive(report, false)) {
            nextBabbleAt_ = now + interval;
            break;
        }
        nextBabbleAt_ += interval;
    }
}

int VirtualDevice::buffered()
{
    const Clock::time_point now = Clock::now();
    updateBus(now);
    deliver(now);
    int count = 0;
    for (hid_device_* dev : handles) {
        if (alive(dev))
            count += int(dev->input.size());
    }
    return count;
}

int VirtualDevice::setNonblocking(hid_device_* dev, int nonblock)
{
    if (!handles.count(dev) || takeFault(Fault::NoNonblocking, -1)) {
        if (handles.count(dev))
            dev->lastError = L"virtual controller: cannot switch to non-blocking reads";
        return -1;
    }
    dev->nonblocking = nonblock != 0;
    return 0;
}

const std::wstring& VirtualDevice::serialNumber() const
{
    return model.info.mode == 1 ? bootloaderSerial : firmwareSerial;
}

hid_device_info* VirtualDevice::deviceInfo(hid_device_* dev)
{
    if (!handles.count(dev))
        return nullptr;
    // Described from the node on the first call, as hidraw does: a board already gone cannot
    // be described any more; a description once made stays with the handle.
    if (!dev->info) {
        updateBus(Clock::now());
        if (!alive(dev)) {
            dev->lastError = L"virtual controller: cannot describe the device (disconnected)";
            return nullptr;
        }
        dev->info = newDeviceInfo(serialNumber());
    }
    return dev->info;
}

hid_device_* VirtualDevice::open(unsigned short vendorId, unsigned short productId)
{
    const Clock::time_point now = Clock::now();
    updateBus(now);
    deliver(now); // a new handle sees only reports that arrive after its open
    if (vendorId != VirtualFC::kVendorId || productId != VirtualFC::kProductId || !plugged
        || offBus_)
        return refuseOpen(L"virtual controller: no such device");
    // The node exists, but its mode does not let this user open it.
    if (takeFault(Fault::RefuseOpen, -1))
        return refuseOpen(
            L"Failed to open a device with path 'virtual-fc:0': Permission denied");
    auto* dev = new hid_device_;
    dev->generation = generation_;
    handles.insert(dev);
    ++opens;
    model.opened(now);
    globalError = L"Success";
    return dev;
}

hid_device_* VirtualDevice::openPath(const char* path)
{
    if (!path || std::strcmp(path, VirtualFC::kPath) != 0) {
        updateBus(Clock::now());
        return refuseOpen(L"Failed to open a device with path: No such file or directory");
    }
    return open(VirtualFC::kVendorId, VirtualFC::kProductId);
}

hid_device_* VirtualDevice::refuseOpen(const wchar_t* error)
{
    ++failedOpens;
    globalError = error;
    return nullptr;
}

void VirtualDevice::close(hid_device_* dev)
{
    if (handles.erase(dev)) {
        discarded += int(dev->input.size());
        delete dev;
        ++closes;
    }
}

int VirtualDevice::write(hid_device_* dev, const unsigned char* data, size_t length,
                         Clock::time_point* doneAt)
{
    const Clock::time_point now = Clock::now();
    *doneAt = now;
    updateBus(now);
    deliver(now);
    if (!handles.count(dev))
        return -1;
    remember(writtenReports, QByteArray(reinterpret_cast<const char*>(data), int(length)));
    if (!alive(dev)) {
        dev->lastError = L"virtual controller: write failed (device disconnected)";
        return -1;
    }
    if (length < 1 || length > size_t(kReportData + 1)) {
        dev->lastError = L"virtual controller: write failed (bad report length)";
        return -1;
    }
    // A glitch right after the open fails the new handle's first writes, whatever they carry.
    if (dev->writes++ == 0) {
        const int type = int(data[0]) == reportIdMode && length >= 3 ? taskTypeOf(data[1], data[2]) : -2;
        int failing = 0;
        if (takeFault(Fault::WriteFailFresh, type, &failing))
            dev->failingWrites = qMax(1, failing);
    }
    if (dev->failingWrites > 0) {
        --dev->failingWrites;
        assembling_.clear();
        dev->lastError = L"virtual controller: write failed (link glitch)";
        return -1;
    }
    if (int(data[0]) != reportIdMode) {
        // A write fault not tied to one request type fails every report, parsable or not.
        if (takeFault(Fault::WriteFail, -2)) {
            assembling_.clear();
            dev->lastError = L"virtual controller: write failed";
            return -1;
        }
        if (wrongId == VirtualFC::WrongId::Refuse) {
            dev->lastError = L"virtual controller: write failed (report id not used by the device)";
            return -1;
        }
        // It passes the bus, but the board cannot parse it: garbage that also spoils any frame
        // it was assembling.
        const Clock::time_point done = nextFrameEnd(now);
        *doneAt = done;
        assembling_.clear();
        ++badRequests;
        return int(length);
    }

    QByteArray piece(reinterpret_cast<const char*>(data) + 1, int(length) - 1);
    piece.append(QByteArray(kReportData - piece.size(), '\0'));
    const bool startsFrame = assembling_.isEmpty() || now - lastReportAt_ > kFrameGiveUp;
    const int type = startsFrame ? taskTypeOf(quint8(piece[0]), quint8(piece[1])) : assemblingType_;

    int shortCount = 0;
    if (takeFault(Fault::WriteFail, type)) {
        assembling_.clear();
        dev->lastError = L"virtual controller: write failed";
        return -1;
    }
    if (takeFault(Fault::ShortWrite, type, &shortCount)) {
        assembling_.clear();
        return shortCount > 0 && shortCount < int(length) ? shortCount : 32;
    }

    const Clock::time_point done = nextFrameEnd(now);
    *doneAt = done;

    if (startsFrame) {
        if (!assembling_.isEmpty())
            ++badRequests; // the previous frame was never finished
        assembling_.clear();
        expectedLength_ = FCModel::requestLength(quint8(piece[0]), quint8(piece[1]));
        assemblingType_ = type;
        int offMs = 0;
        dropAtReport_ = takeFault(Fault::BusDrop, type, &offMs) ? expectedLength_ / kReportData / 2 : -1;
        dropOffMs_ = offMs > 0 ? offMs : 2000;
    }
    if (dropAtReport_ >= 0 && assembling_.size() / kReportData >= dropAtReport_) {
        brownOut(now, dropOffMs_);
        dev->lastError = L"virtual controller: write failed (device disconnected)";
        return -1;
    }
    assembling_.append(piece);
    lastReportAt_ = now;
    if (assembling_.size() >= expectedLength_) {
        const QByteArray frame = assembling_;
        assembling_.clear();
        frameComplete(frame, done);
    }
    return int(length);
}

VirtualDevice::Clock::time_point VirtualDevice::nextFrameEnd(Clock::time_point now)
{
    // The link carries one report per 1 ms frame on the bus's own clock. A host that hands the
    // next report over while the previous one's frame runs, or within the frame after it,
    // keeps the pace of the frames however late its thread woke: a burst of N reports takes
    // N frames, as on a real bus, and the lateness of each wake-up does not add up. A report
    // after a longer pause starts a new burst and takes a whole frame from its hand-over.
    const auto frame = std::chrono::microseconds(reportMicros);
    busFreeAt_ = (now < busFreeAt_ + frame ? busFreeAt_ : now) + frame;
    return busFreeAt_;
}

void VirtualDevice::frameComplete(const QByteArray& frame, Clock::time_point doneAt)
{
    remember(requests, frame);
    const int n = frame.size();
    const quint16 received = quint16(quint8(frame[n - 2]) | quint8(frame[n - 1]) << 8);
    const int type = taskTypeOf(quint8(frame[0]), quint8(frame[1]));
    if (crc16(frame.constData(), 0, n - 2) != received || type < 0) {
        ++badRequests; // the controller ignores what it cannot trust
        return;
    }
    ++requestCounts[size_t(type)];

    int babbleMs = 0;
    babbling_ = takeFault(Fault::Babble, type, &babbleMs);
    babbleIntervalMs_ = qMax(0, babbleMs);

    FCModel::Mischief mischief;
    const bool inBootloader = model.info.mode == 1;
    mischief.refuseBlock = type == BLOCK_PROG && inBootloader && takeFault(Fault::RefuseBlock, type);
    mischief.wrongVerify = type == VERIFY && inBootloader && takeFault(Fault::WrongVerify, type);
    const bool isWrite = type == PARA_WR || type == RC_WR || (type == FRAME_RW && frame.size() > 2 && frame[2] == 1);
    mischief.keepValues = isWrite && !inBootloader && takeFault(Fault::KeepValues, type, &mischief.keptOffset);
    const FCModel::Answer answer = model.handle(type, frame.mid(2, n - 4), doneAt, mischief);
    if (!answer.answered)
        return;

    const bool confirmsJump = answer.jump != FCModel::Jump::None;
    if (confirmsJump) {
        jump_ = answer.jump;
        jumpArmed_ = true;
        dropAt_ = doneAt + std::chrono::milliseconds(dropDelayMs);
    }
    if (takeFault(Fault::NoAnswer, type))
        return;
    if (confirmsJump)
        jumpConfirmation_ = true;
    sendReply(type, answer.payload, frame, doneAt);
}

void VirtualDevice::sendReply(int type, QByteArray payload, const QByteArray& request,
                              Clock::time_point doneAt)
{
    QByteArray reply;
    reply.append(char(quint8(request[0]) | (replyClassBit7 ? 0x80 : 0x00)));
    reply.append(request[1]);
    reply.append(payload);

    int gapMs = 0;
    const bool split = takeFault(Fault::SplitReply, type, &gapMs);
    int padding = kReportData - ((reply.size() + 2) % kReportData);
    while (split && reply.size() + padding + 2 < 2 * kReportData)
        padding += kReportData;
    reply.append(QByteArray(padding, '\0'));
    appendCrc(reply);

    if (takeFault(Fault::BadEcho, type)) {
        reply[1] = char(reply[1] ^ 0x01);
        reply.chop(2);
        appendCrc(reply);
    }
    if (takeFault(Fault::BadCrc, type))
        reply[reply.size() - 1] = char(reply[reply.size() - 1] ^ 0xFF);
    const bool badLength = takeFault(Fault::BadLength, type);
    int readErrorAfter = -1;
    if (takeFault(Fault::ReadError, type, &readErrorAfter))
        readErrorAfter_ = qMax(0, readErrorAfter);

    remember(replies, reply);
    ++answered;
    deliveredOfReply_ = 0;

    int lateMs = 0;
    const bool late = takeFault(Fault::LateReply, type, &lateMs);

    // Replies leave the board in the order of the requests.
    const auto report = std::chrono::microseconds(reportMicros);
    Clock::time_point t = doneAt + std::chrono::microseconds(processingMicros);
    if (late)
        t += std::chrono::milliseconds(lateMs);
    if (!pending_.empty())
        t = std::max(t, pending_.back().readyAt);
    for (int offset = 0; offset < reply.size(); offset += kReportData) {
        t += (split && offset == kReportData) ? std::chrono::milliseconds(gapMs) : report;
        pending_.push_back({reply.mid(offset, kReportData), t});
    }
    if (badLength)
        pending_.push_back({QByteArray(1, '\0'), t + report});
    nextBabbleAt_ = t;
    if (jumpConfirmation_) {
        // The board restarts once its confirmation has been read, or when a host that never
        // reads it would have given up. Requests that come meanwhile do not hold it back.
        jumpConfirmation_ = false;
        dropAt_ = t + std::chrono::milliseconds(1000 + dropDelayMs);
    }
}

int VirtualDevice::read(hid_device_* dev, unsigned char* data, size_t length,
                        Clock::time_point* wakeAt)
{
    const Clock::time_point now = Clock::now();
    *wakeAt = Clock::time_point::max();
    updateBus(now);
    if (!handles.count(dev))
        return -1;
    if (!alive(dev)) {
        dev->lastError = L"virtual controller: read failed (device disconnected)";
        return -1;
    }
    deliver(now);
    const bool frontReady = !dev->input.empty();
    if (readErrorAfter_ >= 0 && deliveredOfReply_ >= readErrorAfter_
        && (frontReady || pending_.empty())) {
        dropPending();
        dev->lastError = L"virtual controller: read failed";
        return -1;
    }
    if (frontReady) {
        QByteArray report = dev->input.front();
        dev->input.pop_front();
        ++deliveredOfReply_;
        if (reportIdMode != 0)
            report.prepend(char(reportIdMode));
        const int n = int(std::min(length, size_t(report.size())));
        memcpy(data, report.constData(), size_t(n));
        if (pending_.empty() && dev->input.empty() && jumpArmed_)
            dropAt_ = std::min(dropAt_, now + std::chrono::milliseconds(dropDelayMs));
        return n;
    }
    if (!pending_.empty())
        *wakeAt = pending_.front().readyAt;
    if (babbling_)
        *wakeAt = std::min(*wakeAt, nextBabbleAt_);
    if (jumpArmed_)
        *wakeAt = std::min(*wakeAt, dropAt_);
    return 0;
}
