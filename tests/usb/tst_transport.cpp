#include "protocol/frame.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"
#include "virtualfc.h"

#include <QElapsedTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QtTest>

using FCProtocol::Task;
using VirtualFC::Fault;
using VirtualFC::WrongId;

Q_DECLARE_METATYPE(VirtualFC::Fault)
Q_DECLARE_METATYPE(VirtualFC::WrongId)

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
    void replugKeepsTheProvenReportId_data();
    void replugKeepsTheProvenReportId();
    void readErrorClosesWithoutFlipping();
    void noAnswerTimesOutAfterTheReplyWait();
    void replyAssembledAcrossShortGap();
    void replyCutByLongGap();
    void staleInputNeverPassesForAReply_data();
    void staleInputNeverPassesForAReply();
    void babblingDeviceEndsWithWrongLength_data();
    void babblingDeviceEndsWithWrongLength();
    void blockingHandleIsAFailedOpen();
    void lockHeldAcrossTheJump();

private:
    static QByteArray frameOf(int type, const QByteArray& payload = QByteArray());
    // Runs the transaction on a pool thread; false if it has not ended within `ms` (the
    // board is then unplugged so that the stuck read fails and the thread comes back).
    static bool runWithin(QtUsbHID* usb, Task* task, int ms);
    // The errorCode byte of a telemetry reply.
    static int errorCodeOf(const Task& task) { return task.rxData.size() > 3 ? quint8(task.rxData[3]) : -1; }
    static void setErrorCode(int code);
};

void tst_transport::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
}

bool tst_transport::runWithin(QtUsbHID* usb, Task* task, int ms)
{
    usb->handOver();
    QFuture<void> run = QtConcurrent::run([usb, task] { usb->RunTask(task); });
    if (QTest::qWaitFor([&run] { return run.isFinished(); }, ms)) {
        usb->takeBack();
        return true;
    }
    VirtualFC::setPlugged(false);
    run.waitForFinished();
    usb->takeBack();
    return false;
}

void tst_transport::setErrorCode(int code)
{
    FCProtocol::DS_INFO_RD info = VirtualFC::info();
    info.errorCode = quint8(code);
    VirtualFC::setInfo(info);
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

    // A board that refuses reports of the other id, so that a flipped flag shows at once.
    VirtualFC::setWrongId(WrongId::Refuse);
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
    // The whole request left the computer, unless it failed before its last report.
    QCOMPARE(task.sent, status < -2 || fault == int(Fault::ReadError));
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
        QVERIFY(!usb.isOpen() && usb.deviceMissing() && !task.sent);
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
    VirtualFC::setWrongId(WrongId::Refuse);
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

    // Another board, on unnumbered reports, plugged in its place: the proven id is kept
    // through the lost device and once more on the fresh handle; its second refusal flips it.
    VirtualFC::setPlugged(false);
    VirtualFC::setPlugged(true);
    VirtualFC::setReportIdMode(0);
    const QList<int> expected{-1, -1, -1, 0};
    const QList<bool> flagAfter{true, true, false, false};
    for (int i = 0; i < expected.size(); ++i) {
        Task next(FCProtocol::INFO_RD, false);
        usb.RunTask(&next);
        QCOMPARE(next.status, expected[i]);
        QCOMPARE(usb.reportIdFlag, flagAfter[i]);
    }
    QCOMPARE(quint8(VirtualFC::writtenReports().last()[0]), quint8(0x00));
}

void tst_transport::replugKeepsTheProvenReportId_data()
{
    QTest::addColumn<int>("boardId");
    QTest::addColumn<WrongId>("wrongId");
    QTest::addColumn<QList<int>>("finding"); // until the board's report id is found
    QTest::addColumn<int>("freshFails"); // handles whose first write fails after the replug
    QTest::addColumn<QList<int>>("back");
    // A report of the other id passes the bus and is garbage to this board: a flipped flag
    // would leave every later transaction unanswered.
    const QList<int> ok{0, 0, 0};
    QTest::newRow("unnumbered board, ignores id 1") << 0 << WrongId::Ignore << QList<int>{} << 0 << ok;
    QTest::newRow("unnumbered board, refuses id 1") << 0 << WrongId::Refuse << QList<int>{} << 0 << ok;
    QTest::newRow("numbered board, refuses id 0") << 1 << WrongId::Refuse << QList<int>{-1} << 0 << ok;
    QTest::newRow("numbered board, ignores id 0") << 1 << WrongId::Ignore << QList<int>{-2, -2} << 0 << ok;
    // The id this board answered before is kept through a failed first write on the fresh
    // handle.
    QTest::newRow("unnumbered board, first write after the replug fails")
        << 0 << WrongId::Ignore << QList<int>{} << 1 << QList<int>{-1, 0, 0};
}

void tst_transport::replugKeepsTheProvenReportId()
{
    QFETCH(int, boardId);
    QFETCH(WrongId, wrongId);
    QFETCH(QList<int>, finding);
    QFETCH(int, freshFails);
    QFETCH(QList<int>, back);
    VirtualFC::setReportIdMode(boardId);
    VirtualFC::setWrongId(wrongId);
    QtUsbHID usb(0x0483, 0x5750, nullptr);

    // A board that numbers its reports refuses or ignores id 0 until the transport flips.
    for (int status : finding) {
        Task tried(FCProtocol::INFO_RD, false);
        usb.RunTask(&tried);
        QCOMPARE(tried.status, status);
    }
    Task first(FCProtocol::INFO_RD, false);
    usb.RunTask(&first);
    QCOMPARE(first.status, 0);
    QCOMPARE(usb.reportIdFlag, boardId == 1);

    // The cable is pulled: the write on the old handle fails, the device is lost.
    VirtualFC::setPlugged(false);
    Task lost(FCProtocol::INFO_RD, false);
    usb.RunTask(&lost);
    QCOMPARE(lost.status, -1);
    QVERIFY(!usb.isOpen());
    QCOMPARE(usb.reportIdFlag, boardId == 1);
    Task away(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "USB Device Open Fail!");
    usb.RunTask(&away);
    QCOMPARE(away.status, -1);

    // Plugged back: the transactions go through with the board's report id, never stuck.
    VirtualFC::setPlugged(true);
    VirtualFC::setFault(Fault::WriteFailFresh, freshFails);
    VirtualFC::clearRecords();
    for (int status : back) {
        Task next(FCProtocol::INFO_RD, false);
        usb.RunTask(&next);
        QCOMPARE(next.status, status);
        if (status == 0)
            QCOMPARE(int(VirtualFC::writtenReports().last()[0]), boardId);
    }
    QCOMPARE(VirtualFC::openCount(), 1 + freshFails);
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

void tst_transport::staleInputNeverPassesForAReply_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("firstStatus");
    QTest::addColumn<QString>("firstLog");
    QTest::newRow("reply after the time-out") << Fault::LateReply << 1100 << -2 << "Read Time Out!";
    QTest::newRow("reply tail after the gap") << Fault::SplitReply << 40 << -3 << "Read Wrong Crc!";
}

void tst_transport::staleInputNeverPassesForAReply()
{
    QFETCH(Fault, fault);
    QFETCH(int, param);
    QFETCH(int, firstStatus);
    QFETCH(QString, firstLog);
    // The board takes 20 ms to answer, longer than the gap that ends a reply: input left
    // over from one transaction would be read as the whole reply of the next.
    VirtualFC::setTiming(0, 20000);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    setErrorCode(99);
    VirtualFC::setFault(fault, 1, param);
    Task first(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, firstLog.toUtf8().constData());
    usb.RunTask(&first);
    QCOMPARE(first.status, firstStatus);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::bufferedReports(), 1, 2000);

    // Same frame id every time: only the data tells whose reply it is.
    QTest::ignoreMessage(QtDebugMsg, "Stale Reports Dropped! 1");
    for (int i = 0; i < 10; ++i) {
        setErrorCode(i);
        Task next(FCProtocol::INFO_RD, false);
        usb.RunTask(&next);
        QCOMPARE(next.status, 0);
        QCOMPARE(errorCodeOf(next), i);
    }
    QVERIFY(usb.isOpen());
}

void tst_transport::babblingDeviceEndsWithWrongLength_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("maxBytes");
    // As fast as it is read: the size bound ends it; one report every 5 ms: the time bound.
    QTest::newRow("flood") << 0 << QtUsbHID::kMaxReplyBytes + 64;
    QTest::newRow("trickle") << 5 << QtUsbHID::kMaxReceiveMs / 5 * 64 + 64 * 64;
}

void tst_transport::babblingDeviceEndsWithWrongLength()
{
    QFETCH(int, intervalMs);
    QFETCH(int, maxBytes);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    VirtualFC::setFault(Fault::Babble, 1, intervalMs);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg, "Read Wrong Len!");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(runWithin(&usb, &task, QtUsbHID::kMaxReceiveMs + 2000));
    QVERIFY2(clock.elapsed() <= QtUsbHID::kMaxReceiveMs + 500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(task.status, -4);
    QVERIFY2(task.rxData.size() > 64 && task.rxData.size() <= maxBytes,
             qPrintable(QString::number(task.rxData.size())));
    QVERIFY(usb.isOpen());

    // The board calms down: what it left in the buffer is dropped and the link works.
    VirtualFC::clearFault(Fault::Babble);
    Task next(FCProtocol::INFO_RD, false);
    QVERIFY(runWithin(&usb, &next, 3000));
    QCOMPARE(next.status, 0);
    QCOMPARE(next.rxData, VirtualFC::replies().last());
}

void tst_transport::blockingHandleIsAFailedOpen()
{
    VirtualFC::setFault(Fault::NoNonblocking, 1);
    QtUsbHID usb(0x0483, 0x5750, nullptr);
    Task task(FCProtocol::INFO_RD, false);
    QTest::ignoreMessage(QtDebugMsg,
                         "USB Device Open Fail! virtual controller: cannot switch to non-blocking reads");
    QVERIFY(runWithin(&usb, &task, 3000));
    QCOMPARE(task.status, -1);
    QVERIFY(!usb.isOpen());
    QVERIFY(!VirtualFC::isOpen());
    QVERIFY(VirtualFC::writtenReports().isEmpty());

    Task next(FCProtocol::INFO_RD, false);
    QVERIFY(runWithin(&usb, &next, 3000));
    QCOMPARE(next.status, 0);
    QCOMPARE(VirtualFC::openCount(), 2);
}

void tst_transport::lockHeldAcrossTheJump()
{
    // One program updates; another reaches the re-enumerated bootloader (of another serial
    // number) first and is kept off, after the update and its closes too, until let go.
    VirtualFC::setBootloaderSerialNumber(QStringLiteral("BL0001"));
    QtUsbHID updating(0x0483, 0x5750, nullptr), other(0x0483, 0x5750, nullptr);
    auto run = [](QtUsbHID& usb, int type) {
        Task task(type, true);
        task.txStream << qint32(0xAB); // into the bootloader; the reads ignore it
        usb.RunTask(&task);
        return task.status;
    };
    updating.holdThroughJumps(true);
    QCOMPARE(run(updating, FCProtocol::BOOT_JUMP), 0);
    QTRY_VERIFY(!VirtualFC::isOnBus());
    QCOMPARE(run(updating, FCProtocol::FW_INFO_RD), -1); // the handle closes
    QTRY_VERIFY(VirtualFC::isOnBus());
    QCOMPARE(run(other, FCProtocol::INFO_RD), -1);
    QVERIFY(other.lockRefused() && other.lockHolder() == QCoreApplication::applicationPid());
    QCOMPARE(run(updating, FCProtocol::FW_INFO_RD), 0);
    updating.holdThroughJumps(false);
    VirtualFC::powerCycle();
    QCOMPARE(run(updating, FCProtocol::FW_INFO_RD) + run(other, FCProtocol::INFO_RD), -2);
    updating.releaseLock();
    QCOMPARE(run(other, FCProtocol::INFO_RD), 0);
}

QTEST_GUILESS_MAIN(tst_transport)
#include "tst_transport.moc"
