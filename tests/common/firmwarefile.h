#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QSettings>

// A firmware .bin file: the big-endian header (magic, version word, check value, length), then
// the image.
inline QByteArray binFile(quint32 version, quint16 check, const QByteArray& image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(0x1234ABCD) << version << check << qint32(image.size());
    return bytes + image;
}

// `blocks` 2048-byte blocks whose bytes differ from block to block.
inline QByteArray imageOf(int blocks, int seed = 1)
{
    QByteArray image(blocks * 2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 31 + seed * 17 + i / 2048) & 0xFF);
    return image;
}

// Writes the file and stores its path as the firmware page's last file.
inline bool storeBinFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    QSettings().setValue(QStringLiteral("firmware/path"), path);
    return true;
}
