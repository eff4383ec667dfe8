#pragma once

#include <QObject>

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

    // Opens the device if needed, finishes and sends the request, collects and checks the
    // reply. The outcome is left in the task:
    //   0  success;
    //  -1  open failed ("USB Device Open Fail!"), a write or read failed (the hid_error
    //      text is logged, the device closed; a failed write also flips reportIdFlag) or a
    //      write was short ("Write Wrong Len!" and the count; the device stays open);
    //  -2  empty request ("Wrong Tx Length!") or no report within 1000 ms ("Read Time Out!");
    //  -3  reply CRC wrong ("Read Wrong Crc!");
    //  -4  reply length not a positive multiple of 64 ("Read Wrong Len!");
    //  -5  reply does not echo the request's frame id ("Ack Frame Wrong!").
    void RunTask(FCProtocol::Task* task);

    bool isOpen() const { return device != nullptr; }

    // false: unnumbered reports (id 0x00, 64-byte reads); true: report id 0x01 (65-byte
    // reads whose first byte is dropped). Inverted after a failed write.
    bool reportIdFlag = false;

    // Wait for the first reply report, and the silence that ends a reply.
    static constexpr int kReplyWaitMs = 1000;
    static constexpr int kEndOfReplyGapMs = 10;

    // Pause after an empty non-blocking read, in microseconds (default 400). 0 polls without
    // pausing; the benchmarks use it to compare against a pure busy loop.
    static void setIdlePollMicros(int micros);
    static int idlePollMicros();

private:
    void close();
    bool receive(FCProtocol::Task* task);

    unsigned short vendorId;
    unsigned short productId;
    const wchar_t* serial;
    hid_device_* device = nullptr;
};
