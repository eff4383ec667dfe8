// The automatic history: at most 200 snapshots per board with the oldest going first, files
// that do not parse skipped with a log line, one word per run about a folder that cannot be
// written; and the keeper's snapshots as tasks in and out: none twice for an unchanged setup on
// reconnect, the values held just before a command, and the command never lost.
#include "engine/setuphistory.h"
#include "engine/setupkeeper.h"
#include "protocol/task.h"

#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint32 kBoard = qint32(0xF0300105);

SetupRecord setupWith(qint16 escMax, qint8 airframe)
{
    SetupRecord s;
    s.parameters = FCProtocol::DS_PARA();
    s.parameters->escMax = escMax;
    s.radio = RadioSetup();
    s.airframe = AirframeSetup{airframe, 0};
    return s;
}

// The reply the controller gives to one of the keeper's reads, holding `s`.
void answer(FCProtocol::Task* task, const SetupRecord& s, int status = 0)
{
    QByteArray payload(92, '\0'); // RC_RD: a receiver with everything 0
    if (task->type == FCProtocol::PARA_RD)
        payload = s.parameters->encode();
    else if (task->type == FCProtocol::FRAME_RW)
        payload = QByteArray(1, '\0') + char(s.airframe->airframe) + char(s.airframe->mounting);
    task->rxData = task->txData.left(task->headLength) + payload;
    task->status = status;
}

FCProtocol::DS_INFO_RD telemetry(int mode)
{
    FCProtocol::DS_INFO_RD info;
    info.mode = qint8(mode);
    info.boardWord = kBoard;
    return info;
}

} // namespace

class TestSetupHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keepsTheNewest200();
    void skipsFilesThatDoNotParse();
    void unwritableFolderSaidOnce();
    void noDuplicateOnReconnect();
    void snapshotBeforeCommand_data();
    void snapshotBeforeCommand();

private:
    void dropSent()
    {
        for (const auto& t : sent)
            delete t.data();
        sent.clear();
    }
    // Answers the keeper's reads with `s` (the first one failing with `failure` when not 0).
    void answerReads(const SetupRecord& s, int failure = 0);

    QTemporaryDir dir;
    SetupHistory* history = nullptr;
    SetupKeeper* keeper = nullptr;
    QList<QPointer<FCProtocol::Task>> sent;
};

void TestSetupHistory::init()
{
    history = new SetupHistory(dir.path() + QStringLiteral("/history"));
    QDateTime clock(QDate(2026, 1, 2), QTime(3, 0), Qt::UTC);
    history->setClock([clock]() mutable { return clock = clock.addSecs(60); });
    keeper = new SetupKeeper(history);
    connect(keeper, &SetupKeeper::sendTask, this, [this](FCProtocol::Task* t) { sent << t; });
}

void TestSetupHistory::cleanup()
{
    dropSent();
    delete keeper;
    delete history;
    QDir(dir.path() + QStringLiteral("/history")).removeRecursively();
}

void TestSetupHistory::answerReads(const SetupRecord& s, int failure)
{
    for (const auto& t : sent) {
        if (!t)
            continue;
        answer(t, s, failure);
        failure = 0;
        keeper->taskDone(t);
    }
}

void TestSetupHistory::keepsTheNewest200()
{
    QStringList written;
    for (int i = 0; i < SetupHistory::kLimit + 5; ++i)
        written << history->write(kBoard, setupWith(qint16(1100 + i), 0), "before-store", "Trelvo_0105");
    const QStringList files = QDir(history->folderOf(kBoard)).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), SetupHistory::kLimit);
    QCOMPARE(history->folderOf(kBoard), dir.path() + QStringLiteral("/history/Trelvo"));
    QCOMPARE(files.first(), QFileInfo(written[5]).fileName());
    QCOMPARE(history->newest(kBoard)->setup.parameters->escMax, qint16(1100 + 204));
}

void TestSetupHistory::skipsFilesThatDoNotParse()
{
    history->write(kBoard, setupWith(1500, 1), "connected", "Trelvo_0105");
    QFile bad(history->folderOf(kBoard) + QStringLiteral("/9999-12-31T00-00-00.000Z.json"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("{ \"format\": \"orvante-tuning\", \"vers") > 0);
    bad.close();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("History: skipped .*9999-12-31.*"));
    const QVector<SetupHistory::Snapshot> found = history->snapshots(kBoard);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].reason, QStringLiteral("connected"));
    QCOMPARE(found[0].setup.airframe->airframe, qint8(1));
}

void TestSetupHistory::unwritableFolderSaidOnce()
{
    QFile blocker(dir.path() + QStringLiteral("/file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    SetupHistory blocked(blocker.fileName() + QStringLiteral("/history"));
    QSignalSpy said(&blocked, &SetupHistory::unwritable);
    QVERIFY(blocked.write(kBoard, setupWith(1500, 0), "connected", "x").isEmpty());
    QVERIFY(blocked.write(kBoard, setupWith(1600, 0), "before-store", "x").isEmpty());
    QCOMPARE(said.count(), 1);
    QVERIFY(blocked.snapshots(kBoard).isEmpty());
}

void TestSetupHistory::noDuplicateOnReconnect()
{
    const QList<QPair<SetupRecord, int>> connects{{setupWith(1500, 0), 1}, {setupWith(1500, 0), 1},
                                                  {setupWith(1600, 0), 2}, {setupWith(1600, 0), 2}};
    for (const auto& [setup, files] : connects) {
        dropSent();
        keeper->linkUp(telemetry(0), false);
        QCOMPARE(sent.size(), 3);
        answerReads(setup);
        QCOMPARE(history->snapshots(kBoard).size(), files);
    }
    QCOMPARE(history->newest(kBoard)->reason, QStringLiteral("connected"));
    // Neither in the bootloader nor during an update.
    dropSent();
    keeper->linkUp(telemetry(1), false);
    keeper->linkUp(telemetry(0), true);
    QCOMPARE(sent.size(), 0);
}

void TestSetupHistory::snapshotBeforeCommand_data()
{
    QTest::addColumn<int>("mode");       // the controller's, -1 for none connected yet
    QTest::addColumn<QString>("outcome"); // answered, failed, dropped
    QTest::addColumn<int>("reads");
    QTest::addColumn<bool>("kept");
    QTest::newRow("reads answered") << 0 << "answered" << 3 << true;
    QTest::newRow("a read fails") << 0 << "failed" << 3 << false;
    QTest::newRow("a read dropped from the queue") << 0 << "dropped" << 3 << false;
    QTest::newRow("bootloader") << 1 << "" << 0 << false;
    QTest::newRow("no controller yet") << -1 << "" << 0 << false;
}

void TestSetupHistory::snapshotBeforeCommand()
{
    QFETCH(int, mode);
    QFETCH(QString, outcome);
    QFETCH(int, reads);
    QFETCH(bool, kept);

    if (mode >= 0) {
        keeper->linkUp(telemetry(mode), false);
        answerReads(setupWith(1500, 0));
        dropSent();
    }
    const int before = history->snapshots(kBoard).size();
    int commands = 0;
    keeper->snapshotThen("before-store", this, [&commands] { ++commands; });
    QCOMPARE(sent.size(), reads);
    QCOMPARE(commands, reads ? 0 : 1);
    // The values the controller holds now, changed since the connect.
    if (outcome == "answered")
        answerReads(setupWith(1750, 4));
    else if (outcome == "failed")
        answerReads(setupWith(1750, 4), FCProtocol::Task::NoReply);
    else if (outcome == "dropped")
        delete sent.takeFirst().data();
    QCOMPARE(commands, 1);
    const QVector<SetupHistory::Snapshot> all = history->snapshots(kBoard);
    QCOMPARE(all.size(), before + (kept ? 1 : 0));
    if (kept) {
        QCOMPARE(all[0].reason, QStringLiteral("before-store"));
        QVERIFY(all[0].setup == setupWith(1750, 4));
    }
}

QTEST_GUILESS_MAIN(TestSetupHistory)
#include "tst_setuphistory.moc"
