#include "protocol/frame.h"

#include "protocol/crc16.h"

namespace FCProtocol {
namespace Frame {

int paddingLength(int length)
{
    return kReportDataSize - ((length + 2) % kReportDataSize);
}

QByteArray finished(const QByteArray& request)
{
    QByteArray frame = request;
    frame.append(QByteArray(paddingLength(request.size()), '\0'));
    const quint16 crc = crc16(frame.constData(), 0, frame.size());
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

QList<QByteArray> reports(const QByteArray& frame, quint8 reportId)
{
    QList<QByteArray> out;
    for (int offset = 0; offset < frame.size(); offset += kReportDataSize) {
        QByteArray report(kReportSize, '\0');
        report[0] = char(reportId);
        const int n = qMin(kReportDataSize, frame.size() - offset);
        memcpy(report.data() + 1, frame.constData() + offset, size_t(n));
        out.append(report);
    }
    return out;
}

ReplyCheck checkReply(const QByteArray& request, const QByteArray& reply, int headLength)
{
    const int length = reply.size();
    if (length == 0 || length % kReportDataSize != 0)
        return ReplyWrongLength;

    const quint16 computed = crc16(reply.constData(), 0, length - 2);
    const quint16 received = quint16(quint8(reply[length - 2]) | (quint8(reply[length - 1]) << 8));
    if (computed != received)
        return ReplyWrongCrc;

    auto byteAt = [](const QByteArray& bytes, int i) -> quint8 {
        return i < bytes.size() ? quint8(bytes[i]) : quint8(0);
    };
    for (int i = 0; i < headLength; ++i) {
        quint8 got = byteAt(reply, i);
        if (i == 0)
            got &= 0x7F;
        if (got != byteAt(request, i))
            return ReplyWrongEcho;
    }
    return ReplyOk;
}

const char* replyCheckMessage(ReplyCheck check)
{
    switch (check) {
    case ReplyWrongLength: return "Read Wrong Len!";
    case ReplyWrongCrc: return "Read Wrong Crc!";
    case ReplyWrongEcho: return "Ack Frame Wrong!";
    case ReplyOk: break;
    }
    return "";
}

} // namespace Frame
} // namespace FCProtocol
