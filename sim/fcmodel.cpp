#include "fcmodel.h"

#include "protocol/crc16.h"
#include "protocol/frameids.h"

#include <QDataStream>
#include <QIODevice>

#include <cmath>

using namespace FCProtocol;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr quint8 kBlockRefused = 0xEE;
constexpr int kCalibratedMin[8] = {1096, 1102, 1099, 1104, 1100, 1100, 1100, 1100};
constexpr int kCalibratedMax[8] = {1904, 1897, 1901, 1895, 1900, 1900, 1900, 1900};
constexpr int kCalibratedCentre[8] = {1500, 1498, 1501, 1499, 1500, 1500, 1500, 1500};

// A little-endian writer with single-precision floats, as the host reads replies.
struct Writer {
    QByteArray bytes;
    QDataStream stream{&bytes, QIODevice::WriteOnly};
    Writer()
    {
        stream.setByteOrder(QDataStream::LittleEndian);
        stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
    }
};

quint8 byteAt(const QByteArray& bytes, int i)
{
    return i < bytes.size() ? quint8(bytes[i]) : quint8(0);
}

qint32 int32At(const QByteArray& bytes, int i)
{
    return qint32(quint32(byteAt(bytes, i)) | quint32(byteAt(bytes, i + 1)) << 8
                  | quint32(byteAt(bytes, i + 2)) << 16 | quint32(byteAt(bytes, i + 3)) << 24);
}

QByteArray marker(quint8 value)
{
    return QByteArray(1, char(value));
}

bool servedByFirmware(int type)
{
    return type != BLOCK_PROG && type != VERIFY;
}

bool servedByBootloader(int type)
{
    return type == BOOT_JUMP || type == BLOCK_PROG || type == VERIFY || type == FW_INFO_RD
        || type == INFO_RD;
}

} // namespace

FCModel::FCModel()
{
    reset(Clock::now());
}

void FCModel::reset(Clock::time_point now)
{
    start_ = now;
    motorTestUntil_ = now;
    recognitionStarted_ = false;
    rcCalibrating_ = false;

    info = DS_INFO_RD();
    info.mode = 0;
    info.errorCode = 0;
    info.boardWord = qint32(0xF0300105);
    info.extra1 = 2;                 // hardware revision
    info.extra2 = qint32(0x5A17C0DE); // unit serial
    info.extra3 = 0;
    bootloaderWord = qint32(0xF0000102);

    attitude = VirtualFC::Attitude();
    attitudeMoving = true;
    motorTestMs = 3000;

    rcState = VirtualFC::RcState();
    rcState.recognition = 0;
    rcState.channelWord = (1 << 17) | (1 << 9); // SBUS, channel 1 reversed
    for (int c = 0; c < 8; ++c) {
        rcState.table[size_t(c * 5)] = qint16(kCalibratedMin[c]);
        rcState.table[size_t(c * 5 + 1)] = qint16(kCalibratedMax[c]);
        rcState.table[size_t(c * 5 + 2)] = qint16(kCalibratedCentre[c]);
        rcState.table[size_t(c * 5 + 3)] = qint16(kCalibratedCentre[c]);
        rcState.table[size_t(c * 5 + 4)] = 0;
    }
    rcState.trailing = {1, 1, 2, 1, 0, 0, 0};
    rcMoving = true;
    recognitionMs = 1500;

    frame = VirtualFC::FrameSetting();
    para = defaultPara();
    flashPara = para;
    flashRc = rcState;
    flashFrame = frame;

    scopeNames = QStringList{"gyroX", "gyroY", "gyroZ", "accZ", "thr"};
    scopeValues.clear();
    scopeMoving = true;

    flash.clear();
    imageEnd = 0;
}

QByteArray FCModel::defaultPara()
{
    Writer w;
    const qint16 limitsAndEsc[7] = {250, 40, 200, 1100, 1480, 1520, 1900};
    for (qint16 v : limitsAndEsc)
        w.stream << v;
    w.stream << qint8(0) << qint8(1); // simple gains, X/Y linked
    for (int i = 0; i < 5; ++i)
        w.stream << qint16(100);
    const float expert[15] = {0.12f, 0.05f, 0.0025f, 0.12f, 0.05f, 0.0025f, 4.5f, 0.0f, 0.0f,
                              4.5f,  0.0f,  0.0f,    0.3f,  0.05f, 0.0f};
    for (float v : expert)
        w.stream << v;
    w.stream << qint8(0) << qint8(0) << qint8(0); // reserved, oneshot125 off, 2D ESC
    return w.bytes;
}

int FCModel::requestLength(quint8 classByte, quint8 idByte)
{
    switch (taskTypeOf(classByte, idByte)) {
    case PARA_WR:
        return 128;
    case BLOCK_PROG:
        return 2112;
    default:
        return 64;
    }
}

double FCModel::seconds(Clock::time_point now) const
{
    return std::chrono::duration<double>(now - start_).count();
}

VirtualFC::Attitude FCModel::attitudeAt(Clock::time_point now) const
{
    VirtualFC::Attitude a = attitude;
    if (attitudeMoving) {
        const double t = seconds(now);
        a.pitch = float(15.0 * kDeg * std::sin(2 * kPi * t / 8.0));
        a.roll = float(18.0 * kDeg * std::sin(2 * kPi * t / 11.0 + 0.5));
        a.yaw = float(std::remainder(0.3 * t, 2 * kPi));
    }
    if (motorTestRunning(now))
        a.lockState = 3;
    return a;
}

bool FCModel::motorTestRunning(Clock::time_point now) const
{
    return now < motorTestUntil_;
}

qint16 FCModel::liveRaw(int channel, double t) const
{
    switch (channel) {
    case 0:
        return qint16(1500 + std::lround(360 * std::sin(2 * kPi * t / 5.0)));
    case 1:
        return qint16(1500 + std::lround(340 * std::sin(2 * kPi * t / 6.5 + 1.0)));
    case 2:
        return qint16(1500 + std::lround(390 * std::sin(2 * kPi * t / 9.0)));
    case 3:
        return qint16(1500 + std::lround(300 * std::sin(2 * kPi * t / 7.0 + 2.0)));
    case 4: // three-position flight-mode switch
        return qint16(1100 + 400 * (int(t / 4.0) % 3));
    case 5: // two-position arming switch
        return qint16(int(t / 6.0) % 2 ? 1900 : 1100);
    default:
        return 1500;
    }
}

VirtualFC::RcState FCModel::rcAt(Clock::time_point now)
{
    if (!rcMoving)
        return rcState;

    const double t = seconds(now);
    VirtualFC::RcState live = rcState;
    for (int c = 0; c < 8; ++c) {
        const qint16 raw = liveRaw(c, t);
        live.table[size_t(c * 5 + 3)] = raw;
        live.table[size_t(c * 5 + 4)] = qint16(raw - live.table[size_t(c * 5 + 2)]);
    }
    const qint16 switchA = live.table[4 * 5 + 3];
    live.trailing[0] = qint8(switchA < 1300 ? 1 : switchA < 1700 ? 2 : 3);
    live.trailing[1] = qint8(live.table[5 * 5 + 3] < 1500 ? 1 : 3);

    if (rcCalibrating_) {
        widenRanges(live);
        for (int i = 0; i < 40; i += 5) {
            live.table[size_t(i)] = rcState.table[size_t(i)];
            live.table[size_t(i + 1)] = rcState.table[size_t(i + 1)];
        }
    }

    if (recognitionMs <= 0) {
        // no recognition phase: the receiver is known at once
    } else if (!recognitionStarted_) {
        live.recognition = 1;
    } else {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - recognitionStart_).count();
        if (elapsed < recognitionMs)
            live.recognition = elapsed < recognitionMs / 2 ? 1 : 2;
    }
    return live;
}

void FCModel::widenRanges(const VirtualFC::RcState& live)
{
    for (int c = 0; c < 8; ++c) {
        const qint16 raw = live.table[size_t(c * 5 + 3)];
        qint16& lo = rcState.table[size_t(c * 5)];
        qint16& hi = rcState.table[size_t(c * 5 + 1)];
        lo = qMin(lo, raw);
        hi = qMax(hi, raw);
    }
}

quint16 FCModel::verifyValue() const
{
    return crc16(flash.constData(), 0, qMin(imageEnd, flash.size()));
}

void FCModel::enumerated(Jump jump, Clock::time_point now)
{
    Q_UNUSED(now);
    if (jump == Jump::ToBootloader) {
        info.mode = 1;
        imageEnd = 0;
    } else if (jump == Jump::ToFirmware) {
        info.mode = 0;
        loadStored(); // a restart loads the stored settings
    }
    if (jump != Jump::None) {
        rcCalibrating_ = false;
        motorTestUntil_ = Clock::time_point();
    }
    recognitionStarted_ = false;
}

void FCModel::opened(Clock::time_point now)
{
    if (!recognitionStarted_) {
        recognitionStarted_ = true;
        recognitionStart_ = now;
    }
}

FCModel::Answer FCModel::handle(int type, const QByteArray& payload, Clock::time_point now,
                                const Mischief& mischief)
{
    Answer answer;
    const bool inBootloader = info.mode == 1;
    if (inBootloader ? !servedByBootloader(type) : !servedByFirmware(type))
        return answer; // the running program does not know the request
    answer.answered = true;

    const quint8 command = byteAt(payload, 0);
    switch (type) {
    case STATUS_RD:
        answer.payload = statusReply(now);
        break;
    case PARA_RD:
        answer.payload = para;
        break;
    case PARA_WR:
        if (!mischief.keepValues) {
            para = payload.left(kParaSize);
        } else if (mischief.keptOffset > 0 && mischief.keptOffset + 2 <= kParaSize) {
            const QByteArray kept = para.mid(mischief.keptOffset, 2);
            para = payload.left(kParaSize);
            para.replace(mischief.keptOffset, 2, kept);
        }
        answer.payload = para;
        break;
    case RC_RD:
        answer.payload = rcReply(now);
        break;
    case RC_WR:
        answer.payload = rcWrite(mischief.keepValues ? QByteArray() : payload);
        break;
    case RC_CALI:
        if (command == kCommandStart) {
            rcCalibrating_ = true;
            if (rcMoving) {
                // Collecting starts from where the sticks are now.
                const VirtualFC::RcState live = rcAt(now);
                for (int c = 0; c < 8; ++c) {
                    rcState.table[size_t(c * 5)] = live.table[size_t(c * 5 + 3)];
                    rcState.table[size_t(c * 5 + 1)] = live.table[size_t(c * 5 + 3)];
                }
            }
        } else if (command == kCommandFinish && rcCalibrating_) {
            if (rcMoving)
                widenRanges(rcAt(now));
            rcCalibrating_ = false;
            if (rcMoving) {
                for (int c = 0; c < 8; ++c) {
                    const int lo = rcState.table[size_t(c * 5)];
                    const int hi = rcState.table[size_t(c * 5 + 1)];
                    rcState.table[size_t(c * 5 + 2)] = qint16((lo + hi) / 2);
                }
            }
        }
        answer.payload = marker(command);
        break;
    case HORIZON_CALI:
        answer.payload = marker(command);
        break;
    case FRAME_RW:
        if (command == 1) {
            if (!mischief.keepValues) {
                frame.airframe = qint8(byteAt(payload, 1));
                frame.mounting = qint8(byteAt(payload, 2));
            }
            answer.payload = QByteArray(1, char(command)) + char(frame.airframe) + char(frame.mounting);
        } else {
            answer.payload.append(char(frame.replyCode));
            answer.payload.append(char(frame.airframe));
            answer.payload.append(char(frame.mounting));
        }
        break;
    case MOTOR_TEST:
        if (command == kCommandStart)
            motorTestUntil_ = now + std::chrono::milliseconds(motorTestMs);
        answer.payload = marker(command);
        break;
    case STORE:
        if (command == kCommandStart) {
            flashPara = para;
            flashRc = rcState;
            flashFrame = frame;
        }
        answer.payload = marker(command);
        break;
    case DEFAULT_RESTORE:
        if (command == kCommandStart) {
            para = defaultPara();
            frame = VirtualFC::FrameSetting();
            // The pilot's radio choices go back to the factory's; calibration and receiver stay.
            constexpr quint32 reverseBits = 0xFF00u;
            rcState.channelWord = qint32((quint32(rcState.channelWord) & ~reverseBits) | (1u << 9));
            rcState.trailing[2] = 2;
            rcState.trailing[3] = 1;
            rcState.trailing[4] = 0;
            rcState.trailing[6] = 0;
        }
        answer.payload = marker(command);
        break;
    case TYPE_02_03:
    case TYPE_03_05:
        break;
    case BOOT_JUMP: {
        const qint32 target = int32At(payload, 0);
        answer.payload = payload.left(4);
        if (target == kCommandStart && !inBootloader)
            answer.jump = Jump::ToBootloader;
        else if (target == kCommandFinish && inBootloader)
            answer.jump = Jump::ToFirmware;
        else if (target != kCommandStart && target != kCommandFinish)
            answer.payload = QByteArray(4, '\0');
        break;
    }
    case BLOCK_PROG:
        answer.payload = blockProg(payload, mischief);
        break;
    case VERIFY: {
        const quint16 value = mischief.wrongVerify ? quint16(verifyValue() ^ 0x5A5A) : verifyValue();
        answer.payload.append(char(value & 0xFF));
        answer.payload.append(char(value >> 8));
        break;
    }
    case FW_INFO_RD:
        answer.payload = fwInfoReply();
        break;
    case INFO_RD:
        answer.payload = infoReply();
        break;
    case SCOPE_NAME_RD:
        answer.payload = scopeNamesReply();
        break;
    case SCOPE_DATA_RD:
        answer.payload = scopeDataReply(now);
        break;
    default:
        answer.answered = false;
        break;
    }
    return answer;
}

QByteArray FCModel::statusReply(Clock::time_point now) const
{
    const VirtualFC::Attitude a = attitudeAt(now);
    // Quaternion of the yaw-pitch-roll rotation.
    const double cr = std::cos(a.roll / 2.0), sr = std::sin(a.roll / 2.0);
    const double cp = std::cos(a.pitch / 2.0), sp = std::sin(a.pitch / 2.0);
    const double cy = std::cos(a.yaw / 2.0), sy = std::sin(a.yaw / 2.0);
    Writer w;
    w.stream << float(cr * cp * cy + sr * sp * sy) << float(sr * cp * cy - cr * sp * sy)
             << float(cr * sp * cy + sr * cp * sy) << float(cr * cp * sy - sr * sp * cy);
    w.stream << a.pitch << a.roll << a.yaw << a.flightMode << a.lockState;
    return w.bytes;
}

QByteArray FCModel::rcReply(Clock::time_point now)
{
    const VirtualFC::RcState s = rcAt(now);
    Writer w;
    w.stream << s.recognition << s.channelWord;
    for (qint16 v : s.table)
        w.stream << v;
    for (qint8 v : s.trailing)
        w.stream << v;
    return w.bytes;
}

void FCModel::loadStored()
{
    para = flashPara;
    frame = flashFrame;
    // The receiver's own bits describe the receiver plugged in now, not the stored settings.
    constexpr quint32 receiverBits = 0x000E00FFu;
    rcState.channelWord = qint32((quint32(rcState.channelWord) & receiverBits)
                                 | (quint32(flashRc.channelWord) & ~receiverBits));
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 3; ++k)
            rcState.table[size_t(c * 5 + k)] = flashRc.table[size_t(c * 5 + k)];
    }
    for (int k : {2, 3, 4, 6})
        rcState.trailing[size_t(k)] = flashRc.trailing[size_t(k)];
}

QByteArray FCModel::rcWrite(const QByteArray& payload)
{
    if (payload.isEmpty()) {
        // Kept as it was: the echo tells the values the controller holds.
        Writer w;
        w.stream << rcState.channelWord << rcState.trailing[2] << rcState.trailing[3] << rcState.trailing[4]
                 << rcState.trailing[6];
        return w.bytes;
    }
    // Availability (bits 0..7) and receiver type (bits 17..19) describe the receiver itself;
    // the controller keeps its own and takes the rest of the word.
    constexpr quint32 receiverBits = 0x000E00FFu;
    const quint32 written = quint32(int32At(payload, 0));
    const quint32 word = (quint32(rcState.channelWord) & receiverBits) | (written & ~receiverBits);
    rcState.channelWord = qint32(word);
    rcState.trailing[2] = qint8(byteAt(payload, 4));
    rcState.trailing[3] = qint8(byteAt(payload, 5));
    rcState.trailing[4] = qint8(byteAt(payload, 6));
    rcState.trailing[6] = qint8(byteAt(payload, 7));

    Writer w;
    w.stream << rcState.channelWord << rcState.trailing[2] << rcState.trailing[3]
             << rcState.trailing[4] << rcState.trailing[6];
    return w.bytes;
}

QByteArray FCModel::scopeNamesReply() const
{
    QByteArray out;
    for (const QString& name : scopeNames) {
        out.append(name.toLatin1());
        out.append('\0');
    }
    out.append('\0');
    return out;
}

QByteArray FCModel::scopeDataReply(Clock::time_point now) const
{
    const double t = seconds(now);
    Writer w;
    for (int i = 0; i < scopeNames.size(); ++i) {
        float v = i < scopeValues.size() ? scopeValues[i] : 0.0f;
        if (scopeMoving)
            v = float((i + 1) * 10.0 * std::sin(2 * kPi * t / (2.0 + i) + i));
        w.stream << v;
    }
    return w.bytes;
}

QByteArray FCModel::infoReply() const
{
    quint8 errorCode = info.errorCode;
    if (info.mode == 0 && errorCode == 0 && rcCalibrating_)
        errorCode = 7; // radio calibration running
    Writer w;
    w.stream << info.mode << errorCode << info.boardWord << info.extra1 << info.extra2
             << info.extra3;
    return w.bytes;
}

QByteArray FCModel::fwInfoReply() const
{
    const bool inBootloader = info.mode == 1;
    Writer w;
    w.stream << qint32(inBootloader ? 1 : 0) << qint32(kFlashSize)
             << (inBootloader ? bootloaderWord : info.boardWord) << qint32(imageEnd);
    return w.bytes;
}

QByteArray FCModel::blockProg(const QByteArray& payload, const Mischief& mischief)
{
    const qint32 offset = int32At(payload, 0);
    const bool fits = offset >= 0 && offset % kBlockSize == 0 && offset <= kFlashSize - kBlockSize
        && payload.size() >= 4 + kBlockSize;
    if (!fits || mischief.refuseBlock)
        return marker(kBlockRefused);
    if (flash.size() < offset + kBlockSize)
        flash.append(QByteArray(offset + kBlockSize - flash.size(), char(0xFF)));
    memcpy(flash.data() + offset, payload.constData() + 4, size_t(kBlockSize));
    imageEnd = qMax(imageEnd, offset + kBlockSize);
    return marker(kCommandStart);
}
