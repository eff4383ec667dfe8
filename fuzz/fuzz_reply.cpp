// Reply acceptance: any bytes as the reply to a finished request of any task type. An
// accepted reply is whole reports, carries its own CRC and echoes the request's frame id.

#include "fuzzcommon.h"

#include "protocol/crc16.h"
#include "protocol/frame.h"
#include "protocol/frameids.h"
#include "protocol/task.h"

namespace Frame = FCProtocol::Frame;

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // First byte: the task type of the request (out-of-range types make an empty request).
    FCProtocol::Task task(int(data[0] % 24), false);
    const QByteArray request = Frame::finished(task.txData);
    const QByteArray reply = fuzzBytes(data + 1, size - 1);

    const Frame::ReplyCheck check = Frame::checkReply(request, reply, task.headLength);
    if (check != Frame::ReplyOk) {
        FUZZ_CHECK(*Frame::replyCheckMessage(check) != '\0');
        return 0;
    }
    FUZZ_CHECK(!reply.isEmpty() && reply.size() % Frame::kReportDataSize == 0);
    const quint16 crc = FCProtocol::crc16(reply.constData(), 0, reply.size() - 2);
    FUZZ_CHECK(quint8(reply[reply.size() - 2]) == (crc & 0xFF) && quint8(reply[reply.size() - 1]) == (crc >> 8));
    for (int i = 0; i < task.headLength; ++i)
        FUZZ_CHECK((quint8(reply[i]) & (i == 0 ? 0x7F : 0xFF)) == quint8(task.txData[i]));

    // The reply cut into reports and joined again is the reply.
    QByteArray joined;
    for (const QByteArray& report : Frame::reports(reply, 0x01)) {
        FUZZ_CHECK(report.size() == Frame::kReportSize && report[0] == 0x01);
        joined += report.mid(1);
    }
    FUZZ_CHECK(joined == reply);
    return 0;
}
