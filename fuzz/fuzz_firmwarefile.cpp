// The firmware file check: any bytes written as a .bin file into a temporary folder. An
// accepted image is whole 2048-byte blocks taken from the file's end.

#include "fuzzcommon.h"

#include "engine/firmwareimage.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
QTemporaryDir* folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    silenceQtMessages();
    folder = new QTemporaryDir;
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString path = folder->filePath(QStringLiteral("firmware.bin"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();

    FirmwareImage image;
    const int result = image.checkBinFile(path);
    if (result != FirmwareImage::Ok) {
        FUZZ_CHECK(!image.isLoaded());
        return 0;
    }
    FUZZ_CHECK(image.isLoaded() && image.data.size() % FirmwareImage::kBlockSize == 0);
    FUZZ_CHECK(image.data.size() <= bytes.size() - FirmwareImage::kHeaderSize);
    FUZZ_CHECK(bytes.endsWith(image.data));
    FUZZ_CHECK((quint32(image.version) & FirmwareImage::kVersionMark) == FirmwareImage::kVersionMark);
    return 0;
}
