#include "pngwrite.h"

#include <QByteArray>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>

#include <array>

namespace Skin {

namespace {

quint32 crc32(const QByteArray &data)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : data)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

// Length, type, data and the CRC of type and data.
QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

} // namespace

bool writePng(const QImage &image, const QString &path)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width();
    const int height = argb.height();

    QByteArray rows;
    rows.reserve(height * (1 + width * 4));
    for (int y = 0; y < height; ++y) {
        rows.append('\0'); // filter type None
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = line[x];
            const char rgba[4] = {char(qRed(pixel)), char(qGreen(pixel)), char(qBlue(pixel)),
                                  char(qAlpha(pixel))};
            rows.append(rgba, 4);
        }
    }
    // qCompress gives a zlib stream behind a four-byte length of its own.
    const QByteArray zlibStream = qCompress(rows, 9).mid(4);

    // Width, height, bit depth 8, colour type 6 (RGBA), deflate, adaptive filtering method,
    // no interlace.
    QByteArray header = bigEndian(quint32(width)) + bigEndian(quint32(height));
    header.append(char(8)).append(char(6)).append(char(0)).append(char(0)).append(char(0));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("\x89PNG\r\n\x1a\n", 8);
    file.write(chunk("IHDR", header));
    file.write(chunk("IDAT", zlibStream));
    file.write(chunk("IEND", QByteArray()));
    return file.commit();
}

} // namespace Skin
