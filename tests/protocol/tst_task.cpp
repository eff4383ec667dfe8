#include "protocol/task.h"

#include <QtTest>

using FCProtocol::Task;

// One transaction object: the frame id written by the constructor, the streams' format.
class tst_task : public QObject
{
    Q_OBJECT

private slots:
    void constructorWritesTheFrameId_data();
    void constructorWritesTheFrameId();
    void invalidTypeLeavesTheRequestEmpty_data();
    void invalidTypeLeavesTheRequestEmpty();
    void streamsAreLittleEndianSinglePrecision();
    void replyStreamReadsBehindTheHead();
};

void tst_task::constructorWritesTheFrameId_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("urgent");
    QTest::addColumn<QByteArray>("head");

    QTest::newRow("INFO_RD") << int(FCProtocol::INFO_RD) << false << QByteArray::fromHex("0500");
    QTest::newRow("SCOPE_NAME_RD") << int(FCProtocol::SCOPE_NAME_RD) << false << QByteArray::fromHex("4000");
    QTest::newRow("STATUS_RD") << int(FCProtocol::STATUS_RD) << false << QByteArray::fromHex("0000");
    QTest::newRow("urgent STORE") << int(FCProtocol::STORE) << true << QByteArray::fromHex("0303");
}

void tst_task::constructorWritesTheFrameId()
{
    QFETCH(int, type);
    QFETCH(bool, urgent);
    QFETCH(QByteArray, head);

    Task task(type, urgent);
    QCOMPARE(task.type, type);
    QCOMPARE(task.urgent, urgent);
    QCOMPARE(task.txData, head);
    QCOMPARE(task.headLength, 2);
    QCOMPARE(task.status, 0);
    QVERIFY(task.rxData.isEmpty());
}

void tst_task::invalidTypeLeavesTheRequestEmpty_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("20") << 20;
    QTest::newRow("-1") << -1;
    QTest::newRow("255") << 255;
}

void tst_task::invalidTypeLeavesTheRequestEmpty()
{
    QFETCH(int, type);
    QTest::ignoreMessage(QtDebugMsg, "invalid frame id!");
    Task task(type, false);
    QVERIFY(task.txData.isEmpty());
    QCOMPARE(task.headLength, 0);
    QCOMPARE(task.status, 0);
}

void tst_task::streamsAreLittleEndianSinglePrecision()
{
    Task task(FCProtocol::PARA_WR, true);
    task.txStream << qint8(-85) << qint16(0x1234) << qint32(0x0A0B0C0D) << 1.5f;
    QCOMPARE(task.txData, QByteArray::fromHex("0101" "ab" "3412" "0d0c0b0a" "0000c03f"));
}

void tst_task::replyStreamReadsBehindTheHead()
{
    Task task(FCProtocol::STATUS_RD, false);
    task.rxData = QByteArray::fromHex("0000" "0000803f" "07");
    task.rxStream.device()->seek(task.headLength);
    float w = 0;
    qint8 mode = 0;
    task.rxStream >> w >> mode;
    QCOMPARE(w, 1.0f);
    QCOMPARE(mode, qint8(7));
    QCOMPARE(task.rxStream.status(), QDataStream::Ok);
}

QTEST_GUILESS_MAIN(tst_task)
#include "tst_task.moc"
