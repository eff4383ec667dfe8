// The mark of changes not stored in the controller: set by every successful write (PARA_WR,
// RC_WR, a FRAME_RW write) and by nothing else, cleared by a successful STORE or
// DEFAULT_RESTORE; a failed task changes nothing.
#include "engine/notstoredmark.h"
#include "finishedtask.h"
#include "protocol/requests.h"

#include <QtTest>

using FCProtocol::Task;
namespace Request = FCProtocol::Request;

class TestNotStoredMark : public QObject
{
    Q_OBJECT

private slots:
    void markedBy_data();
    void markedBy();
};

void TestNotStoredMark::markedBy_data()
{
    // Each event is a request that finished: its name, then the status when it failed.
    QTest::addColumn<QStringList>("finished");
    QTest::addColumn<QStringList>("changes");

    const QStringList setAndCleared{"set", "cleared"};
    QTest::newRow("PARA_WR, Save") << QStringList{"PARA_WR", "STORE"} << setAndCleared;
    QTest::newRow("RC_WR, Save") << QStringList{"RC_WR", "STORE"} << setAndCleared;
    QTest::newRow("FRAME_RW write, Save") << QStringList{"FRAME_RW write", "STORE"} << setAndCleared;
    QTest::newRow("FRAME_RW read") << QStringList{"FRAME_RW read", "STORE"} << QStringList();
    QTest::newRow("PARA_RD poll") << QStringList{"PARA_RD"} << QStringList();
    QTest::newRow("RC_RD poll") << QStringList{"RC_RD"} << QStringList();
    QTest::newRow("PARA_WR unanswered") << QStringList{"PARA_WR -2"} << QStringList();
    QTest::newRow("RC_WR with a bad CRC") << QStringList{"RC_WR -3"} << QStringList();
    QTest::newRow("FRAME_RW write, wrong echo") << QStringList{"FRAME_RW write -5"} << QStringList();
    QTest::newRow("writes in a row mark once") << QStringList{"PARA_WR", "RC_WR", "FRAME_RW write"} << QStringList{"set"};
    QTest::newRow("restoring the defaults clears") << QStringList{"PARA_WR", "DEFAULT_RESTORE"} << setAndCleared;
    QTest::newRow("a failed store keeps the mark") << QStringList{"PARA_WR", "STORE -3", "DEFAULT_RESTORE -1", "STORE"}
                                                   << setAndCleared;
}

void TestNotStoredMark::markedBy()
{
    QFETCH(QStringList, finished);
    QFETCH(QStringList, changes);

    NotStoredMark mark;
    QStringList seen;
    connect(&mark, &NotStoredMark::changed, this, [&](bool set) {
        seen << (set ? QStringLiteral("set") : QStringLiteral("cleared"));
        QCOMPARE(mark.isSet(), set);
    });
    for (const QString& event : finished) {
        const QString name = event.section(' ', 0, event.startsWith(QLatin1String("FRAME_RW")) ? 1 : 0);
        const int status = event.section(' ', event.startsWith(QLatin1String("FRAME_RW")) ? 2 : 1).toInt();
        Task* request = name == QLatin1String("PARA_WR")           ? Request::paraWrite(FCProtocol::DS_PARA())
                        : name == QLatin1String("RC_WR")           ? Request::rcWrite({})
                        : name == QLatin1String("FRAME_RW write")  ? Request::frameWrite(3, 1)
                        : name == QLatin1String("FRAME_RW read")   ? Request::frameRead()
                        : name == QLatin1String("PARA_RD")         ? Request::paraRead()
                        : name == QLatin1String("RC_RD")           ? Request::rcRead()
                        : name == QLatin1String("STORE")           ? Request::store()
                        : name == QLatin1String("DEFAULT_RESTORE") ? Request::defaultRestore()
                                                                   : nullptr;
        QVERIFY2(request, qPrintable(event));
        std::unique_ptr<Task> task(request);
        // The controller echoes the request.
        mark.taskDone(finish(task.get(), task->txData.mid(task->headLength), status));
    }
    QCOMPARE(seen, changes);
    QCOMPARE(mark.isSet(), changes.value(changes.size() - 1) == QLatin1String("set"));
}

QTEST_GUILESS_MAIN(TestNotStoredMark)
#include "tst_notstoredmark.moc"
