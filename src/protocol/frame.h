#pragma once

#include <QByteArray>
#include <QList>

namespace FCProtocol {

// Pure functions over the wire frame: finishing a request and accepting a reply.
namespace Frame {

constexpr int kReportDataSize = 64;           // data bytes per HID report
constexpr int kReportSize = kReportDataSize + 1; // report id + data, as handed to hid_write

// Zero bytes to append to a request of `length` header-and-payload bytes so that, with the
// 2-byte CRC, the frame is a multiple of 64. Always 1..64: 62 bytes get 64, not 0.
int paddingLength(int length);

// The request with its padding and CRC-16 (low byte first) appended.
QByteArray finished(const QByteArray& request);

// The finished frame cut into 65-byte output reports, each led by `reportId`.
QList<QByteArray> reports(const QByteArray& frame, quint8 reportId);

// Outcome of the reply checks, in the order they are applied. The values are the task
// status codes.
enum ReplyCheck {
    ReplyOk = 0,
    ReplyWrongLength = -4, // not a positive multiple of 64; looked at before the CRC
    ReplyWrongCrc = -3,    // CRC over all but the last two bytes differs from them (LE)
    ReplyWrongEcho = -5,   // first headLength bytes differ (bit 7 of reply byte 0 ignored)
};

// Checks a reply against its request. Bytes beyond the end of either frame compare as 0x00;
// nothing outside the two arrays is read.
ReplyCheck checkReply(const QByteArray& request, const QByteArray& reply, int headLength);

// The debug line the transport writes for a rejected reply ("" for ReplyOk).
const char* replyCheckMessage(ReplyCheck check);

} // namespace Frame
} // namespace FCProtocol
