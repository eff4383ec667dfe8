#include "protocol/replydecode.h"

#include <QDataStream>

namespace FCProtocol {
namespace ReplyDecode {

namespace {

// Reads a record with the task streams' settings; the record is taken only when every field
// was there, so a short reply never turns into zeros.
template <typename Record, typename Read>
bool decode(const QByteArray& payload, Record* record, Read&& read)
{
    if (!record)
        return false;
    QDataStream in(payload);
    in.setByteOrder(QDataStream::LittleEndian);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    Record next;
    read(in, next);
    if (in.status() != QDataStream::Ok)
        return false;
    *record = next;
    return true;
}

} // namespace

bool decodeInfo(const QByteArray& payload, DS_INFO_RD* record)
{
    return decode(payload, record, [](QDataStream& in, DS_INFO_RD& r) {
        in >> r.mode >> r.errorCode >> r.boardWord >> r.extra1 >> r.extra2 >> r.extra3;
    });
}

bool decodeStatus(const QByteArray& payload, StatusRecord* record)
{
    return decode(payload, record, [](QDataStream& in, StatusRecord& r) {
        in >> r.q0 >> r.q1 >> r.q2 >> r.q3 >> r.pitch >> r.roll >> r.yaw >> r.flyMode >> r.lockState;
    });
}

bool decodeRcRead(const QByteArray& payload, RcRecord* record)
{
    return decode(payload, record, [](QDataStream& in, RcRecord& r) {
        in >> r.recognition >> r.channelWord;
        for (RcChannel& c : r.channels)
            in >> c.min >> c.max >> c.centre >> c.fourth >> c.offset;
        in >> r.switchA >> r.switchB;
        for (qint8& mode : r.positionModes)
            in >> mode;
        in >> r.spare >> r.modeButton;
    });
}

bool decodeRcWrite(const QByteArray& payload, RcWriteRecord* record)
{
    return decode(payload, record, [](QDataStream& in, RcWriteRecord& r) {
        in >> r.channelWord;
        for (qint8& mode : r.positionModes)
            in >> mode;
        in >> r.modeButton;
    });
}

bool decodeFrame(const QByteArray& payload, FrameRecord* record)
{
    return decode(payload, record, [](QDataStream& in, FrameRecord& r) {
        in >> r.replyCode >> r.airframe >> r.mounting;
    });
}

} // namespace ReplyDecode
} // namespace FCProtocol
