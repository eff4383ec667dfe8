// The scope's SCOPE_NAME_RD decode: at most 32 names, none empty, none holding a terminator.

#include "fuzzcommon.h"

#include "engine/scopereply.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    const QStringList names = ScopeReply::decodeNames(payload);
    FUZZ_CHECK(names.size() <= ScopeReply::kMaxChannels);
    int used = 0;
    for (const QString& name : names) {
        FUZZ_CHECK(!name.isEmpty() && !name.contains(QChar(0)));
        used += name.size() + 1;
    }
    FUZZ_CHECK(used <= payload.size() + 1);
    return 0;
}
