// The STATUS_RD decode of the status page, and the mode and lock texts it shows.

#include "fuzzcommon.h"

#include "protocol/helper.h"
#include "protocol/replydecode.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    FCProtocol::ReplyDecode::StatusRecord record;
    const bool ok = FCProtocol::ReplyDecode::decodeStatus(payload, &record);
    FUZZ_CHECK(ok == (payload.size() >= 30));
    if (!ok)
        return 0;
    FUZZ_CHECK(record.flyMode == quint8(payload[28]) && record.lockState == quint8(payload[29]));
    FUZZ_CHECK(!FCProtocol::Helper::flyModeName(record.flyMode).isEmpty());
    FUZZ_CHECK(!FCProtocol::Helper::lockStateName(record.lockState).isEmpty());
    return 0;
}
