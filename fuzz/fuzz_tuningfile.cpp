// The tuning-file load: any bytes as a file. A file that loads saves back to one that loads
// the same setup, every section of it.

#include "fuzzcommon.h"

#include "engine/tuningfile.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The page refuses larger files before reading them.
    if (size > size_t(TuningFile::kMaxBytes))
        return 0;
    const TuningFile::Result result = TuningFile::parse(fuzzBytes(data, size));
    if (!result.ok()) {
        if (result.problem == TuningFile::Problem::Missing || result.problem == TuningFile::Problem::NotANumber
            || result.problem == TuningFile::Problem::NotInteger || result.problem == TuningFile::Problem::OutOfRange)
            FUZZ_CHECK(TuningFile::fieldNames().contains(result.field) || result.field == QLatin1String("parameters"));
        if (result.problem == TuningFile::Problem::NotASection)
            FUZZ_CHECK(QStringList({"parameters", "radio", "airframe"}).contains(result.field));
        return 0;
    }
    const QByteArray saved = TuningFile::toJson(result.setup, {QStringLiteral("board"), QDateTime(), QString()});
    const TuningFile::Result again = TuningFile::parse(saved);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.setup == result.setup);
    FUZZ_CHECK(TuningFile::differingValues(again.record, result.record) == 0);
    return 0;
}
