// Connections as the telemetry tells them: a connection begins with the first telemetry of a
// supported board after the start, a lost device or another board; one lost reply does not end
// it. The bootloader notice comes once per connection, never while or after an update on it.
#include "engine/linksupervisor.h"
#include "protocol/task.h"

#include <QSignalSpy>
#include <QtTest>

class TestLinkSession : public QObject
{
    Q_OBJECT

private slots:
    void sessions_data();
    void sessions();
};

void TestLinkSession::sessions_data()
{
    // F flight firmware answers, B bootloader answers, O another board answers, f a read gets
    // no reply, L the device is gone (LinkFailed), U an update starts, u it ends.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("linkUps");
    QTest::addColumn<int>("notices");
    QTest::newRow("flight firmware") << "FFF" << 1 << 0;
    QTest::newRow("bootloader, answered three times") << "BBB" << 1 << 1;
    QTest::newRow("one lost reply keeps the connection") << "BfB" << 1 << 1;
    QTest::newRow("two lost replies end it") << "BffB" << 2 << 2;
    QTest::newRow("device gone") << "FLF" << 2 << 0;
    QTest::newRow("another board between") << "BOB" << 2 << 2;
    QTest::newRow("bootloader after flight, same connection") << "FB" << 1 << 1;
    QTest::newRow("update over, the board plugged in again") << "FULBuLB" << 3 << 1;
    QTest::newRow("verify failed: in the bootloader after the update") << "FULBuB" << 2 << 0;
}

void TestLinkSession::sessions()
{
    QFETCH(QString, script);
    QFETCH(int, linkUps);
    QFETCH(int, notices);

    LinkSupervisor link;
    QSignalSpy ups(&link, &LinkSupervisor::linkUp);
    QSignalSpy waiting(&link, &LinkSupervisor::bootloaderWaiting);
    for (QChar c : script) {
        if (c == 'U' || c == 'u') {
            link.setUpdating(c == 'U');
            continue;
        }
        FCProtocol::Task task(FCProtocol::INFO_RD, false);
        QDataStream out(&task.rxData, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << qint16(0x0711) << qint8(c == 'B' ? 1 : 0) << quint8(0)
            << qint32(c == 'O' ? 0xF0100105 : 0xF0300105) << qint32(0) << qint32(0) << qint32(0);
        task.status = c == 'f' ? FCProtocol::Task::NoReply : c == 'L' ? FCProtocol::Task::LinkFailed : 0;
        link.taskDone(&task);
    }
    QCOMPARE(ups.count(), linkUps);
    QCOMPARE(waiting.count(), notices);
}

QTEST_GUILESS_MAIN(TestLinkSession)
#include "tst_linksession.moc"
