#include "protocol/crc16.h"

#include <QtTest>

// CRC-16/MODBUS as the controller computes it over every frame.
class tst_crc16 : public QObject
{
    Q_OBJECT

private slots:
    void checkValues_data();
    void checkValues();
    void tableMatchesBitwiseAlgorithm();
    void offsetAndCountSelectTheRange();
};

void tst_crc16::checkValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("crc");

    QTest::newRow("published check value") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("empty buffer keeps the initial value") << QByteArray() << 0xFFFF;
    QTest::newRow("single zero byte") << QByteArray(1, '\0') << 0x40BF;
    QTest::newRow("INFO_RD request") << (QByteArray::fromHex("0500") + QByteArray(60, '\0')) << 0xAE02;
    QTest::newRow("STORE request") << (QByteArray::fromHex("0303ab") + QByteArray(59, '\0')) << 0x8D8F;
}

void tst_crc16::checkValues()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, crc);
    QCOMPARE(int(FCProtocol::crc16(bytes.constData(), 0, bytes.size())), crc);
}

// Every table entry must equal the reflected 0xA001 polynomial applied bit by bit; a
// single wrong entry corrupts only frames that happen to hit it.
void tst_crc16::tableMatchesBitwiseAlgorithm()
{
    const quint16* table = FCProtocol::crc16Table();
    QCOMPARE(table[0], quint16(0x0000));
    QCOMPARE(table[1], quint16(0xC0C1));
    QCOMPARE(table[255], quint16(0x4040));
    for (int n = 0; n < 256; ++n) {
        quint16 value = quint16(n);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? quint16((value >> 1) ^ 0xA001) : quint16(value >> 1);
        QCOMPARE(table[n], value);
    }
    // Each single-byte message through the table equals the bitwise computation.
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        quint16 crc = 0xFFFF ^ quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
        QCOMPARE(FCProtocol::crc16(&byte, 0, 1), crc);
    }
}

void tst_crc16::offsetAndCountSelectTheRange()
{
    const QByteArray framed = QByteArray("xx123456789yy");
    QCOMPARE(FCProtocol::crc16(framed.constData(), 2, 9), quint16(0x4B37));
    QCOMPARE(FCProtocol::crc16(framed.constData(), 5, 0), quint16(0xFFFF));
}

QTEST_APPLESS_MAIN(tst_crc16)
#include "tst_crc16.moc"
