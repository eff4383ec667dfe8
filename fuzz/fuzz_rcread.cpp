// The RC_RD decode of the radio page.

#include "fuzzcommon.h"

#include "protocol/helper.h"
#include "protocol/replydecode.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    FCProtocol::ReplyDecode::RcRecord record;
    const bool ok = FCProtocol::ReplyDecode::decodeRcRead(payload, &record);
    // Recognition byte, channel word, 8 x 5 int16, 7 trailing bytes.
    FUZZ_CHECK(ok == (payload.size() >= 1 + 4 + 80 + 7));
    if (!ok)
        return 0;
    FUZZ_CHECK(record.modeButton == qint8(payload[91]));
    FUZZ_CHECK(!FCProtocol::Helper::rcTypeName((record.channelWord >> 17) & 0x7).isEmpty());
    for (qint8 mode : record.positionModes)
        FUZZ_CHECK(!FCProtocol::Helper::flyModeTip(mode).isEmpty());
    return 0;
}
