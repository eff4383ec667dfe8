// The scope's SCOPE_DATA_RD decode for any channel count: one float per channel or nothing.

#include "fuzzcommon.h"

#include "engine/scopereply.h"

#include <cstring>

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // First byte: the channel count the names reply gave (0..kMaxChannels, a few more to
    // see a payload too short for them).
    const int channels = data[0] % (ScopeReply::kMaxChannels + 8);
    const QByteArray payload = fuzzBytes(data + 1, size - 1);
    QVector<float> samples{1.0f};
    const bool ok = ScopeReply::decodeSamples(payload, channels, &samples);
    FUZZ_CHECK(ok == (payload.size() >= 4 * channels));
    if (!ok) {
        FUZZ_CHECK(samples.isEmpty());
        return 0;
    }
    FUZZ_CHECK(samples.size() == channels);
    for (int i = 0; i < channels; ++i)
        FUZZ_CHECK(std::memcmp(&samples[i], payload.constData() + 4 * i, 4) == 0);
    return 0;
}
