#pragma once

#include "usb/controllerclaim.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <atomic>

struct hid_device_;

namespace FCProtocol {
class Task;
}

// The USB HID link to the flight controller: carries out one whole transaction per task.
// Driven only by TRController, one transaction at a time on a pool thread.
class QtUsbHID : public QObject
{
    Q_OBJECT

public:
    // The device stays closed until the first transaction; reports start unnumbered.
    QtUsbHID(unsigned short vendorId, unsigned short productId, const wchar_t* serial,
             QObject* parent = nullptr);
    ~QtUsbHID() override;

    // Opens the device if needed (a new handle starts with the report id last proven on the
    // same device, if any) and claims it (see releaseLock), drops input left over from earlier
    // transactions ("Stale Reports Dropped!" and the count), finishes and sends the request,
    // collects and checks the reply. The outcome is left in the task: `sent` tells whether
    // the whole request left the computer (every report written), and the status is
    //   0  success;
    //  -1  open failed ("USB Device Open Fail!"; also when the handle refuses non-blocking
    //      reads, then with the hid_error text; deviceMissing() when no device could be
    //      opened), the controller is in use by another ORVANTE program ("USB Device In Use!"
    //      and its process id; see lockRefused), a read of stale input failed, a write failed
    //      (the hid_error text is logged, the device closed; a failed write flips reportIdFlag
    //      while the report id is unproven on the handle, see reportIdFlag) or was short
    //      ("Write Wrong Len!" and the count; the device stays open): in all these `sent` is
    //      false; or a read of the reply failed (the hid_error text, the device closed; `sent`
    //      true);
    //  -2  empty request ("Wrong Tx Length!"; not sent), no report within 1000 ms ("Read Time
    //      Out!"; the second in a row after good writes flips reportIdFlag while it is
    //      unproven on the handle), or the wait cancelled ("Transfer Cancelled!");
    //  -3  reply CRC wrong ("Read Wrong Crc!");
    //  -4  reply length not a positive multiple of 64, longer than kMaxReplyBytes or still
    //      coming after kMaxReceiveMs ("Read Wrong Len!");
    //  -5  reply does not echo the request's frame id ("Ack Frame Wrong!").
    void RunTask(FCProtocol::Task* task);

    // Ends a transaction's waiting (for stale input or the reply) at its next poll; from any
    // thread. For shutdown: every later transaction ends the same way.
    void cancel();

    bool isOpen() const { return device != nullptr; }

    // Opens this device node (hid_open_path, e.g. "/dev/hidraw3") instead of the first device
    // with the ids: for a computer with several controllers plugged in. Set before the first
    // transaction; empty (the default) takes the first.
    void setDevicePath(const QByteArray& path) { devicePath = path; }
    QByteArray path() const { return devicePath; }

    // The controller is held (ControllerClaim): its lock, named after its vendor and product
    // ids and its USB serial number (its device path when it reports none), is taken at the
    // first open and kept through every close and reopen, until releaseLock() or the
    // transport's end; a device of another identity found at a reopen outside an update
    // replaces it. releaseLock() lets the controller go for another program to have it: the
    // owner says when it has finished with it (the window, once it is gone for good). Between
    // transactions.
    void releaseLock() { claimed.release(); }
    // An update runs: the controller re-enumerates as its bootloader and back and stays
    // claimed under whatever it reports then, and the model's update guard keeps other
    // programs off (ControllerClaim::setUpdating). From any thread; the next transaction
    // acts on it.
    void holdThroughJumps(bool on) { jumpHold.store(on); }
    // The last open found no device to open (unplugged, off the bus, or closed to this user).
    // Read between transactions.
    bool deviceMissing() const { return missing; }

    // The last open found the controller held by another program (its lock, or the model's
    // update guard of a program updating one), and that program's process id (0 if it did
    // not say). Like the task, read between transactions.
    bool lockRefused() const { return refusedForLock; }
    qint64 lockHolder() const { return holderPid; }
    // The USB serial number string of the device the last successful open reached (empty when
    // it reports none, and before the first open). It tells one controller from another of
    // the same model, wherever it is plugged in. Read between transactions.
    QString serialNumber() const { return openSerial; }
    // The device node the last successful open reached (hidapi's path, on Linux "/dev/hidrawN");
    // empty before the first open. Read between transactions.
    QString deviceNode() const { return openNode; }

    // The order between the thread that hands a task over and the pool thread that runs it.
    // The pool's queue and QFuture synchronise inside Qt's library, out of sight of a thread
    // checker (and QFuture::isFinished() only loads relaxed); these make it explicit. Call
    // handOver() after writing the task and before RunTask runs on another thread, and
    // takeBack() once the run is known to have finished, before reading the task or this
    // transport. RunTask pairs with both.
    void handOver() { handoffs.fetch_add(1, std::memory_order_release); }
    void takeBack() const { handoffs.load(std::memory_order_acquire); }

    // false: unnumbered reports (id 0x00, 64-byte reads); true: report id 0x01 (65-byte
    // reads whose first byte is dropped). Inverted after a failed write, or after the second
    // time-out in a row that followed good writes (a board ignores reports of an id it does
    // not use), but only while no transaction has succeeded with it on the open handle: a
    // write failing or a reply missing on a handle that has worked means the device is gone
    // or busy, not that it wants the other report id. The id proven on a device is taken up
    // again by the next handle to it (same ids and path) and survives its first failure
    // there; the second flips it.
    bool reportIdFlag = false;

    // Wait for the first reply report, and the silence that ends a reply.
    static constexpr int kReplyWaitMs = 1000;
    static constexpr int kEndOfReplyGapMs = 10;
    // Bounds of one reply (bytes, and milliseconds from its first report), far above every
    // frame of the protocol: a device that never stops sending must neither hang the link nor
    // fill the memory.
    static constexpr int kMaxReplyBytes = 64 * 1024;
    static constexpr int kMaxReceiveMs = 2000;

    // How the receive loop waits. With the blocking wait on (the default) it sleeps in
    // hid_read_timeout while a whole millisecond or more is left before the limit, and sleeps
    // the rest out in one pause to just past the limit. With it off every wait is polled with
    // this pause after each empty non-blocking read, in microseconds (default 400); a pause of
    // 0 polls without pausing. The benchmarks use both to compare the ways of waiting.
    static void setIdlePollMicros(int micros);
    static int idlePollMicros();
    static void setBlockingWait(bool on);
    static bool isBlockingWait();

private:
    // Claims the open device (ControllerClaim); false (the device to be closed) while another
    // program holds it.
    bool claim();
    void close();
    bool dropStaleInput(FCProtocol::Task* task);
    bool receive(FCProtocol::Task* task);
    int readLength() const;
    // Which device the open handle reaches: its ids and path (ids alone if hidapi cannot
    // tell the path).
    QByteArray deviceKey() const;
    // The report id has failed on a handle where it is unproven (a failed write, or two
    // time-outs in a row): the other id is next, unless this id is the one remembered for the
    // device, which is kept once more. Either way the memory is used up.
    void failedUnproven();

    unsigned short vendorId;
    unsigned short productId;
    const wchar_t* serial;
    QByteArray devicePath;
    hid_device_* device = nullptr;
    // A transaction has succeeded with reportIdFlag on the open handle.
    bool reportIdProven = false;
    // Transactions in a row on the open handle whose reply never came.
    int timeOutsInRow = 0;
    // The open handle's device, and the report id last proven on each device reached.
    QByteArray openDevice;
    QString openSerial;
    QString openNode;
    QHash<QByteArray, bool> provenIds;
    ControllerClaim claimed;
    std::atomic<bool> jumpHold{false};
    bool missing = false;
    bool refusedForLock = false;
    qint64 holderPid = 0;
    std::atomic<bool> cancelled{false};
    mutable std::atomic<unsigned> handoffs{0};
};
