#include "protocol/crc16.h"
#include "protocol/frame.h"
#include "protocol/frameids.h"

#include <QtTest>

namespace Frame = FCProtocol::Frame;

// Request finishing and reply acceptance, as pure functions over byte arrays.
class tst_frame : public QObject
{
    Q_OBJECT

private slots:
    void paddingLength_data();
    void paddingLength();
    void infoRequestOnTheWire();
    void storeRequestBytes();
    void blockProgGoesOutAs33Reports();
    void reportsCarryTheReportId();
    void frameIdTable_data();
    void frameIdTable();
    void checkReply_data();
    void checkReply();
    void replyMessages();

private:
    static QByteArray withCrc(QByteArray frame);
};

QByteArray tst_frame::withCrc(QByteArray frame)
{
    const quint16 crc = FCProtocol::crc16(frame.constData(), 0, frame.size());
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

void tst_frame::paddingLength_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("padding");
    QTest::addColumn<int>("total");

    QTest::newRow("frame id only") << 2 << 60 << 64;
    QTest::newRow("one command byte") << 3 << 59 << 64;
    QTest::newRow("61 bytes fill one report") << 61 << 1 << 64;
    QTest::newRow("62 bytes never get 0 padding") << 62 << 64 << 128;
    QTest::newRow("63 bytes") << 63 << 63 << 128;
    QTest::newRow("PARA_WR 91 bytes") << 91 << 35 << 128;
    QTest::newRow("BLOCK_PROG 2054 bytes") << 2054 << 56 << 2112;
    QTest::newRow("RC_WR 10 bytes") << 10 << 52 << 64;
}

void tst_frame::paddingLength()
{
    QFETCH(int, length);
    QFETCH(int, padding);
    QFETCH(int, total);
    QCOMPARE(Frame::paddingLength(length), padding);
    const QByteArray frame = Frame::finished(QByteArray(length, '\x11'));
    QCOMPARE(frame.size(), total);
    QVERIFY(frame.mid(length, padding) == QByteArray(padding, '\0'));
}

void tst_frame::infoRequestOnTheWire()
{
    const QByteArray frame = Frame::finished(QByteArray::fromHex("0500"));
    QCOMPARE(frame, QByteArray::fromHex("0500") + QByteArray(60, '\0') + QByteArray::fromHex("02ae"));

    const QList<QByteArray> reports = Frame::reports(frame, 0x00);
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.first().size(), 65);
    QCOMPARE(reports.first(), QByteArray(1, '\0') + frame);
}

void tst_frame::storeRequestBytes()
{
    const QByteArray frame = Frame::finished(QByteArray::fromHex("0303ab"));
    QCOMPARE(frame, QByteArray::fromHex("0303ab") + QByteArray(59, '\0') + QByteArray::fromHex("8f8d"));
}

void tst_frame::blockProgGoesOutAs33Reports()
{
    QByteArray request = QByteArray::fromHex("0401") + QByteArray::fromHex("00080000");
    QByteArray image(2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 7);
    request += image;
    QCOMPARE(request.size(), 2054);

    const QByteArray frame = Frame::finished(request);
    const QList<QByteArray> reports = Frame::reports(frame, 0x01);
    QCOMPARE(reports.size(), 33);
    QByteArray reassembled;
    for (const QByteArray& report : reports) {
        QCOMPARE(report.size(), 65);
        QCOMPARE(quint8(report[0]), quint8(0x01));
        reassembled += report.mid(1);
    }
    QCOMPARE(reassembled, frame);
}

void tst_frame::reportsCarryTheReportId()
{
    const QByteArray frame = Frame::finished(QByteArray::fromHex("0100"));
    QCOMPARE(quint8(Frame::reports(frame, 0x00).first()[0]), quint8(0x00));
    QCOMPARE(quint8(Frame::reports(frame, 0x01).first()[0]), quint8(0x01));
}

void tst_frame::frameIdTable_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("classByte");
    QTest::addColumn<int>("idByte");

    const struct { const char* name; int type, cls, id; } rows[] = {
        {"STATUS_RD", FCProtocol::STATUS_RD, 0x00, 0x00},
        {"PARA_RD", FCProtocol::PARA_RD, 0x01, 0x00},
        {"PARA_WR", FCProtocol::PARA_WR, 0x01, 0x01},
        {"RC_RD", FCProtocol::RC_RD, 0x02, 0x00},
        {"RC_WR", FCProtocol::RC_WR, 0x02, 0x01},
        {"RC_CALI", FCProtocol::RC_CALI, 0x02, 0x02},
        {"TYPE_02_03", FCProtocol::TYPE_02_03, 0x02, 0x03},
        {"HORIZON_CALI", FCProtocol::HORIZON_CALI, 0x03, 0x00},
        {"FRAME_RW", FCProtocol::FRAME_RW, 0x03, 0x01},
        {"MOTOR_TEST", FCProtocol::MOTOR_TEST, 0x03, 0x02},
        {"STORE", FCProtocol::STORE, 0x03, 0x03},
        {"DEFAULT_RESTORE", FCProtocol::DEFAULT_RESTORE, 0x03, 0x04},
        {"TYPE_03_05", FCProtocol::TYPE_03_05, 0x03, 0x05},
        {"BOOT_JUMP", FCProtocol::BOOT_JUMP, 0x04, 0x00},
        {"BLOCK_PROG", FCProtocol::BLOCK_PROG, 0x04, 0x01},
        {"VERIFY", FCProtocol::VERIFY, 0x04, 0x02},
        {"FW_INFO_RD", FCProtocol::FW_INFO_RD, 0x04, 0x03},
        {"INFO_RD", FCProtocol::INFO_RD, 0x05, 0x00},
        {"SCOPE_NAME_RD", FCProtocol::SCOPE_NAME_RD, 0x40, 0x00},
        {"SCOPE_DATA_RD", FCProtocol::SCOPE_DATA_RD, 0x40, 0x01},
    };
    int expectedType = 0;
    for (const auto& row : rows) {
        QCOMPARE(row.type, expectedType++);
        QTest::newRow(row.name) << row.type << row.cls << row.id;
    }
}

void tst_frame::frameIdTable()
{
    QFETCH(int, type);
    QFETCH(int, classByte);
    QFETCH(int, idByte);
    FCProtocol::FrameId id{};
    QVERIFY(FCProtocol::frameIdOf(type, &id));
    QCOMPARE(int(id.classByte), classByte);
    QCOMPARE(int(id.idByte), idByte);
    QCOMPARE(FCProtocol::taskTypeOf(quint8(classByte), quint8(idByte)), type);
    QCOMPARE(FCProtocol::taskTypeOf(quint8(classByte | 0x80), quint8(idByte)), type);
}

void tst_frame::checkReply_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("headLength");
    QTest::addColumn<int>("status");

    const QByteArray info = Frame::finished(QByteArray::fromHex("0500"));
    const QByteArray goodReply = withCrc(QByteArray::fromHex("0500") + QByteArray(60, '\x01'));

    QTest::newRow("echo accepted") << info << goodReply << 2 << 0;
    QTest::newRow("bit 7 of the class byte is ignored")
        << info << withCrc(QByteArray::fromHex("8500") + QByteArray(60, '\0')) << 2 << 0;
    QTest::newRow("two-report reply") << info
        << withCrc(QByteArray::fromHex("0500") + QByteArray(124, '\x02')) << 2 << 0;
    QTest::newRow("empty reply") << info << QByteArray() << 2 << -4;
    QTest::newRow("65 bytes rejected before the CRC")
        << info << (goodReply + QByteArray(1, '\0')) << 2 << -4;
    QTest::newRow("63 bytes") << info << goodReply.left(63) << 2 << -4;
    QByteArray badCrc = goodReply;
    badCrc[63] = char(badCrc[63] ^ 0x01);
    QTest::newRow("wrong CRC even though the head matches") << info << badCrc << 2 << -3;
    QByteArray badBody = goodReply;
    badBody[10] = char(0x7F);
    QTest::newRow("corrupted payload") << info << badBody << 2 << -3;
    QTest::newRow("id byte differs")
        << info << withCrc(QByteArray::fromHex("0501") + QByteArray(60, '\0')) << 2 << -5;
    QTest::newRow("class byte differs")
        << info << withCrc(QByteArray::fromHex("0400") + QByteArray(60, '\0')) << 2 << -5;
    QTest::newRow("bit 7 on the id byte is not ignored")
        << info << withCrc(QByteArray::fromHex("0580") + QByteArray(60, '\0')) << 2 << -5;
    QTest::newRow("no head to compare") << QByteArray()
        << withCrc(QByteArray::fromHex("0500") + QByteArray(60, '\0')) << 0 << 0;
    QTest::newRow("missing request bytes compare as zero") << QByteArray::fromHex("00")
        << withCrc(QByteArray(62, '\0')) << 2 << 0;
}

void tst_frame::checkReply()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(int, headLength);
    QFETCH(int, status);
    QCOMPARE(int(Frame::checkReply(request, reply, headLength)), status);
}

void tst_frame::replyMessages()
{
    QCOMPARE(QByteArray(Frame::replyCheckMessage(Frame::ReplyWrongLength)), QByteArray("Read Wrong Len!"));
    QCOMPARE(QByteArray(Frame::replyCheckMessage(Frame::ReplyWrongCrc)), QByteArray("Read Wrong Crc!"));
    QCOMPARE(QByteArray(Frame::replyCheckMessage(Frame::ReplyWrongEcho)), QByteArray("Ack Frame Wrong!"));
}

QTEST_APPLESS_MAIN(tst_frame)
#include "tst_frame.moc"
