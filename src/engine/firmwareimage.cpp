#include "engine/firmwareimage.h"

#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

int FirmwareImage::checkBinFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        qDebug() << "path is not file";
        return NotAFile;
    }
    // No controller has that much flash; a huge file is not read into memory at all.
    if (info.size() > kMaxFileSize) {
        qDebug() << "bin file too large";
        return FileTooLarge;
    }

    QByteArray bytes;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        // In pieces: read(kMaxFileSize + 1) would set aside the whole 16 MiB for a file of a
        // few hundred KiB, on every check.
        constexpr qint64 kPiece = 256 * 1024;
        while (bytes.size() <= kMaxFileSize) {
            const QByteArray piece = file.read(qMin(kPiece, kMaxFileSize + 1 - bytes.size()));
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
        file.close();
    }
    if (bytes.size() > kMaxFileSize) { // grew while we looked
        qDebug() << "bin file too large";
        return FileTooLarge;
    }

    // Fields past the end of the bytes read as 0.
    QByteArray header = bytes.left(kHeaderSize);
    header.append(QByteArray(kHeaderSize - header.size(), '\0'));
    QDataStream in(header);
    in.setByteOrder(QDataStream::BigEndian);
    quint32 magic = 0;
    qint32 word = 0;
    quint16 check = 0;
    qint32 length = 0;
    in >> magic >> word >> check >> length;

    if (magic != kMagic) {
        qDebug() << "bin file wrong head";
        return WrongHead;
    }
    if ((quint32(word) & kVersionMark) != kVersionMark) {
        qDebug() << "bin file wrong version";
        return WrongVersion;
    }
    if ((length & (kBlockSize - 1)) != 0) {
        qDebug() << "bin file data wrong length";
        return WrongLength;
    }
    // An image that is empty or reaches into the header (or before the file) would make the
    // bootloader write bytes that are not firmware.
    if (length <= 0) {
        qDebug() << "bin file data empty";
        return EmptyImage;
    }
    if (length > bytes.size() - kHeaderSize) {
        qDebug() << "bin file data beyond file end";
        return ImageTooLong;
    }

    this->path = path;
    version = word;
    checkValue = check;
    data = bytes.right(length);
    return Ok;
}
