#pragma once

#include "virtualfc.h"

#include <QByteArray>

#include <chrono>

// The flight controller behind the USB link: its state and its answer to each request.
// Not thread-safe; VirtualDevice calls it under its lock.
class FCModel
{
public:
    using Clock = std::chrono::steady_clock;

    // What a request asks of the bus after its reply has been read.
    enum class Jump { None, ToBootloader, ToFirmware };

    struct Answer {
        bool answered = false;
        QByteArray payload;
        Jump jump = Jump::None;
    };

    // Per-request faults that change the controller's own answer.
    struct Mischief {
        bool refuseBlock = false;
        bool wrongVerify = false;
        bool keepValues = false;
        int keptOffset = 0; // PARA_WR: only this field is kept (0: the whole record)
    };

    static constexpr int kBlockSize = 2048;
    static constexpr int kFlashSize = 256 * 1024;
    static constexpr int kParaSize = 89;

    FCModel();

    void reset(Clock::time_point now);

    // The reply payload for a request of `type` (payload = the bytes after the frame id,
    // padding included); answered false when the running program ignores the request.
    Answer handle(int type, const QByteArray& payload, Clock::time_point now,
                  const Mischief& mischief);

    // The board came (back) on the bus, running the program `jump` leads to.
    void enumerated(Jump jump, Clock::time_point now);
    // A host opened the board.
    void opened(Clock::time_point now);

    // Request frame length for a frame id: every frame fits one report except PARA_WR and
    // BLOCK_PROG.
    static int requestLength(quint8 classByte, quint8 idByte);

    static QByteArray defaultPara();

    FCProtocol::DS_INFO_RD info;
    qint32 bootloaderWord = qint32(0xF0000102);

    VirtualFC::Attitude attitude;
    bool attitudeMoving = true;
    int motorTestMs = 3000;

    VirtualFC::RcState rcState;
    bool rcMoving = true;
    int recognitionMs = 1500;

    VirtualFC::FrameSetting frame;

    QByteArray para;
    QByteArray flashPara;
    // What STORE keeps besides the parameters: the radio settings (channel word, calibrated
    // ranges, position modes, mode button) and the airframe.
    VirtualFC::RcState flashRc;
    VirtualFC::FrameSetting flashFrame;

    QStringList scopeNames;
    QVector<float> scopeValues;
    bool scopeMoving = true;

    QByteArray flash;
    int imageEnd = 0;

    // State as reported at `now`, live parts included.
    VirtualFC::Attitude attitudeAt(Clock::time_point now) const;
    VirtualFC::RcState rcAt(Clock::time_point now);
    bool motorTestRunning(Clock::time_point now) const;
    bool calibrating() const { return rcCalibrating_; }
    quint16 verifyValue() const;
    // The flight firmware starts: the working settings come from flash.
    void loadStored();

private:
    double seconds(Clock::time_point now) const;
    qint16 liveRaw(int channel, double t) const;
    void widenRanges(const VirtualFC::RcState& live);

    QByteArray statusReply(Clock::time_point now) const;
    QByteArray rcReply(Clock::time_point now);
    QByteArray rcWrite(const QByteArray& payload);
    QByteArray scopeNamesReply() const;
    QByteArray scopeDataReply(Clock::time_point now) const;
    QByteArray infoReply() const;
    QByteArray fwInfoReply() const;
    QByteArray blockProg(const QByteArray& payload, const Mischief& mischief);

    Clock::time_point start_;
    Clock::time_point motorTestUntil_;
    Clock::time_point recognitionStart_;
    bool recognitionStarted_ = false;
    bool rcCalibrating_ = false;
};
