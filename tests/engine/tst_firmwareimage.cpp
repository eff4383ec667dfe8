// The firmware file check: which files become the image that is written to the controller's
// flash, which are refused with which result and log line, and that a refusal keeps the image.
#include "engine/firmwareimage.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A header in the file's byte order, `gap` bytes of filler, then `imageBytes` image bytes that
// never repeat a stretch, so that a piece read twice or out of place shows.
QByteArray binFile(quint32 magic, quint32 version, quint16 check, qint32 length, int gap,
                   int imageBytes, QDataStream::ByteOrder order = QDataStream::BigEndian)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(order);
    out << magic << version << check << length;
    bytes.append(QByteArray(gap, char(0x5A)));
    for (int i = 0; i < imageBytes; ++i)
        bytes.append(char((quint32(i) * 2654435761u) >> 24));
    return bytes;
}

} // namespace

class TestFirmwareImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();
    void refusalKeepsTheLoadedImage();
    void hugeFileIsRefusedUnread();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir;
};

void TestFirmwareImage::initTestCase()
{
    QVERIFY(dir.isValid());
}

QString TestFirmwareImage::write(const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void TestFirmwareImage::check_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: the path column alone names the target
    QTest::addColumn<QString>("path");     // "<dir>" for the temporary folder, "" for none
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("blocks");

    const quint32 magic = 0x1234ABCD;
    const quint32 version = 0xF0300106;
    QTest::newRow("header and 4096 image bytes")
        << binFile(magic, version, 0xBEEF, 4096, 0, 4096) << "" << 0 << "" << 2;
    QTest::newRow("version bits 1110")
        << binFile(magic, 0xE0300106, 0xBEEF, 4096, 0, 4096) << "" << -3
        << "bin file wrong version" << 0;
    QTest::newRow("L = 3000") << binFile(magic, version, 0xBEEF, 3000, 0, 3000) << "" << -6
                              << "bin file data wrong length" << 0;
    QTest::newRow("100 extra bytes before the image")
        << binFile(magic, version, 0xBEEF, 4096, 100, 4096) << "" << 0 << "" << 2;
    // The file is read in 256 KiB pieces.
    QTest::newRow("600 KiB image, read in three pieces")
        << binFile(magic, version, 0xBEEF, 300 * 2048, 100, 300 * 2048) << "" << 0 << "" << 300;
    QTest::newRow("little-endian header")
        << binFile(magic, version, 0xBEEF, 4096, 0, 4096, QDataStream::LittleEndian) << "" << -2
        << "bin file wrong head" << 0;
    QTest::newRow("directory") << QByteArray() << "<dir>" << -1 << "path is not file" << 0;
    QTest::newRow("empty path") << QByteArray() << "" << -1 << "path is not file" << 0;
    QTest::newRow("missing file") << QByteArray() << "<dir>/none.bin" << -1 << "path is not file" << 0;
    QTest::newRow("L = 0") << binFile(magic, version, 0xBEEF, 0, 0, 4096) << "" << -4
                           << "bin file data empty" << 0;
    QTest::newRow("L negative") << binFile(magic, version, 0xBEEF, -2048, 0, 4096) << "" << -4
                                << "bin file data empty" << 0;
    QTest::newRow("L beyond the file") << binFile(magic, version, 0xBEEF, 6144, 0, 4096) << ""
                                       << -5 << "bin file data beyond file end" << 0;
    // Counting the header as image would already be bytes that are not firmware.
    QTest::newRow("L takes in the header") << binFile(magic, version, 0xBEEF, 2048, 0, 2040)
                                           << "" << -5 << "bin file data beyond file end" << 0;
    QTest::newRow("file under 14 bytes")
        << binFile(magic, version, 0xBEEF, 4096, 0, 0).left(10) << "" << -4
        << "bin file data empty" << 0;
    QTest::newRow("file under 4 bytes") << QByteArray("\x12\x34", 2) << "" << -2
                                        << "bin file wrong head" << 0;
}

void TestFirmwareImage::check()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, path);
    QFETCH(int, result);
    QFETCH(QString, log);
    QFETCH(int, blocks);

    if (path.startsWith(QLatin1String("<dir>")))
        path.replace(QLatin1String("<dir>"), dir.path());
    else if (!file.isEmpty())
        path = write(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".bin"), file);
    if (!log.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(log));

    FirmwareImage image;
    QCOMPARE(image.checkBinFile(path), result);
    QCOMPARE(image.blockCount(), blocks);
    if (result != 0) {
        QVERIFY(image.data.isEmpty());
        QVERIFY(image.path.isEmpty());
        return;
    }
    // The image is the file's last L bytes, whatever lies between it and the header.
    QCOMPARE(image.data, file.right(blocks * 2048));
    QCOMPARE(quint32(image.version), 0xF0300106u);
    QCOMPARE(image.checkValue, quint16(0xBEEF));
    QCOMPARE(image.path, path);
}

void TestFirmwareImage::refusalKeepsTheLoadedImage()
{
    FirmwareImage image;
    const QString good = write(QStringLiteral("good.bin"),
                               binFile(0x1234ABCD, 0xF0280001, 0x1234, 2048, 0, 2048));
    QCOMPARE(image.checkBinFile(good), 0);
    const QByteArray data = image.data;

    const QString bad = write(QStringLiteral("bad.bin"),
                              binFile(0x1234ABCD, 0x70280002, 0x4321, 4096, 0, 4096));
    QTest::ignoreMessage(QtDebugMsg, "bin file wrong version");
    QCOMPARE(image.checkBinFile(bad), -3);
    QCOMPARE(image.data, data);
    QCOMPARE(quint32(image.version), 0xF0280001u);
    QCOMPARE(image.checkValue, quint16(0x1234));
    QCOMPARE(image.path, good);
}

namespace {

// What this process has read from files so far (Linux).
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

void TestFirmwareImage::hugeFileIsRefusedUnread()
{
    // A valid header in front of more than 16 MiB: no flash is that large.
    QFile file(dir.filePath(QStringLiteral("huge.bin")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(binFile(0x1234ABCD, 0xF0300106, 0, 16 * 1024 * 1024, 0, 0)) == 14);
    QVERIFY(file.resize(16 * 1024 * 1024 + 15));
    file.close();

    FirmwareImage image;
    QTest::ignoreMessage(QtDebugMsg, "bin file too large");
    const qint64 before = bytesRead();
    QVERIFY(before >= 0);
    QCOMPARE(image.checkBinFile(file.fileName()), -7);
    // Not even the header was read.
    const qint64 read = bytesRead() - before;
    QVERIFY2(read < 4096, qPrintable(QString::number(read)));
    QVERIFY(image.data.isEmpty());
}

QTEST_GUILESS_MAIN(TestFirmwareImage)
#include "tst_firmwareimage.moc"
