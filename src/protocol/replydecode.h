#pragma once

#include "protocol/dsinforrd.h"

#include <QByteArray>
#include <QtGlobal>

namespace FCProtocol {

// Decoding of the fixed-layout replies that the main window and the pages read, as pure
// functions over the payload (the reply bytes behind the echoed frame id): little-endian,
// single-precision floats. Each returns false, leaving the record untouched, when the payload
// is too short for the whole record; bytes beyond it (frame padding) are ignored. Nothing
// outside the payload is read, whatever its bytes.
namespace ReplyDecode {

// STATUS_RD: the attitude quaternion, the angles in radians, flight mode and lock state.
struct StatusRecord {
    float q0 = 1.0f;
    float q1 = 0.0f;
    float q2 = 0.0f;
    float q3 = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    float yaw = 0.0f;
    quint8 flyMode = 0;
    quint8 lockState = 0;
};

// One receiver channel of RC_RD.
struct RcChannel {
    qint16 min = 0;
    qint16 max = 0;
    qint16 centre = 0;
    qint16 fourth = 0;
    qint16 offset = 0;
};

// RC_RD: the radio as the controller reports it.
struct RcRecord {
    static constexpr int kChannels = 8;
    qint8 recognition = 0;
    qint32 channelWord = 0;
    RcChannel channels[kChannels];
    qint8 switchA = 0;
    qint8 switchB = 0;
    qint8 positionModes[3] = {0, 0, 0};
    qint8 spare = 0;
    qint8 modeButton = 0;
};

// RC_WR, request and reply alike: the channel word, the three position modes, the mode button.
struct RcWriteRecord {
    qint32 channelWord = 0;
    qint8 positionModes[3] = {0, 0, 0};
    qint8 modeButton = 0;
};

// FRAME_RW reply: reply code, airframe, mounting.
struct FrameRecord {
    qint8 replyCode = 0;
    qint8 airframe = 0;
    qint8 mounting = 0;
};

// INFO_RD: mode, error code, board word and three further words.
bool decodeInfo(const QByteArray& payload, DS_INFO_RD* record);
bool decodeStatus(const QByteArray& payload, StatusRecord* record);
bool decodeRcRead(const QByteArray& payload, RcRecord* record);
bool decodeRcWrite(const QByteArray& payload, RcWriteRecord* record);
bool decodeFrame(const QByteArray& payload, FrameRecord* record);

} // namespace ReplyDecode
} // namespace FCProtocol
