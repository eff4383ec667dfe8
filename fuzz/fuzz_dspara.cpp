// The DS_PARA decode of the parameter page: a decoded record encodes back to the same bytes.

#include "fuzzcommon.h"

#include "protocol/dspara.h"

using FCProtocol::DS_PARA;

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    DS_PARA record;
    const bool ok = DS_PARA::decode(payload, &record);
    FUZZ_CHECK(ok == (payload.size() >= DS_PARA::kSize));
    if (!ok) {
        FUZZ_CHECK(record == DS_PARA()); // untouched
        return 0;
    }
    FUZZ_CHECK(record.encode() == payload.left(DS_PARA::kSize));
    return 0;
}
