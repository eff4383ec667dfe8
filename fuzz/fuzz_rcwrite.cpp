// The RC_WR decode of the radio page (the controller's echo of the written settings).

#include "fuzzcommon.h"

#include "protocol/replydecode.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    FCProtocol::ReplyDecode::RcWriteRecord record;
    const bool ok = FCProtocol::ReplyDecode::decodeRcWrite(payload, &record);
    FUZZ_CHECK(ok == (payload.size() >= 8));
    if (ok) {
        FUZZ_CHECK(record.positionModes[0] == qint8(payload[4]) && record.modeButton == qint8(payload[7]));
    }
    return 0;
}
