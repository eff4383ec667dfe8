// The firmware update engine on its own, driven by a script of ticks and replies. Each row
// ends with everything the engine did, in order: the tasks it sent (their bytes checked
// against the image), its signals, and the changes of what the pilot is told and of the link.
// Late and repeated replies must neither skip a block nor lead to a block beyond the image.
#include "engine/firmwareupdate.h"
#include "finishedtask.h"
#include "firmwarefile.h"
#include "protocol/requests.h"

#include <QTemporaryDir>
#include <QtTest>

using FCProtocol::Task;

namespace {

constexpr quint32 kFileVersion = 0xF0300106; // board 0x30, version 0x0106
constexpr quint16 kCheck = 0xC0DE;
const char* const kProgress[] = {"Nothing", "Preparing", "Updating", "Restarting", "Succeeded", "Failed"};

QString hex(qint32 word)
{
    return QString::number(quint32(word), 16).toUpper();
}

} // namespace

class TestFirmwareUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void run_data();
    void run();
    void boardMatch_data();
    void boardMatch();
    void imageKeptWhileRunning();

private:
    // A request as the log shows it; bytes or priority that are not the request's own are
    // marked, so the row fails.
    QString describe(const Task* task) const;
    // One scripted event: "tick [n]", "start", "reads off", "new BA" (a BOOT_JUMP 0xBA the
    // engine never sent, answered), or "<task> <reply>" with <task> "#n" (the n-th task sent)
    // or "last", <reply> "AB", "BA", "EE" (one byte), "check" (the image's check value),
    // "mismatch", "fw <hex word>" (the FW_INFO_RD words), "short" (nothing behind the frame
    // id), "lost" (no reply) or "unsent" (the link was down: the request never left); or
    // "limit <n>": the no-progress limit of the next start, in ticks.
    void play(const QString& event);

    QTemporaryDir dir;
    QByteArray image;
    FirmwareUpdate* engine = nullptr;
    std::vector<std::unique_ptr<Task>> sent;
    QStringList log;
};

void TestFirmwareUpdate::initTestCase()
{
    image = imageOf(2);
    QVERIFY(storeBinFile(dir.filePath(QStringLiteral("fw.bin")), binFile(kFileVersion, kCheck, image)));
}

QString TestFirmwareUpdate::describe(const Task* task) const
{
    const QByteArray payload = task->txData.mid(2);
    QString text;
    QByteArray expected;
    bool urgent = true;
    switch (task->type) {
    case FCProtocol::FW_INFO_RD:
        text = QStringLiteral("FW_INFO_RD");
        expected = QByteArray("\x04\x03", 2);
        urgent = false;
        break;
    case FCProtocol::BOOT_JUMP:
        text = QStringLiteral("BOOT_JUMP ") + payload.left(1).toHex().toUpper();
        expected = QByteArray("\x04\x00", 2) + payload.left(1) + QByteArray(3, '\0');
        break;
    case FCProtocol::BLOCK_PROG: {
        const qint32 offset = FCProtocol::Request::blockOffsetOf(task);
        text = QStringLiteral("BLOCK_PROG %1").arg(offset);
        if (offset >= 0 && offset < image.size() && offset % 2048 == 0)
            expected = QByteArray("\x04\x01", 2) + littleEndian(offset) + image.mid(offset, 2048);
        break;
    }
    case FCProtocol::VERIFY:
        text = QStringLiteral("VERIFY");
        expected = QByteArray("\x04\x02", 2);
        break;
    default:
        return QStringLiteral("unexpected type %1").arg(task->type);
    }
    if (task->txData != expected)
        text += QStringLiteral(" (wrong bytes)");
    if (task->urgent != urgent)
        text += QStringLiteral(" (wrong priority)");
    return text;
}

void TestFirmwareUpdate::play(const QString& event)
{
    const QStringList words = event.split(' ');
    const QString what = words.value(0);
    if (what == QLatin1String("tick")) {
        for (int i = 0; i < words.value(1, QStringLiteral("1")).toInt(); ++i)
            engine->tick();
        return;
    }
    if (what == QLatin1String("start")) {
        if (!engine->start())
            log << QStringLiteral("not started");
        return;
    }
    if (what == QLatin1String("reads")) {
        engine->setVersionReads(false);
        return;
    }
    if (what == QLatin1String("limit")) {
        FirmwareUpdate::setNoProgressLimit(words.value(1).toInt() * FirmwareUpdate::kTickMs);
        return;
    }
    Task* task = nullptr;
    std::unique_ptr<Task> extra;
    if (what == QLatin1String("new")) {
        extra.reset(FCProtocol::Request::bootJump(FCProtocol::kCommandFinish));
        task = extra.get();
    } else if (what == QLatin1String("last")) {
        task = sent.empty() ? nullptr : sent.back().get();
    } else {
        task = sent.size() > size_t(what.mid(1).toInt()) ? sent[size_t(what.mid(1).toInt())].get() : nullptr;
    }
    if (!task)
        qFatal("no task %s", qPrintable(what));
    const QString reply = words.value(1);
    if (reply == QLatin1String("lost"))
        finish(task, QByteArray(), Task::NoReply);
    else if (reply == QLatin1String("unsent"))
        finish(task, QByteArray(), Task::LinkFailed)->sent = false;
    else if (reply == QLatin1String("check"))
        finish(task, littleEndian(kCheck));
    else if (reply == QLatin1String("mismatch"))
        finish(task, littleEndian(quint16(kCheck + 1)));
    else if (reply == QLatin1String("fw"))
        finish(task, littleEndian(qint32(0), qint32(256 * 1024), qint32(words.value(2).toUInt(nullptr, 16)), qint32(0)));
    else if (reply == QLatin1String("short"))
        finish(task, QByteArray())->rxData.truncate(task->headLength);
    else
        finish(task, QByteArray::fromHex(reply.toLatin1()));
    engine->taskDone(task);
}

void TestFirmwareUpdate::run_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("lines"); // debug lines the rule writes

    const QStringList connect{"tick", "last fw F0300105"};
    const QStringList connected{"FW_INFO_RD", "version F0300105", "link up"};
    // Connected, started, in the bootloader after the second BOOT_JUMP, block 0 (task #3; the
    // first 7 events, 9 lines) confirmed and block 1 (task #4) sent.
    const QStringList toBlock1 = connect + QStringList{"start", "tick", "tick", "#1 AB", "tick", "last AB", "tick"};
    const QStringList atBlock1 = connected + QStringList{"started", "BOOT_JUMP AB", "Preparing 0%", "BOOT_JUMP AB",
                                                         "Updating 0%", "BLOCK_PROG 0", "Updating 50%", "BLOCK_PROG 2048"};

    QTest::newRow("idle: the version on every tick, while asked for")
        << QStringList{"tick", "tick", "reads off", "tick 3"} << QStringList{"FW_INFO_RD", "FW_INFO_RD"} << QStringList();
    QTest::newRow("no start without a working link")
        << QStringList{"start", "tick", "last lost", "start"} << QStringList{"not started", "FW_INFO_RD", "not started"}
        << QStringList();
    QTest::newRow("a failed reply takes the link down")
        << connect + QStringList{"tick", "last lost", "start"}
        << connected + QStringList{"FW_INFO_RD", "link down", "not started"} << QStringList();
    QTest::newRow("short replies are not read")
        << QStringList{"tick", "last short", "start", "tick", "last short", "tick"}
        << QStringList{"FW_INFO_RD", "link up", "started", "BOOT_JUMP AB", "Preparing 0%", "BOOT_JUMP AB"}
        << QStringList();
    QTest::newRow("started twice")
        << connect + QStringList{"start", "start"} << connected + QStringList{"started", "not started"} << QStringList();

    // The whole procedure: BOOT_JUMP 0xAB on every tick until the bootloader answers, one
    // block in flight at a time, VERIFY on every tick until answered (a late second answer
    // changes nothing), BOOT_JUMP 0xBA, and success only once the restarted flight firmware
    // answers: the bootloader answering before it restarts does not count.
    QTest::newRow("verify matches: success")
        << toBlock1 + QStringList{"tick", "last AB", "tick", "tick", "#5 check", "#6 check", "tick", "last BA",
                                  "tick", "last fw F0000102", "tick", "last fw F0300106", "tick"}
        << atBlock1 + QStringList{"Updating 100%", "VERIFY", "VERIFY", "BOOT_JUMP BA", "Restarting 100%", "FW_INFO_RD",
                                  "version F0000102", "Restarting 0%", "FW_INFO_RD", "version F0300106",
                                  "finished Success", "Succeeded 0%", "FW_INFO_RD"}
        << QStringList{"verify success"};
    // The controller stays in its bootloader and says so.
    QTest::newRow("verify differs: fail")
        << toBlock1 + QStringList{"last AB", "tick", "tick", "#5 mismatch", "#6 check", "tick", "last fw F0000102", "tick"}
        << atBlock1 + QStringList{"Updating 100%", "VERIFY", "VERIFY", "finished VerifyFailed", "Failed 100%",
                                  "FW_INFO_RD", "version F0000102", "Failed 0%", "FW_INFO_RD"}
        << QStringList{"verify fail"};

    // Nothing is sent for 39 ticks after the last block went out; the 40th starts over.
    QTest::newRow("block refused: the pass starts over")
        << toBlock1 + QStringList{"last EE", "tick 39", "tick"}
        << atBlock1 + QStringList{"BLOCK_PROG 0"} << QStringList{"block prog error", "prog timeout, retry"};
    QTest::newRow("block not answered: the pass starts over")
        << toBlock1 + QStringList{"last lost", "tick 39", "tick"}
        << atBlock1 + QStringList{"link down", "BLOCK_PROG 0"} << QStringList{"prog timeout, retry"};

    // Late replies.
    QTest::newRow("block 0 confirmed again while block 1 waits")
        << toBlock1 + QStringList{"#3 AB", "tick", "#4 AB", "tick"} << atBlock1 + QStringList{"Updating 100%", "VERIFY"}
        << QStringList{"block prog reply for offset 0 ignored, waiting for 2048"};
    QTest::newRow("old pass's block 1 confirmed after the restart")
        << toBlock1 + QStringList{"tick 40", "#4 AB", "tick", "last AB", "tick", "last AB", "tick"}
        << atBlock1 + QStringList{"BLOCK_PROG 0", "Updating 0%", "BLOCK_PROG 2048", "Updating 50%", "Updating 100%", "VERIFY"}
        << QStringList{"block prog reply for offset 2048 ignored, waiting for 0"};
    QTest::newRow("last block confirmed twice")
        << toBlock1 + QStringList{"last AB", "last AB", "tick"} << atBlock1 + QStringList{"Updating 100%", "VERIFY"}
        << QStringList{"block prog reply for offset 2048 ignored, waiting for -1"};
    QTest::newRow("bootloader entry confirmed during verify")
        << toBlock1 + QStringList{"last AB", "tick", "#2 AB", "tick"}
        << atBlock1 + QStringList{"Updating 100%", "VERIFY", "VERIFY"} << QStringList();
    QTest::newRow("bootloader entry confirmed after the update")
        << toBlock1 + QStringList{"last AB", "tick", "last check", "tick", "last BA", "tick", "last fw F0300106", "#2 AB", "tick"}
        << atBlock1 + QStringList{"Updating 100%", "VERIFY", "BOOT_JUMP BA", "Restarting 100%", "FW_INFO_RD",
                                  "version F0300106", "finished Success", "Succeeded 0%", "FW_INFO_RD"}
        << QStringList();
    QTest::newRow("firmware entry confirmed while entering the bootloader")
        << connect + QStringList{"start", "tick", "new BA", "tick"}
        << connected + QStringList{"started", "BOOT_JUMP AB", "Preparing 0%", "BOOT_JUMP AB"} << QStringList();
    // A block that never left (the board off the bus) goes again on the next tick; one
    // confirmed after the tick meant for the next sends it at once, and uses that tick's turn.
    QTest::newRow("block not sent: again on the next tick")
        << toBlock1 + QStringList{"last unsent", "tick"} << atBlock1 + QStringList{"link down", "BLOCK_PROG 2048"}
        << QStringList{"block prog not sent"};
    QTest::newRow("confirmed after a tick passed: the next block at once")
        << toBlock1.mid(0, 7) + QStringList{"tick", "last AB", "tick"}
        << atBlock1.mid(0, 9) + QStringList{"BLOCK_PROG 2048", "Updating 50%"} << QStringList();

    // No progress for the limit ends the update, the board left in its bootloader. A new block
    // starts the time again; a pass that starts over and gets no further does not.
    const QStringList failed{"finished NoProgress", "Failed 0%", "FW_INFO_RD"};
    const QString fail = QStringLiteral("no progress, update failed in step %1");
    QTest::newRow("no progress: the jump never answered")
        << QStringList{"limit 2"} + connect + QStringList{"start", "tick 2", "tick"}
        << connected + QStringList{"started", "BOOT_JUMP AB", "Preparing 0%"} + failed << QStringList{fail.arg(1)};
    QTest::newRow("no progress: every block refused")
        << QStringList{"limit 3"} + toBlock1.mid(0, 7) + QStringList{"last EE", "tick 3"}
        << atBlock1.mid(0, 9) + failed << QStringList{"block prog error", fail.arg(2)};
    QTest::newRow("no progress: the pass starts over and gets no further")
        << QStringList{"limit 50"} + toBlock1 + QStringList{"last lost", "tick 40", "last AB", "tick", "last lost", "tick 9"}
        << atBlock1 + QStringList{"link down", "BLOCK_PROG 0", "link up", "BLOCK_PROG 2048", "link down",
                                  "finished NoProgress", "Failed 50%", "FW_INFO_RD"}
        << QStringList{"prog timeout, retry", fail.arg(2)};
    QTest::newRow("a new block in time keeps it going")
        << QStringList{"limit 3"} + toBlock1 + QStringList{"tick", "last AB", "tick 2", "last check", "tick"}
        << atBlock1 + QStringList{"Updating 100%", "VERIFY", "VERIFY", "BOOT_JUMP BA"}
        << QStringList{"verify success"};
}

void TestFirmwareUpdate::run()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, lines);

    FirmwareUpdate::setNoProgressLimit(FirmwareUpdate::kNoProgressMs);
    FirmwareUpdate update;
    engine = &update;
    sent.clear();
    log.clear();
    QCOMPARE(update.loadImage(dir.filePath(QStringLiteral("fw.bin"))), int(FirmwareImage::Ok));
    connect(&update, &FirmwareUpdate::sendTask, this, [this](Task* task) {
        sent.emplace_back(task);
        log << describe(task);
    });
    connect(&update, &FirmwareUpdate::started, this, [this] { log << QStringLiteral("started"); });
    connect(&update, &FirmwareUpdate::versionRead, this, [this](qint32 word) { log << "version " + hex(word); });
    connect(&update, &FirmwareUpdate::finished, this, [this](FirmwareUpdate::Result result) {
        const char* const names[] = {"Success", "VerifyFailed", "NoProgress"};
        log << QStringLiteral("finished ") + QLatin1String(names[int(result)]);
    });
    std::pair<int, int> shown{FirmwareUpdate::NoProgress, 0};
    connect(&update, &FirmwareUpdate::progress, this, [&](int state, int percent) {
        if (std::make_pair(state, percent) != shown)
            log << QStringLiteral("%1 %2%").arg(QLatin1String(kProgress[state])).arg(percent);
        shown = {state, percent};
    });
    for (const QString& line : lines)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line));

    bool link = false;
    for (const QString& event : events) {
        play(event);
        if (update.linkOk() != link)
            log << (update.linkOk() ? QStringLiteral("link up") : QStringLiteral("link down"));
        link = update.linkOk();
    }
    QCOMPARE(log, expected);
    engine = nullptr;
}

void TestFirmwareUpdate::boardMatch_data()
{
    QTest::addColumn<QString>("telemetry"); // the telemetry's identity word, "" for none
    QTest::addColumn<QString>("read");      // the FW_INFO_RD's, "" for none
    QTest::addColumn<int>("match");
    QTest::addColumn<QString>("controller"); // controllerWord(), "" for none

    const int unknown = int(FirmwareUpdate::BoardMatch::Unknown);
    const int fine = int(FirmwareUpdate::BoardMatch::Fine);
    const int same = int(FirmwareUpdate::BoardMatch::Same);
    const int other = int(FirmwareUpdate::BoardMatch::OtherBoard);
    QTest::newRow("nothing read yet") << "" << "" << unknown << "";
    QTest::newRow("telemetry: same board, older firmware") << "F0300105" << "" << fine << "F0300105";
    QTest::newRow("telemetry: another board") << "F0280105" << "" << other << "F0280105";
    QTest::newRow("the version read wins over the telemetry") << "F0280105" << "F0300105" << fine << "F0300105";
    QTest::newRow("exactly this firmware") << "" << "F0300106" << same << "F0300106";
    QTest::newRow("another board's firmware") << "" << "F0280105" << other << "F0280105";
    QTest::newRow("a bootloader does not say its board") << "" << "F0000102" << fine << "F0000102";
}

void TestFirmwareUpdate::boardMatch()
{
    QFETCH(QString, telemetry);
    QFETCH(QString, read);
    QFETCH(int, match);
    QFETCH(QString, controller);

    FirmwareUpdate update;
    QCOMPARE(update.loadImage(dir.filePath(QStringLiteral("fw.bin"))), int(FirmwareImage::Ok));
    if (!telemetry.isEmpty())
        update.setTelemetryWord(qint32(telemetry.toUInt(nullptr, 16)));
    if (!read.isEmpty()) {
        auto task = finishedTask(FCProtocol::FW_INFO_RD,
                                 littleEndian(qint32(0), qint32(0), qint32(read.toUInt(nullptr, 16)), qint32(0)));
        update.taskDone(task.get());
    }
    QCOMPARE(int(update.boardMatch()), match);
    qint32 word = 0;
    QCOMPARE(update.controllerWord(&word), !controller.isEmpty());
    QCOMPARE(controller.isEmpty() ? QString() : hex(word), controller);
}

void TestFirmwareUpdate::imageKeptWhileRunning()
{
    FirmwareUpdate update;
    QCOMPARE(update.percent(), -1); // no image yet
    const QString other = dir.filePath(QStringLiteral("other.bin"));
    QVERIFY(storeBinFile(other, binFile(0xF0280003, 0x1111, imageOf(1, 5))));
    QCOMPARE(update.loadImage(dir.filePath(QStringLiteral("fw.bin"))), int(FirmwareImage::Ok));
    auto read = finishedTask(FCProtocol::FW_INFO_RD, littleEndian(qint32(0), qint32(0), qint32(0xF0300105), qint32(0)));
    update.taskDone(read.get());
    QVERIFY(update.start());

    QTest::ignoreMessage(QtDebugMsg, "update running: image kept");
    QCOMPARE(update.loadImage(other), int(FirmwareImage::NotAFile));
    QCOMPARE(update.image().data, image);
    QCOMPARE(update.image().checkValue, kCheck);
}

QTEST_GUILESS_MAIN(TestFirmwareUpdate)
#include "tst_firmwareupdate.moc"
