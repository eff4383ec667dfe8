#include "usb/qtusbhid.h"

#include "protocol/crc16.h"
#include "protocol/frame.h"
#include "protocol/task.h"

#include <hidapi/hidapi.h>

#include <QDebug>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

using FCProtocol::Task;
namespace Frame = FCProtocol::Frame;

namespace {

// While a whole millisecond or more is left before the end-of-reply gap or the reply wait
// runs out, the receive loop sleeps in the read itself (hid_read_timeout), woken by the next
// report the moment it arrives; the last part of a millisecond is slept out in one pause to
// just past the limit. Both keep the 10 ms gap and the 1000 ms wait exact to well under a
// millisecond, and the waiting thread costs next to nothing. Without the blocking wait (the
// benchmark's comparison) every wait is polled with the idle pause between empty reads.
std::atomic<int> idlePoll{400};
std::atomic<bool> blockingWait{true};

// The longest single sleep in the read: a cancel() is seen within it.
constexpr int kWaitSliceMs = 20;

constexpr qint64 kNanosPerMs = 1000000;

// hidapi reports errors as wchar_t strings (32-bit on Linux) while Qt's "%ls" takes UTF-16,
// so the text is converted first; passed through unconverted only its first letter survives.
void logHidError(hid_device* device)
{
    const wchar_t* error = hid_error(device);
    const QString text = error ? QString::fromWCharArray(error) : QString();
    qDebug("%ls", qUtf16Printable(text));
}

} // namespace

QtUsbHID::QtUsbHID(unsigned short vendorId, unsigned short productId, const wchar_t* serial,
                   QObject* parent)
    : QObject(parent)
    , vendorId(vendorId)
    , productId(productId)
    , serial(serial)
{
}

void QtUsbHID::setIdlePollMicros(int micros)
{
    idlePoll.store(qMax(0, micros), std::memory_order_relaxed);
}

int QtUsbHID::idlePollMicros()
{
    return idlePoll.load(std::memory_order_relaxed);
}

void QtUsbHID::setBlockingWait(bool on)
{
    blockingWait.store(on, std::memory_order_relaxed);
}

bool QtUsbHID::isBlockingWait()
{
    return blockingWait.load(std::memory_order_relaxed);
}

QtUsbHID::~QtUsbHID()
{
    if (device)
        close();
}

void QtUsbHID::close()
{
    hid_close(device);
    device = nullptr;
    reportIdProven = false;
}

bool QtUsbHID::claim()
{
    const hid_device_info* info = hid_get_device_info(device);
    const QString serial = info && info->serial_number ? QString::fromWCharArray(info->serial_number) : QString();
    const QByteArray path = info && info->path ? QByteArray(info->path) : QByteArray();
    switch (claimed.claim(info ? info->vendor_id : vendorId, info ? info->product_id : productId, serial, path)) {
    case DeviceLock::Result::Taken:
        break;
    case DeviceLock::Result::Unavailable:
        // No lock file can be made (a read-only runtime folder): better unguarded than unusable.
        qDebug() << "USB Device Lock Unavailable!";
        break;
    case DeviceLock::Result::Held:
        refusedForLock = true;
        holderPid = claimed.holder();
        qDebug() << "USB Device In Use!" << holderPid;
        return false;
    }
    return true;
}

void QtUsbHID::cancel()
{
    cancelled.store(true);
}

int QtUsbHID::readLength() const
{
    return reportIdFlag ? Frame::kReportSize : Frame::kReportDataSize;
}

QByteArray QtUsbHID::deviceKey() const
{
    const hid_device_info* info = hid_get_device_info(device);
    QByteArray key = QByteArray::number(info ? info->vendor_id : vendorId, 16) + ':'
        + QByteArray::number(info ? info->product_id : productId, 16);
    if (info && info->path)
        key += ':' + QByteArray(info->path);
    return key;
}

void QtUsbHID::failedUnproven()
{
    timeOutsInRow = 0;
    // The id this device has answered before gets the benefit of the doubt once: a write
    // failing right after the open is more likely the cable than a board that wants the
    // other id. Another board at the same place still gets its id on the next failure.
    const auto known = provenIds.find(openDevice);
    const bool remembered = known != provenIds.end() && *known == reportIdFlag;
    if (known != provenIds.end())
        provenIds.erase(known);
    if (!remembered)
        reportIdFlag = !reportIdFlag;
}

void QtUsbHID::RunTask(Task* task)
{
#ifdef Q_OS_LINUX
    // A transaction is a few short sleeps in a row (the write, the wait for the reply, the
    // gap that ends it); Linux lets each overrun by 50 us unless told otherwise, which adds
    // up to a noticeable share of a transaction. Once per pool thread.
    static thread_local const bool preciseSleeps = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    Q_UNUSED(preciseSleeps);
#endif
    // Takes what the handing thread wrote; gives back everything written here, whichever
    // return ends the transaction.
    struct Handoff {
        std::atomic<unsigned>& count;
        explicit Handoff(std::atomic<unsigned>& count) : count(count) { count.load(std::memory_order_acquire); }
        ~Handoff() { count.fetch_add(1, std::memory_order_release); }
    } handoff(handoffs);

    // An update's start or end, said since the last transaction.
    claimed.setUpdating(jumpHold.load(), vendorId, productId);

    // 1. Open if needed.
    if (!device) {
        refusedForLock = false;
        holderPid = 0;
        device = devicePath.isEmpty() ? hid_open(vendorId, productId, serial) : hid_open_path(devicePath.constData());
        missing = !device;
        if (!device) {
            qDebug() << "USB Device Open Fail!";
            task->status = Task::LinkFailed;
            return;
        }
        // Another ORVANTE program talking to the same controller would take our replies.
        if (!claim()) {
            close();
            task->status = Task::LinkFailed;
            return;
        }
        reportIdProven = false;
        // A blocking handle would hang the receive loop on the first empty read.
        if (hid_set_nonblocking(device, 1) < 0) {
            const wchar_t* error = hid_error(device);
            qDebug("USB Device Open Fail! %ls",
                   qUtf16Printable(error ? QString::fromWCharArray(error) : QString()));
            close();
            task->status = Task::LinkFailed;
            return;
        }
        timeOutsInRow = 0;
        // A device that has answered before is first asked with the report id it answered.
        openDevice = deviceKey();
        const hid_device_info* info = hid_get_device_info(device);
        openSerial = info && info->serial_number ? QString::fromWCharArray(info->serial_number) : QString();
        openNode = info && info->path ? QString::fromLocal8Bit(info->path) : QString::fromLocal8Bit(devicePath);
        const auto known = provenIds.constFind(openDevice);
        if (known != provenIds.constEnd())
            reportIdFlag = *known;
        qDebug() << "USB Device Open Success!";
    }

    // 2. A task without a frame id has nothing to send.
    if (task->txData.isEmpty()) {
        qDebug() << "Wrong Tx Length!";
        task->status = Task::NoReply;
        return;
    }

    // 3. Finish the frame through the request stream: zero padding, then the CRC.
    task->txStream.device()->seek(task->txData.size());
    const int padding = Frame::paddingLength(task->txData.size());
    task->txStream.writeRawData(QByteArray(padding, '\0').constData(), padding);
    task->txStream << FCProtocol::crc16(task->txData.constData(), 0, task->txData.size());

    // Input nobody read (a reply that came after its transaction gave up, the tail of a reply
    // cut by the gap) would otherwise be taken for the reply to this request.
    if (!dropStaleInput(task))
        return;

    // 4. Send, one 65-byte report per 64 frame bytes.
    const quint8 reportId = reportIdFlag ? 0x01 : 0x00;
    for (const QByteArray& report : Frame::reports(task->txData, reportId)) {
        const int written = hid_write(device, reinterpret_cast<const unsigned char*>(report.constData()),
                                      size_t(report.size()));
        if (written < 0) {
            if (!reportIdProven)
                failedUnproven();
            logHidError(device);
            close();
            task->status = Task::LinkFailed;
            return;
        }
        if (written != Frame::kReportSize) {
            qDebug() << "Write Wrong Len!" << written;
            task->status = Task::LinkFailed;
            return;
        }
    }
    task->sent = true;

    // 5. Receive until the reply goes quiet.
    if (!receive(task))
        return;

    // 6. Check the reply.
    const Frame::ReplyCheck check = Frame::checkReply(task->txData, task->rxData, task->headLength);
    if (check != Frame::ReplyOk) {
        qDebug() << Frame::replyCheckMessage(check);
        task->status = check;
        return;
    }
    reportIdProven = true;
    provenIds.insert(openDevice, reportIdFlag);
}

bool QtUsbHID::dropStaleInput(Task* task)
{
    unsigned char buffer[Frame::kReportSize];
    int dropped = 0;
    // Bounded: a device that never stops sending must not keep the request from going out.
    while (dropped < kMaxReplyBytes / Frame::kReportDataSize && !cancelled.load()) {
        const int n = hid_read(device, buffer, size_t(readLength()));
        if (n < 0) {
            logHidError(device);
            close();
            task->status = Task::LinkFailed;
            return false;
        }
        if (n == 0)
            break;
        ++dropped;
    }
    if (dropped > 0)
        qDebug() << "Stale Reports Dropped!" << dropped;
    return true;
}

bool QtUsbHID::receive(Task* task)
{
    unsigned char buffer[Frame::kReportSize];
    const int length = readLength();
    const int skip = reportIdFlag ? 1 : 0;
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer reception;
    bool dataSeen = false;

    task->rxStream.device()->seek(task->rxData.size());
    for (;;) {
        if (cancelled.load()) {
            qDebug() << "Transfer Cancelled!";
            task->status = Task::NoReply;
            return false;
        }
        // Whole milliseconds left before the limit are slept in the read; it returns with the
        // first report to arrive.
        const qint64 limitNow = (dataSeen ? kEndOfReplyGapMs : kReplyWaitMs) * kNanosPerMs;
        const qint64 sleepMs = blockingWait.load(std::memory_order_relaxed)
            ? qMin<qint64>((limitNow - timer.nsecsElapsed()) / kNanosPerMs, kWaitSliceMs)
            : 0;
        const int n = sleepMs > 0 ? hid_read_timeout(device, buffer, size_t(length), int(sleepMs))
                                  : hid_read(device, buffer, size_t(length));
        if (n < 0) {
            logHidError(device);
            close();
            task->status = Task::LinkFailed;
            return false;
        }
        if (n > 0) {
            timeOutsInRow = 0; // the board speaks this report id
            timer.restart();
            if (!dataSeen)
                reception.start();
            if (n > skip)
                task->rxStream.writeRawData(reinterpret_cast<const char*>(buffer) + skip, n - skip);
            dataSeen = true;
            if (task->rxData.size() > kMaxReplyBytes || reception.elapsed() > kMaxReceiveMs) {
                qDebug() << "Read Wrong Len!";
                task->status = Frame::ReplyWrongLength;
                return false;
            }
            continue;
        }
        // Whole milliseconds would end the gap only after 11 ms: the limits are kept to the
        // nanosecond, and the pause never sleeps past them.
        const qint64 limit = (dataSeen ? kEndOfReplyGapMs : kReplyWaitMs) * kNanosPerMs;
        const qint64 waited = timer.nsecsElapsed();
        if (waited > limit) {
            if (dataSeen)
                return true;
            qDebug() << "Read Time Out!";
            task->status = Task::NoReply;
            // The writes went out, yet nothing came back, twice: a board ignores reports of
            // the report id it does not use.
            if (!reportIdProven && ++timeOutsInRow >= 2)
                failedUnproven();
            return false;
        }
        // The last part of a millisecond is slept out in one go, to just past the limit: a
        // report that arrives meanwhile is read right after it, and the reply goes on.
        const qint64 rest = limit - waited + 1;
        if (blockingWait.load(std::memory_order_relaxed))
            std::this_thread::sleep_for(std::chrono::nanoseconds(rest));
        else if (const int micros = idlePoll.load(std::memory_order_relaxed))
            std::this_thread::sleep_for(std::chrono::nanoseconds(qMin<qint64>(qint64(micros) * 1000, rest)));
    }
}
