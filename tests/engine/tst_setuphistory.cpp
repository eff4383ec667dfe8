// The automatic history: one list per controller, at most 200 snapshots in it with the first
// written going first whatever the clock says, files that do not parse neither counted nor
// removed, no snapshot lost to another writer, one word per run about a folder that cannot be
// written; and the keeper's snapshots as tasks in and out: none twice for an unchanged setup on
// reconnect, the values held just before a command, and the command never lost.
#include "engine/setuphistory.h"
#include "engine/setupkeeper.h"
#include "engine/tuningfile.h"
#include "protocol/task.h"

#include <QDir>
#include <QPointer>
#include <QThread>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

namespace {

constexpr qint32 kBoard = qint32(0xF0300105);
const ControllerId kQuad{kBoard, QStringLiteral("FC3A00017")};

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
    void keepsTheLast200Written_data();
    void keepsTheLast200Written();
    void foreignFilesNeitherCountedNorRemoved();
    void writersAtOnceKeepEverySnapshot();
    void eachControllerItsOwnList();
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

void TestSetupHistory::keepsTheLast200Written_data()
{
    QTest::addColumn<int>("earlierYear"); // the clock's year while the first 200 are written
    QTest::newRow("the clock runs on") << 2026;
    QTest::newRow("the clock set back after 200 in the future") << 2099;
}

void TestSetupHistory::keepsTheLast200Written()
{
    QFETCH(int, earlierYear);
    QDateTime clock(QDate(earlierYear, 1, 2), QTime(3, 0), Qt::UTC);
    history->setClock([&clock] { return clock = clock.addSecs(60); });
    QStringList written;
    for (int i = 0; i < SetupHistory::kLimit + 5; ++i) {
        if (i == SetupHistory::kLimit)
            clock = QDateTime(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC);
        written << history->write(kQuad, setupWith(qint16(1100 + i), 0), "before-store", "Trelvo_0105");
        QVERIFY2(QFileInfo::exists(written.last()), qPrintable(written.last()));
    }
    QCOMPARE(history->folderOf(kQuad), dir.path() + QStringLiteral("/history/Trelvo/FC3A00017"));
    const QVector<SetupHistory::Snapshot> kept = history->snapshots(kQuad);
    QCOMPARE(kept.size(), SetupHistory::kLimit);
    QCOMPARE(kept.first().path, written.last());
    QCOMPARE(kept.last().path, written[5]);
    QCOMPARE(history->newest(kQuad)->setup.parameters->escMax, qint16(1100 + 204));
}

void TestSetupHistory::foreignFilesNeitherCountedNorRemoved()
{
    const QString folder = history->folderOf(kQuad);
    QVERIFY(QDir().mkpath(folder));
    // Cut short, another program's JSON, a pilot's own version-1 file.
    const QList<QByteArray> foreign{"{ \"format\": \"orvante-tuning\", \"vers", "{ \"format\": \"other\" }",
                                    TuningFile::toJson(*setupWith(1500, 0).parameters, "Trelvo_0105", QDateTime())};
    for (int i = 0; i < foreign.size(); ++i) {
        QFile file(folder + QStringLiteral("/00000%1-foreign.json").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(foreign[i]) > 0);
    }
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("History: skipped .*foreign.*"));
    for (int i = 0; i < SetupHistory::kLimit + 1; ++i)
        history->write(kQuad, setupWith(qint16(1100 + i), 0), "connected", "Trelvo_0105");
    QCOMPARE(history->snapshots(kQuad).size(), SetupHistory::kLimit);
    QCOMPARE(QDir(folder).entryList({"*.json"}, QDir::Files).size(), SetupHistory::kLimit + foreign.size());
    QCOMPARE(history->snapshots(kQuad).last().setup.parameters->escMax, qint16(1101));
}

void TestSetupHistory::writersAtOnceKeepEverySnapshot()
{
    // Two programs with the same clock, writing into one folder as fast as they can.
    constexpr int kEach = 40;
    const QDateTime instant(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC);
    std::atomic<int> failed{0};
    const QString root = history->root();
    auto writer = [&](qint16 base) {
        return QThread::create([=, &failed] {
            SetupHistory other(root);
            other.setClock([instant] { return instant; });
            for (int i = 0; i < kEach; ++i) {
                if (other.write(kQuad, setupWith(qint16(base + i), 0), "connected", "Trelvo_0105").isEmpty())
                    ++failed;
            }
        });
    };
    std::unique_ptr<QThread> a(writer(1100));
    std::unique_ptr<QThread> b(writer(1500));
    a->start();
    b->start();
    QVERIFY(a->wait(30000) && b->wait(30000));
    QCOMPARE(failed.load(), 0);
    QSet<int> values;
    for (const SetupHistory::Snapshot& s : history->snapshots(kQuad))
        values.insert(s.setup.parameters->escMax);
    QCOMPARE(values.size(), 2 * kEach);
}

void TestSetupHistory::eachControllerItsOwnList()
{
    const ControllerId other{kBoard, QStringLiteral("FC3A00042")};
    const ControllerId withoutSerial{kBoard, QString()};
    history->write(withoutSerial, setupWith(1200, 0), "connected", "Trelvo_0105"); // as kept before
    history->write(kQuad, setupWith(1300, 0), "connected", "Trelvo_0105");
    history->write(other, setupWith(1400, 0), "before-store", "Trelvo_0105");
    const auto escMax = [](const QVector<SetupHistory::Snapshot>& list) {
        QList<int> values;
        for (const SetupHistory::Snapshot& s : list)
            values << s.setup.parameters->escMax;
        return values;
    };
    QCOMPARE(escMax(history->snapshots(kQuad)), QList<int>{1300});
    QCOMPARE(escMax(history->snapshots(other)), QList<int>{1400});
    // The model's snapshots whose board is unknown: a group of their own for either quad, the
    // own list of a board without a serial number.
    QCOMPARE(escMax(history->unknownBoard(kQuad)), QList<int>{1200});
    QCOMPARE(escMax(history->unknownBoard(other)), QList<int>{1200});
    QCOMPARE(escMax(history->snapshots(withoutSerial)), QList<int>{1200});
    QVERIFY(history->unknownBoard(withoutSerial).isEmpty());
}

void TestSetupHistory::unwritableFolderSaidOnce()
{
    QFile blocker(dir.path() + QStringLiteral("/file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    SetupHistory blocked(blocker.fileName() + QStringLiteral("/history"));
    QSignalSpy said(&blocked, &SetupHistory::unwritable);
    QVERIFY(blocked.write(kQuad, setupWith(1500, 0), "connected", "x").isEmpty());
    QVERIFY(blocked.write(kQuad, setupWith(1600, 0), "before-store", "x").isEmpty());
    QCOMPARE(said.count(), 1);
    QVERIFY(blocked.snapshots(kQuad).isEmpty());
}

void TestSetupHistory::noDuplicateOnReconnect()
{
    const QList<QPair<SetupRecord, int>> connects{{setupWith(1500, 0), 1}, {setupWith(1500, 0), 1},
                                                  {setupWith(1600, 0), 2}, {setupWith(1600, 0), 2}};
    for (const auto& [setup, files] : connects) {
        dropSent();
        keeper->linkUp(telemetry(0), kQuad.serial, false);
        QCOMPARE(sent.size(), 3);
        answerReads(setup);
        QCOMPARE(history->snapshots(kQuad).size(), files);
    }
    QCOMPARE(history->newest(kQuad)->reason, QStringLiteral("connected"));
    // Neither in the bootloader nor during an update.
    dropSent();
    keeper->linkUp(telemetry(1), kQuad.serial, false);
    keeper->linkUp(telemetry(0), kQuad.serial, true);
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
        keeper->linkUp(telemetry(mode), kQuad.serial, false);
        answerReads(setupWith(1500, 0));
        dropSent();
    }
    const int before = history->snapshots(kQuad).size();
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
    const QVector<SetupHistory::Snapshot> all = history->snapshots(kQuad);
    QCOMPARE(all.size(), before + (kept ? 1 : 0));
    if (kept) {
        QCOMPARE(all[0].reason, QStringLiteral("before-store"));
        QVERIFY(all[0].setup == setupWith(1750, 4));
    }
}

QTEST_GUILESS_MAIN(TestSetupHistory)
#include "tst_setuphistory.moc"
