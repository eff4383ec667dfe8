#include "protocol/frame.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"
#include "virtualfc.h"

#include <QElapsedTimer>
#include <QtTest>

using FCProtocol::Task;
using VirtualFC::Fault;

// The HID transport against the virtual flight controller: the bytes it writes, how it
// assembles replies, and every row of its failure table.
class tst_transport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void infoRequestOnTheWire();
    void storeRequestOnTheWire();
    void blockProgGoesOutAs33Reports();
    void replyWithBit7OnTheClassByteIsAccepted();

    void failureTable_data();
    void failureTable();

    void openFailsThenReopens();
    void reportIdFlipsOnFailedWriteAndBack();
    void readErrorClosesWithoutFlipping();
    void noAnswerTimesOutAfterTheReplyWait();
    void replyAssembledAcrossShortGap();
    void replyCutByLongGap();

private:
    static QByteArray frameOf(int type, const QByteArray& payload = QByteArray());
};

void tst_transport::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
}

QByteArray tst_transport::frameOf(int type, const QByteArray& payload)
{
    Task task(type, false);
    return FCProtocol::Frame::finished(task.txData + payload);
}

void tst_transport::infoRequestOnTheWire()
{
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "USB Device Open Success!");
    usb.RunTask(&task);

    QCOMPARE(task.status, 0);
    const QByteArray expected = QByteArray::fromHex("000500") + QByteArray(60, '\0') + QByteArray::fromHex("02ae");
    QCOMPARE(VirtualFC::writtenReports(), QList<QByteArray>{expected});
    QCOMPARE(task.txData, expected.mid(1));
    QCOMPARE(task.rxData.size(), 64);
    QCOMPARE(task.rxData.left(2), QByteArray::fromHex("0500"));
    QVERIFY(usb.isOpen());
    QCOMPARE(VirtualFC::openCount(), 1);
}

void tst_transport::storeRequestOnTheWire()
{
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::STORE, true);
    task.txStream << qint8(-85);
    usb.RunTask(&task);

    QCOMPARE(task.status, 0);
    QCOMPARE(VirtualFC::writtenReports(),
             QList<QByteArray>{QByteArray::fromHex("000303ab") + QByteArray(59, '\0') + QByteArray::fromHex("8f8d")});
}

void tst_transport::blockProgGoesOutAs33Reports()
{
    VirtualFC::setBoardMode(1); // only the bootloader programs blocks
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::BLOCK_PROG, true);
    task.txStream << qint32(2048);
    QByteArray block(2048, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i ^ 0x5A);
    task.txData.append(block);
    QCOMPARE(task.txData.size(), 2054);
    usb.RunTask(&task);

    QCOMPARE(task.status, 0);
    const QList<QByteArray> reports = VirtualFC::writtenReports();
    QCOMPARE(reports.size(), 33);
    QByteArray wire;
    for (const QByteArray& report : reports) {
        QCOMPARE(report.size(), 65);
        QCOMPARE(report[0], '\0');
        wire += report.mid(1);
    }
    QCOMPARE(wire, frameOf(FCProtocol::BLOCK_PROG, QByteArray::fromHex("00080000") + block));
    QCOMPARE(quint8(task.rxData[2]), quint8(0xAB));
    QCOMPARE(VirtualFC::flash().mid(2048, 2048), block);
}

void tst_transport::replyWithBit7OnTheClassByteIsAccepted()
{
    VirtualFC::setReplyClassBit7(true);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    usb.RunTask(&task);
    QCOMPARE(quint8(task.rxData[0]), quint8(0x85));
    QCOMPARE(task.status, 0);
}

void tst_transport::failureTable_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("openAfter");
    QTest::addColumn<bool>("flagAfter");
    QTest::addColumn<int>("toRecover");

    // A failed write flips the report id, so the board (still on id 0) refuses the next
    // transaction too; the one after it, back on id 0, goes through.
    QTest::newRow("empty request") << -1 << 0 << 20 << "Wrong Tx Length!" << -2 << true << false << 1;
    QTest::newRow("write fails") << int(Fault::WriteFail) << 0 << int(FCProtocol::INFO_RD)
                                 << "virtual controller: write failed" << -1 << false << true << 2;
    QTest::newRow("short write") << int(Fault::ShortWrite) << 32 << int(FCProtocol::INFO_RD)
                                 << "Write Wrong Len! 32" << -1 << true << false << 1;
    QTest::newRow("read error") << int(Fault::ReadError) << 0 << int(FCProtocol::INFO_RD)
                                << "virtual controller: read failed" << -1 << false << false << 1;
    QTest::newRow("65-byte reply") << int(Fault::BadLength) << 0 << int(FCProtocol::INFO_RD)
                                   << "Read Wrong Len!" << -4 << true << false << 1;
    QTest::newRow("wrong CRC") << int(Fault::BadCrc) << 0 << int(FCProtocol::INFO_RD)
                               << "Read Wrong Crc!" << -3 << true << false << 1;
    QTest::newRow("wrong echo") << int(Fault::BadEcho) << 0 << int(FCProtocol::STATUS_RD)
                                << "Ack Frame Wrong!" << -5 << true << false << 1;
}

void tst_transport::failureTable()
{
    QFETCH(int, fault);
    QFETCH(int, param);
    QFETCH(int, type);
    QFETCH(QString, log);
    QFETCH(int, status);
    QFETCH(bool, openAfter);
    QFETCH(bool, flagAfter);
    QFETCH(int, toRecover);

    if (fault >= 0)
        VirtualFC::setFault(Fault(fault), 1, param);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    if (type >= FCProtocol::kTaskTypeCount)
        QTest::ignoreMessage(QtDebugMsg, "invalid frame id!");
    Task task(type, false);
    if (!log.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, log.toUtf8().constData());
    usb.RunTask(&task);

    QCOMPARE(task.status, status);
    QCOMPARE(usb.isOpen(), openAfter);
    QCOMPARE(VirtualFC::isOpen(), openAfter);
    QCOMPARE(usb.reportIdFlag, flagAfter);

    // The link recovers by itself, without a retry inside the transport.
    for (int i = 1; i <= toRecover; ++i) {
        Task next(FCProtocol::INFO_RD, false);
        usb.RunTask(&next);
        QCOMPARE(next.status, i == toRecover ? 0 : -1);
    }
}

void tst_transport::openFailsThenReopens()
{
    VirtualFC::setPlugged(false);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    for (int i = 0; i < 2; ++i) {
        Task task(FCProtocol::INFO_RD, false);
        QTest::ignoreMessage(QtDebugMsg, "USB Device Open Fail!");
        usb.RunTask(&task);
        QCOMPARE(task.status, -1);
        QVERIFY(!usb.isOpen());
        QVERIFY(task.rxData.isEmpty());
    }
    QVERIFY(VirtualFC::writtenReports().isEmpty());

    VirtualFC::setPlugged(true);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "USB Device Open Success!");
    usb.RunTask(&task);
    QCOMPARE(task.status, 0);
    QVERIFY(usb.isOpen());
}

void tst_transport::reportIdFlipsOnFailedWriteAndBack()
{
    VirtualFC::setReportIdMode(1);
    QtUsbHID usb(0x0483, 0x5750, nullptr);

    Task first(FCProtocol::INFO_RD, false);
    usb.RunTask(&first);
    QCOMPARE(first.status, -1);
    QVERIFY(!usb.isOpen());
    QVERIFY(usb.reportIdFlag);
    QCOMPARE(VirtualFC::closeCount(), 1);

    // Reopened, written with report id 1, read 65 bytes at a time with the id dropped.
    Task second(FCProtocol::INFO_RD, false);
    usb.RunTask(&second);
    QCOMPARE(second.status, 0);
    QCOMPARE(VirtualFC::openCount(), 2);
    QCOMPARE(quint8(VirtualFC::writtenReports().last()[0]), quint8(0x01));
    QCOMPARE(second.rxData.size(), 64);
    QCOMPARE(second.rxData, VirtualFC::replies().last());

    // The board switches back: the next failed write flips to unnumbered reports again.
    VirtualFC::setReportIdMode(0);
    Task third(FCProtocol::INFO_RD, false);
    usb.RunTask(&third);
    QCOMPARE(third.status, -1);
    QVERIFY(!usb.reportIdFlag);
    Task fourth(FCProtocol::INFO_RD, false);
    usb.RunTask(&fourth);
    QCOMPARE(fourth.status, 0);
    QCOMPARE(quint8(VirtualFC::writtenReports().last()[0]), quint8(0x00));
}

void tst_transport::readErrorClosesWithoutFlipping()
{
    VirtualFC::setReportIdMode(1);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    usb.reportIdFlag = true;
    VirtualFC::setFault(Fault::ReadError, 1, 0);
    Task task(FCProtocol::INFO_RD, false);
    usb.RunTask(&task);
    QCOMPARE(task.status, -1);
    QVERIFY(!usb.isOpen());
    QVERIFY(usb.reportIdFlag);
}

void tst_transport::noAnswerTimesOutAfterTheReplyWait()
{
    VirtualFC::setFault(Fault::NoAnswer, 1);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "Read Time Out!");
    QElapsedTimer clock;
    clock.start();
    usb.RunTask(&task);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(task.status, -2);
    QVERIFY(task.rxData.isEmpty());
    QVERIFY2(elapsed >= QtUsbHID::kReplyWaitMs, qPrintable(QString::number(elapsed)));
    QVERIFY(usb.isOpen());
    QCOMPARE(VirtualFC::closeCount(), 0);
}

void tst_transport::replyAssembledAcrossShortGap()
{
    VirtualFC::setFault(Fault::SplitReply, 1, 3);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    usb.RunTask(&task);
    QCOMPARE(task.status, 0);
    QCOMPARE(task.rxData.size(), 128);
    QCOMPARE(task.rxData, VirtualFC::replies().last());
}

void tst_transport::replyCutByLongGap()
{
    VirtualFC::setFault(Fault::SplitReply, 1, 40);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "Read Wrong Crc!");
    usb.RunTask(&task);
    // Only the first report belongs to this transaction; its last two bytes are no CRC.
    QCOMPARE(task.rxData.size(), 64);
    QCOMPARE(task.status, -3);
    QVERIFY(usb.isOpen());
}

QTEST_GUILESS_MAIN(tst_transport)
#include "tst_transport.moc"
