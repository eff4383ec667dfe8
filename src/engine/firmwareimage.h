#pragma once

#include <QByteArray>
#include <QString>

// A firmware .bin file as the bootloader takes it: a big-endian header (magic 0x1234ABCD,
// version word, check value, image length L) and the image in the file's last L bytes.
// Qt Core only, so tests and fuzzers can feed it any file.
class FirmwareImage
{
public:
    // Results of checkBinFile(), each with the debug line it writes.
    enum Result {
        Ok = 0,
        NotAFile = -1,      // "path is not file": no regular file there (an empty path included)
        WrongHead = -2,     // "bin file wrong head": magic not 0x1234ABCD (unreadable files too)
        WrongVersion = -3,  // "bin file wrong version": the top four version bits not all set
        EmptyImage = -4,    // "bin file data empty": L is 0 or negative
        ImageTooLong = -5,  // "bin file data beyond file end": L larger than the file minus the header
        WrongLength = -6,   // "bin file data wrong length": L not a multiple of 2048
        FileTooLarge = -7,  // "bin file too large": over 16 MiB, refused unread
    };

    static constexpr int kHeaderSize = 14;
    static constexpr int kBlockSize = 2048;
    static constexpr quint32 kMagic = 0x1234ABCD;
    static constexpr quint32 kVersionMark = 0xF0000000;
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    // Checks the file at `path`. On Ok the version word, check value and data are replaced
    // with the file's and the path is recorded; on any other result nothing changes.
    int checkBinFile(const QString& path);

    bool isLoaded() const { return !data.isEmpty(); }
    int blockCount() const { return data.size() / kBlockSize; }

    QString path;
    qint32 version = 0;
    quint16 checkValue = 0;
    QByteArray data;
};
