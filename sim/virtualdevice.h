#pragma once

#include "fcmodel.h"
#include "readwait.h"
#include "virtualfc.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <chrono>
#include <deque>
#include <mutex>
#include <random>
#include <set>
#include <string>

struct hid_device_info;

// One open handle of the virtual board, as hidapi hands it out.
struct hid_device_ {
    ~hid_device_();
    int generation = 0; // the bus enumeration it was opened in; stale after the board drops off
    bool nonblocking = false;
    const wchar_t* lastError = L"Success";
    // hid_get_device_info's answer, made on the first call and freed with the handle.
    hid_device_info* info = nullptr;
    // Writes made on this handle, and how many more of them fail (Fault::WriteFailFresh).
    int writes = 0;
    int failingWrites = 0;
    // Input reports the kernel keeps for this handle until they are read (hidraw: per open
    // file, every report that arrived since the open, at most 64).
    std::deque<QByteArray> input;
};

// The virtual board on the USB bus: HID reports in and out, link timing, enumeration and
// injected faults, in front of the controller model. One process-wide instance; every member
// but `reads` is used under `mutex`, and no call sleeps while holding it.
class VirtualDevice
{
public:
    using Clock = std::chrono::steady_clock;

    static VirtualDevice& instance();

    std::mutex mutex;
    // Where reads wait for a report; told of every call that may change what they return.
    ReadWait reads;

    void reset();

    // The hidapi calls, with the lock held by the caller. Time-consuming calls return the
    // moment until which the caller has to wait after releasing the lock.
    hid_device_* open(unsigned short vendorId, unsigned short productId);
    // hid_open_path: the path hid_enumerate lists.
    hid_device_* openPath(const char* path);
    void close(hid_device_* dev);
    int write(hid_device_* dev, const unsigned char* data, size_t length, Clock::time_point* doneAt);
    // Returns the byte count, 0 if nothing is ready (then *wakeAt says when to look again, or
    // Clock::time_point::max() if no reply is on its way), -1 on error.
    int read(hid_device_* dev, unsigned char* data, size_t length, Clock::time_point* wakeAt);
    const wchar_t* globalError = L"Success";

    int setNonblocking(hid_device_* dev, int nonblock);
    // hid_get_device_info: the board's description, owned by the handle; null for a handle
    // whose board has gone before it was first asked.
    hid_device_info* deviceInfo(hid_device_* dev);

    // The board as hid_enumerate lists it (one malloc'ed node), and its release.
    static hid_device_info* newDeviceInfo(const std::wstring& serial);
    static void freeDeviceInfo(hid_device_info* info);

    // Settings and records used by the control API.
    int buffered();
    void setPlugged(bool plugged);
    bool onBus();
    void setFault(VirtualFC::Fault fault, int count, int param, int taskType, int skip = 0);
    void setFaultChance(VirtualFC::Fault fault, int percent, int param, int taskType);
    void setRandomSeed(quint32 seed) { random_.seed(seed); }
    int faultRemaining(VirtualFC::Fault fault) const;
    void clearFaults();
    void clearRecords();

    FCModel model;
    // The USB serial number string of the flight firmware and of the bootloader (a bootloader
    // may describe itself otherwise); empty: the device has none. The one the running program
    // reports.
    std::wstring firmwareSerial = VirtualFC::kSerialNumber;
    std::wstring bootloaderSerial = VirtualFC::kSerialNumber;
    const std::wstring& serialNumber() const;

    int reportMicros = 1000;
    int processingMicros = 500;
    int dropDelayMs = 50;
    int offBusMs = 300;
    bool plugged = true;
    int reportIdMode = 0;
    VirtualFC::WrongId wrongId = VirtualFC::WrongId::Ignore;
    bool replyClassBit7 = false;

    QList<QByteArray> writtenReports;
    QList<QByteArray> requests;
    QList<QByteArray> replies;
    std::array<int, 20> requestCounts{};
    int opens = 0;
    int failedOpens = 0;
    int closes = 0;
    int answered = 0;
    int discarded = 0;
    int badRequests = 0;

    std::set<hid_device_*> handles;

private:
    struct FaultSlot {
        int remaining = 0;
        int param = 0;
        int taskType = -1;
        int skip = 0;
        int percent = 100;
    };
    struct PendingReport {
        QByteArray data;
        Clock::time_point readyAt;
    };

    VirtualDevice();

    bool takeFault(VirtualFC::Fault fault, int type, int* param = nullptr);
    void updateBus(Clock::time_point now);
    bool alive(hid_device_* dev);
    void dropPending();
    // Moves the reports whose time has come into the open handles' buffers.
    void deliver(Clock::time_point now);
    // Puts one input report into every live handle's buffer; false if none had room.
    bool arrive(const QByteArray& report, bool countLoss);
    hid_device_* refuseOpen(const wchar_t* error);
    // When a report handed over at `now` has crossed the link; books its frame.
    Clock::time_point nextFrameEnd(Clock::time_point now);
    void frameComplete(const QByteArray& frame, Clock::time_point doneAt);
    void sendReply(int type, QByteArray payload, const QByteArray& request, Clock::time_point doneAt);
    template <typename T>
    static void remember(QList<T>& list, const T& item);

    // One slot per fault; WriteFailFresh is the last of them.
    std::array<FaultSlot, size_t(VirtualFC::Fault::WriteFailFresh) + 1> faults_{};
    std::mt19937 random_{1};
    int generation_ = 0;
    Clock::time_point busFreeAt_;

    QByteArray assembling_;
    int expectedLength_ = 0;
    int assemblingType_ = -1;
    Clock::time_point lastReportAt_;

    std::deque<PendingReport> pending_;
    int deliveredOfReply_ = 0;
    int readErrorAfter_ = -1;

    bool babbling_ = false;
    int babbleIntervalMs_ = 0;
    Clock::time_point nextBabbleAt_;
    quint8 babbleCounter_ = 0;

    FCModel::Jump jump_ = FCModel::Jump::None;
    bool jumpArmed_ = false;
    bool jumpConfirmation_ = false; // the reply about to be sent confirms the jump
    Clock::time_point dropAt_;
    bool offBus_ = false;
    FCModel::Jump comingBackAs_ = FCModel::Jump::None;
    Clock::time_point offUntil_;

    // BusDrop armed for the frame being assembled: the bus goes at this many reports.
    int dropAtReport_ = -1;
    int dropOffMs_ = 0;
    // The board loses the bus now and is back `offMs` later in the program it was running.
    void brownOut(Clock::time_point now, int offMs);
};
