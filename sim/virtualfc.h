#pragma once

#include "protocol/dsinforrd.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVector>

#include <array>

// The control side of the virtual flight controller. The board itself is reached only through
// the hidapi C functions (vendor 0x0483, product 0x5750); tests and the demo use these functions
// to set the board up, inject faults and read back what went over the wire. Process-wide state;
// every function is thread-safe (the transport talks to the board from a pool thread).
namespace VirtualFC {

constexpr unsigned short kVendorId = 0x0483;
constexpr unsigned short kProductId = 0x5750;
// The board's path as hid_enumerate lists it and hid_open_path takes it.
constexpr const char* kPath = "virtual-fc:0";
// The USB serial number string the board reports by default, in both of its programs.
constexpr const wchar_t* kSerialNumber = L"FC3A00017";

// Injected link and controller faults. Each is armed for a number of affected transactions
// (count -1: until cleared). The meaning of `param`:
enum class Fault {
    NoAnswer,    // the request is acted on, but no reply is sent
    WriteFail,   // hid_write returns -1 (one failing call per count)
    ShortWrite,  // hid_write returns `param` (default 32) instead of 65; the frame is dropped
    ReadError,   // hid_read returns -1 after `param` reports of the reply were read
    SplitReply,  // the reply is padded to at least two reports; the second becomes readable
                 // `param` ms after the first
    BadCrc,      // the reply's CRC is wrong
    BadEcho,     // the reply's id byte differs from the request's (CRC still right)
    BadLength,   // one extra 1-byte report follows the reply (65 bytes in all)
    RefuseBlock, // BLOCK_PROG is not programmed and answered 0xEE instead of 0xAB
    WrongVerify, // VERIFY answers a value that differs from the image's check value
    LateReply,   // the reply comes `param` ms later than usual (after the host gave up on it,
                 // it waits in the handle's input buffer)
    Babble,      // after its reply the board keeps sending reports, one every `param` ms (0: as
                 // fast as the host reads), until a request comes without the fault armed or
                 // the fault is cleared
    NoNonblocking, // hid_set_nonblocking fails (-1); the handle stays blocking
    RefuseOpen,  // the board stays listed by hid_enumerate, but hid_open and hid_open_path
                 // fail (one refused call per count), as a hidraw node this user may not open
    BusDrop,     // halfway through the request frame the board drops off the bus, as a cable
                 // glitch or a brown-out does: the frame is lost, open handles die, and `param`
                 // ms later (default 2000) the board is back in the program it was running,
                 // its flash as it was
    KeepValues,  // a write (PARA_WR, RC_WR, a FRAME_RW write) is answered, but the board keeps the
                 // values it had and echoes them, as a board that refuses a value; for PARA_WR a
                 // `param` above 0 keeps only the 16-bit field at that byte offset of the record
                 // (6: escMin) and takes the rest
    WriteFailFresh, // the first `param` writes (at least 1) on a newly opened handle fail with
                 // -1, whatever their report id, as when the cable is wiggled right after the
                 // open; the board stays on the bus and later writes pass. The count is of
                 // handles hit, taken at a handle's first write (`taskType`: of that write)
};

// What a board does with a report whose id it does not use.
enum class WrongId {
    Ignore, // the write passes at the USB level; the board cannot parse it and does not answer
    Refuse, // the board stalls the report: hid_write fails with -1
};

// The attitude part of the STATUS_RD reply (angles in radians).
struct Attitude {
    float pitch = 0;
    float roll = 0;
    float yaw = 0;
    qint8 flightMode = 2;
    qint8 lockState = 0;
};

// The RC_RD reply as raw fields: recognition state, channel word, 8 channels x (minimum,
// maximum, centre, raw value, offset), then switch A, switch B, three position modes, spare,
// mode-button value.
struct RcState {
    qint8 recognition = 0;
    qint32 channelWord = 0;
    std::array<qint16, 40> table{};
    std::array<qint8, 7> trailing{};
};

// The FRAME_RW setting.
struct FrameSetting {
    qint8 replyCode = 0;
    qint8 airframe = 0;
    qint8 mounting = 0;
};

// --- Bus, timing, faults ---------------------------------------------------------------

// Plugged, on the bus, unnumbered reports, no faults, realistic timing, records cleared and
// the controller in its default state (flight firmware, moving attitude and sticks).
void reset();

// Each 64-byte report takes one frame of `reportMicros` on the link (hid_write blocks until its
// frame has passed; reports written back to back go one per frame; reply reports arrive that far
// apart); the first reply report comes `processingMicros` after
// the last request report. Defaults 1000 and 500.
void setTiming(int reportMicros, int processingMicros);
// true: no delays at all (unit tests); false: the defaults above.
void setFastTiming(bool fast);

// A BOOT_JUMP that switches firmware drops the board off the bus `delayMs` after its reply was
// read (default 50), for `offMs` (default 300). Handles opened before stay dead, as on hidraw.
void setBusDropTiming(int delayMs, int offMs);

// Unplugged: hid_open returns null; open handles fail with -1 and stay dead after replugging.
void setPlugged(bool plugged);
bool isPlugged();
// The board is switched off and on again: it drops off the bus (open handles die) and comes back
// in the program it ran; the flight firmware with the settings STORE kept (parameters, radio,
// airframe).
void powerCycle();
// Plugged and not re-enumerating after a firmware jump.
bool isOnBus();
// Any handle open.
bool isOpen();

// 0: the board uses unnumbered reports (reads give 64 bytes); 1: report id 1 (reads give 65
// bytes, the first 0x01). A write whose first byte is not this id is garbage to the board
// (see setWrongId), both ways.
void setReportIdMode(int id);
int reportIdMode();
// Default WrongId::Ignore.
void setWrongId(WrongId handling);

// Reply class byte with bit 7 set (the host ignores that bit). Default off.
void setReplyClassBit7(bool on);

// `taskType` limits the fault to requests of that type (-1: any); the first `skip` requests it
// would affect pass unharmed.
void setFault(Fault fault, int count = 1, int param = 0, int taskType = -1, int skip = 0);
// Armed until cleared: each request the fault would affect is hit with a chance of `percent`
// in 100, drawn from the generator that setRandomSeed() seeds (reset() seeds it with 1).
void setFaultChance(Fault fault, int percent, int param = 0, int taskType = -1);
void setRandomSeed(quint32 seed);
void clearFault(Fault fault);
void clearFaults();
// Remaining count (-1 unlimited, 0 disarmed).
int faultRemaining(Fault fault);

// --- Records ----------------------------------------------------------------------------

// Every report handed to hid_write, exactly as given (failed writes included).
QList<QByteArray> writtenReports();
// Every request frame assembled from the reports (without report ids, padding and CRC kept).
QList<QByteArray> requests();
// Every reply frame sent (without report ids, faults applied).
QList<QByteArray> replies();
// Requests of a task type with a correct CRC that reached the controller.
int requestCount(int taskType);
int openCount();
// hid_open / hid_open_path calls that returned null (unplugged, off the bus, or refused).
int failedOpenCount();
int closeCount();
int answeredCount();
// Input reports waiting unread in the open handles' buffers (the kernel keeps up to 64 per
// handle until they are read or the handle is closed).
int bufferedReports();
// Input reports lost: left unread when a handle was closed or the board dropped off the bus, or
// arriving at a full buffer.
int discardedReports();
// Request frames dropped for a wrong CRC or an unknown frame id, and reports with a report id
// the board does not use.
int badRequestCount();
void clearRecords();

// --- Controller state ---------------------------------------------------------------------

// INFO_RD. Default: mode 0, errorCode 0, boardWord 0xF0300105 (board id 0x30, version 0x0105).
// While a radio calibration runs, an errorCode of 0 is reported as 7.
FCProtocol::DS_INFO_RD info();
void setInfo(const FCProtocol::DS_INFO_RD& info);
// 0 flight firmware, 1 bootloader (the info mode). Changing it here does not drop the bus.
int boardMode();
void setBoardMode(int mode);
// The USB serial number string (hid_get_device_info, hid_enumerate) of the flight firmware and of
// the bootloader; an empty text: the device reports none. setSerialNumber sets both; a
// bootloader describing itself otherwise is set after it. A handle keeps the description it
// was first given, as hidraw does.
QString serialNumber();
void setSerialNumber(const QString& serial);
void setBootloaderSerialNumber(const QString& serial);

// The identity word the bootloader reports as the third FW_INFO_RD word (board id 0x00).
qint32 bootloaderWord();
void setBootloaderWord(qint32 word);

// STATUS_RD. Setting an attitude freezes it; moving: pitch and roll swing within +-20 deg,
// yaw turns. A MOTOR_TEST 0xAB reports lock state 3 for motorTestMs (default 3000).
Attitude attitude();
void setAttitude(const Attitude& attitude);
void setAttitudeMoving(bool moving);
void setMotorTestMs(int ms);
bool motorTestRunning();

// RC_RD. Setting the raw state freezes it exactly as given (no recognition phase, no moving
// sticks); setRcMoving(true) brings the live receiver back. The live receiver reports
// "recognising" (1, then 2) for recognitionMs (default 1500) after the first open once the board
// came on the bus, then 0 with receiver type SBUS.
RcState rc();
void setRc(const RcState& state);
void setRcMoving(bool moving);
void setRecognitionMs(int ms);
bool rcCalibrating();

// FRAME_RW.
FrameSetting frameSetting();
void setFrameSetting(const FrameSetting& setting);

// PARA_RD / PARA_WR: the 89-byte DS_PARA working record; STORE copies it to flash,
// DEFAULT_RESTORE resets it to defaults, a restart into the flight firmware reloads it from flash.
QByteArray para();
void setPara(const QByteArray& record);
QByteArray flashPara();
void setFlashPara(const QByteArray& record);
QByteArray defaultPara();

// SCOPE_NAME_RD / SCOPE_DATA_RD. Setting values freezes them; moving: sines.
QStringList scopeNames();
void setScopeNames(const QStringList& names);
void setScopeValues(const QVector<float>& values);
void setScopeMoving(bool moving);

// Bootloader flash: the image programmed since the bootloader was entered (up to the end of
// the highest programmed block) and the VERIFY answer over it: FCProtocol::crc16 of the image.
QByteArray flash();
void setFlash(const QByteArray& image);
quint16 verifyValue();
// Image bytes the bootloader accepts (offset + 2048 must not exceed it). 256 KiB.
int flashSize();

} // namespace VirtualFC
