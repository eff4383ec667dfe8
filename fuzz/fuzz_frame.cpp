// The FRAME_RW decode of the airframe page.

#include "fuzzcommon.h"

#include "protocol/replydecode.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    FCProtocol::ReplyDecode::FrameRecord record;
    const bool ok = FCProtocol::ReplyDecode::decodeFrame(payload, &record);
    FUZZ_CHECK(ok == (payload.size() >= 3));
    if (ok)
        FUZZ_CHECK(record.airframe == qint8(payload[1]) && record.mounting == qint8(payload[2]));
    return 0;
}
