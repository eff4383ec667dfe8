// The whole setup in one file and the one way to bring it onto a controller: version 1 and 2
// load, a bad file is refused whole with the words that name its first bad field; the values
// that differ from the controller and the writes that carry them, which never touch a section
// the file lacks nor the controller's own bits of the channel word; the write proven by reading
// back, written again while the board keeps its own value, the snapshots kept on the way, the
// store only of a setup that arrived whole, and the not-stored mark only for what took.
#include "engine/notstoredmark.h"
#include "engine/setupdiff.h"
#include "engine/setupfile.h"
#include "engine/setuphistory.h"
#include "engine/setuprestore.h"
#include "engine/tuningfile.h"
#include "finishedtask.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <optional>

#include <functional>

using Json = std::function<void(QJsonObject& root)>;
Q_DECLARE_METATYPE(Json)

namespace {

// A controller's setup: SBUS (bit 17) and channel 7 missing (bit 7) are the receiver's,
// channel 1 reversed is the pilot's.
SetupRecord controllerSetup()
{
    SetupRecord s;
    s.parameters = FCProtocol::DS_PARA();
    s.parameters->escMax = 1950;
    s.parameters->expert_avx_d = 0.0025f;
    s.parameters->reserved = 0x5A;
    RadioSetup radio;
    radio.channelWord = (1 << 17) | (1 << 7) | (1 << 9);
    radio.positionModes[0] = 2;
    radio.positionModes[1] = 1;
    radio.modeButton = 1;
    s.radio = radio;
    s.airframe = AirframeSetup{2, 0};
    return s;
}

// The controller's setup as a version-2 file, changed.
QByteArray fileWith(const Json& change)
{
    QJsonObject root = QJsonDocument::fromJson(TuningFile::toJson(controllerSetup(), {})).object();
    change(root);
    return QJsonDocument(root).toJson();
}

Json setIn(const char* section, const char* key, const QJsonValue& value)
{
    return [=](QJsonObject& root) {
        QJsonObject s = root.value(section).toObject();
        s.insert(key, value);
        root.insert(section, s);
    };
}

// A controller answering the setup's tasks in order: reads give its values, writes change them
// unless it keeps its own (the next `keeps` writes), STORE copies them into its flash unless the
// reply is lost (the next `lostStores`). Every request is logged by its frame name.
struct Board {
    SetupRecord now = controllerSetup();
    std::optional<SetupRecord> stored;
    int keeps = 0;
    int lostStores = 0;
    QStringList log;

    void answer(FCProtocol::Task* task)
    {
        using namespace FCProtocol;
        const QByteArray request = task->txData.mid(task->headLength);
        QByteArray reply;
        switch (task->type) {
        case PARA_RD: log << "PARA_RD"; reply = now.parameters->encode(); break;
        case PARA_WR: {
            log << "PARA_WR";
            DS_PARA written;
            if (DS_PARA::decode(request, &written) && !keep())
                now.parameters = written;
            reply = now.parameters->encode();
            break;
        }
        case RC_RD: {
            log << "RC_RD";
            const RadioSetup& r = *now.radio;
            reply = littleEndian(qint8(0), r.channelWord) + QByteArray(80, '\0')
                + littleEndian(qint8(0), qint8(0), r.positionModes[0], r.positionModes[1], r.positionModes[2],
                               qint8(0), r.modeButton);
            break;
        }
        case RC_WR: {
            log << "RC_WR";
            ReplyDecode::RcWriteRecord written;
            if (ReplyDecode::decodeRcWrite(request, &written) && !keep())
                now.radio = RadioSetup::fromWrite(written);
            reply = request; // the echo matters not: the reading decides
            break;
        }
        case FRAME_RW:
            log << (Request::isFrameWrite(task) ? "FRAME_RW write" : "FRAME_RW");
            if (Request::isFrameWrite(task) && !keep())
                now.airframe = AirframeSetup{qint8(request.at(1)), qint8(request.at(2))};
            reply = littleEndian(qint8(0), now.airframe->airframe, now.airframe->mounting);
            break;
        case STORE:
            log << "STORE";
            if (lostStores > 0) {
                --lostStores;
                finish(task, QByteArray(), Task::NoReply);
                return;
            }
            stored = now;
            reply = request;
            break;
        default: QFAIL("a request the setup never sends");
        }
        finish(task, reply);
    }

private:
    bool keep() { return keeps > 0 && keeps-- > 0; }
};

} // namespace

class TestSetupFile : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void differences_data();
    void differences();
    void restore_data();
    void restore();

private:
    QTemporaryDir dir;
};

void TestSetupFile::load_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the file's; "<folder>" for a folder of that name
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("message"); // what the pilot reads after the file's name
    QTest::addColumn<QString>("sections"); // p, r, a: what loaded

    using P = TuningFile::Problem;
    QByteArray v1 = TuningFile::toJson(*controllerSetup().parameters, "Trelvo_0105", QDateTime());
    QJsonObject v1Radio = QJsonDocument::fromJson(v1).object();
    v1Radio.insert("radio", 7); // unknown to version 1: ignored
    const QByteArray good = fileWith([](QJsonObject&) {});
    QTest::newRow("version 1") << v1 << int(P::None) << "" << "p";
    QTest::newRow("version 1 ignores a radio key") << QJsonDocument(v1Radio).toJson() << int(P::None) << "" << "p";
    QTest::newRow("version 2, whole setup") << good << int(P::None) << "" << "pra";
    QTest::newRow("version 2, parameters only") << fileWith([](QJsonObject& r) {
        r.remove("radio");
        r.remove("airframe");
    }) << int(P::None) << "" << "p";
    QTest::newRow("version 2 without parameters")
        << fileWith([](QJsonObject& r) { r.remove("parameters"); }) << int(P::Missing) << "no value for \"parameters\""
        << "";
    QTest::newRow("version 3") << fileWith([](QJsonObject& r) { r.insert("version", 3); }) << int(P::WrongVersion)
                               << "a setup file of version 3; this program reads versions 1 and 2" << "";
    QTest::newRow("unknown format name") << fileWith([](QJsonObject& r) { r.insert("format", "other-tuning"); })
                                         << int(P::WrongFormat)
                                         << "not a setup file: \"format\" is missing or names another format" << "";
    QTest::newRow("not JSON") << QByteArray("escMin=1100\n") << int(P::NotJson) << "not a setup file: " << "";
    QTest::newRow("truncated") << good.left(good.size() / 2) << int(P::NotJson) << "not a setup file: " << "";
    QTest::newRow("empty file") << QByteArray() << int(P::NotJson) << "not a setup file: " << "";
    QTest::newRow("a folder") << QByteArray("<folder>") << int(P::Unreadable) << "cannot be read" << "";
    // Valid JSON behind the padding: refused for its size alone, unread.
    QTest::newRow("1 MiB file") << QByteArray(1024 * 1024, ' ') + good << int(P::TooLarge)
                                << "larger than 64 KiB, not a setup file" << "";
    QTest::newRow("radio not a group") << fileWith([](QJsonObject& r) { r.insert("radio", "SBUS"); })
                                       << int(P::NotASection) << "\"radio\" is not a group of values" << "";
    QTest::newRow("airframe not a group") << fileWith([](QJsonObject& r) { r.insert("airframe", "X8"); })
                                          << int(P::NotASection) << "\"airframe\" is not a group of values" << "";
    QTest::newRow("string for a number") << fileWith(setIn("parameters", "escMin", "1100")) << int(P::NotANumber)
                                         << "the value of \"escMin\" is not a number" << "";
    QTest::newRow("array for a number") << fileWith(setIn("parameters", "expert_ay_i", QJsonArray{1}))
                                        << int(P::NotANumber) << "the value of \"expert_ay_i\" is not a number" << "";
    QTest::newRow("missing field") << fileWith([](QJsonObject& r) {
        QJsonObject p = r.value("parameters").toObject();
        p.remove("escType");
        r.insert("parameters", p);
    }) << int(P::Missing) << "no value for \"escType\"" << "";
    QTest::newRow("float for an integer field") << fileWith(setIn("parameters", "avxy_max", 250.5))
                                                << int(P::NotInteger)
                                                << "the value of \"avxy_max\" must be a whole number" << "";
    QTest::newRow("mounting 0.5") << fileWith(setIn("airframe", "mounting", 0.5)) << int(P::NotInteger)
                                  << "the value of \"mounting\" must be a whole number" << "";
    QTest::newRow("gain outside its box") << fileWith(setIn("parameters", "expert_ax_p", 10.5)) << int(P::OutOfRange)
                                          << "the value of \"expert_ax_p\" is outside 0 to 10" << "";
    QTest::newRow("ESC value below its box") << fileWith(setIn("parameters", "escDeadMin", 499)) << int(P::OutOfRange)
                                             << "the value of \"escDeadMin\" is outside 500 to 2100" << "";
    QTest::newRow("flag byte 2") << fileWith(setIn("parameters", "oneshot125", 2)) << int(P::OutOfRange)
                                 << "the value of \"oneshot125\" is outside 0 to 1" << "";
    QTest::newRow("reverse flag 2") << fileWith(setIn("radio", "reverse3", 2)) << int(P::OutOfRange)
                                    << "the value of \"reverse3\" is outside 0 to 1" << "";
    QTest::newRow("flight mode 7") << fileWith(setIn("radio", "positionMode2", 7)) << int(P::OutOfRange)
                                   << "the value of \"positionMode2\" is outside 0 to 6" << "";
    QTest::newRow("airframe 12") << fileWith(setIn("airframe", "airframe", 12)) << int(P::OutOfRange)
                                 << "the value of \"airframe\" is outside 0 to 9" << "";
    QTest::newRow("bad parameters and radio: the first is named") << fileWith([](QJsonObject& r) {
        setIn("radio", "reverse0", 5)(r);
        setIn("parameters", "escMin", 499)(r);
    }) << int(P::OutOfRange) << "the value of \"escMin\" is outside 500 to 2100" << "";
}

void TestSetupFile::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    QFETCH(QString, message);
    QFETCH(QString, sections);

    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    if (bytes == "<folder>") {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const TuningFile::Result r = SetupFile::load(path);
    QCOMPARE(int(r.problem), problem);
    const QString text = SetupFile::problemText(r);
    QVERIFY2(message.isEmpty() ? text.isEmpty() : text.startsWith(message), qPrintable(text));
    if (!r.ok())
        return;
    QCOMPARE(QString(r.setup.parameters ? "p" : "") + (r.setup.radio ? "r" : "") + (r.setup.airframe ? "a" : ""),
             sections);
    // What loads is what was saved: gains to the bit, the pilot's bits of the radio.
    const SetupRecord saved = controllerSetup();
    QVERIFY(*r.setup.parameters == *saved.parameters);
    if (r.setup.radio) {
        QVERIFY(*r.setup.radio == *saved.radio);
        QCOMPARE(r.setup.radio->channelWord, 1 << 9);
        QVERIFY(*r.setup.airframe == *saved.airframe);
    }
}

void TestSetupFile::differences_data()
{
    QTest::addColumn<Json>("change");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("writes");

    QTest::newRow("the controller's own setup") << Json([](QJsonObject&) {}) << QStringList() << QList<int>();
    QTest::newRow("one gain") << setIn("parameters", "expert_avx_d", 0.004)
                              << QStringList{"expert_avx_d 0.0025 > 0.004"} << QList<int>{FCProtocol::PARA_WR};
    QTest::newRow("reversal, modes and airframe") << Json([](QJsonObject& r) {
        setIn("radio", "reverse0", 1)(r);
        setIn("radio", "reverse1", 0)(r);
        setIn("radio", "positionMode3", 6)(r);
        setIn("airframe", "mounting", 1)(r);
    }) << QStringList{"reverse0 0 > 1", "reverse1 1 > 0", "positionMode3 0 > 6", "mounting 0 > 1"}
       << QList<int>{FCProtocol::RC_WR, FCProtocol::FRAME_RW};
    // A section the file lacks is neither compared nor written, however it differs.
    QTest::newRow("parameters only") << Json([](QJsonObject& r) {
        setIn("parameters", "escType", 1)(r);
        r.remove("radio");
        r.remove("airframe");
    }) << QStringList{"escType 0 > 1"} << QList<int>{FCProtocol::PARA_WR};
}

void TestSetupFile::differences()
{
    QFETCH(Json, change);
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, writes);

    const SetupRecord controller = controllerSetup();
    const TuningFile::Result file = TuningFile::parse(fileWith(change));
    QVERIFY(file.ok());
    QStringList found;
    for (const SetupDiff::Row& row : SetupDiff::rows(controller, file.setup))
        found << QStringLiteral("%1 %2 > %3").arg(row.field->key, SetupDiff::valueText(*row.field, row.controller),
                                                  SetupDiff::valueText(*row.field, row.wanted));
    QCOMPARE(found, rows);

    const QList<FCProtocol::Task*> tasks = SetupDiff::writes(controller, file.setup);
    QList<int> types;
    for (FCProtocol::Task* task : tasks) {
        types << task->type;
        QVERIFY(task->urgent);
        if (task->type == FCProtocol::RC_WR) {
            // The receiver's bits as the controller has them, channel 0 reversed instead of 1.
            QCOMPARE(task->txData.mid(2).toHex(), QByteArray("80010200" "020106" "01"));
        }
    }
    qDeleteAll(tasks);
    QCOMPARE(types, writes);
}

void TestSetupFile::restore_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("keeps");      // writes the board answers keeping its own values
    QTest::addColumn<bool>("thenStore");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("kept"); // rows that did not take: name, the controller's value
    QTest::addColumn<QStringList>("snapshots");
    QTest::addColumn<bool>("marked");    // changes not stored yet
    QTest::addColumn<bool>("stored");

    FCProtocol::DS_PARA para = *controllerSetup().parameters;
    para.escMin = 1150;
    const QByteArray v1 = TuningFile::toJson(para, "Trelvo_0105", QDateTime());
    const QByteArray v2 = fileWith([](QJsonObject& r) {
        setIn("parameters", "escMin", 1150)(r);
        setIn("radio", "reverse0", 1)(r);
        setIn("airframe", "mounting", 1)(r);
    });
    const QStringList readBack{"PARA_RD", "RC_RD", "FRAME_RW"};
    const QStringList load{"before-load"};
    QTest::newRow("version 1: the parameters alone")
        << v1 << 0 << false << QStringList{"PARA_WR"} + readBack << QStringList() << load << true << false;
    QTest::newRow("version 2: every section that differs")
        << v2 << 0 << false << QStringList{"PARA_WR", "RC_WR", "FRAME_RW write"} + readBack << QStringList() << load
        << true << false;
    QTest::newRow("a file bad in one section: nothing sent")
        << fileWith(setIn("airframe", "airframe", 12)) << 0 << true << QStringList() << QStringList() << QStringList()
        << false << false;
    QTest::newRow("the board keeps its old value")
        << v1 << 3 << false << (QStringList{"PARA_WR"} + readBack) + (QStringList{"PARA_WR"} + readBack)
               + (QStringList{"PARA_WR"} + readBack)
        << QStringList{"escMin 1100"} << load << false << false;
    QTest::newRow("the board takes it on the second try")
        << v1 << 1 << false << (QStringList{"PARA_WR"} + readBack) + (QStringList{"PARA_WR"} + readBack)
        << QStringList() << load << true << false;
    QTest::newRow("a store after the restore")
        << v2 << 0 << true << QStringList{"PARA_WR", "RC_WR", "FRAME_RW write"} + readBack + QStringList{"STORE"}
        << QStringList() << QStringList{"before-load", "before-store"} << false << true;
    QTest::newRow("no store of a setup that did not arrive whole")
        << v1 << 3 << true << (QStringList{"PARA_WR"} + readBack) + (QStringList{"PARA_WR"} + readBack)
               + (QStringList{"PARA_WR"} + readBack)
        << QStringList{"escMin 1100"} << load << false << false;
    QTest::newRow("the controller's own values, stored")
        << fileWith([](QJsonObject&) {}) << 0 << true << QStringList{"STORE"} << QStringList()
        << QStringList{"before-store"} << false << true;
}

void TestSetupFile::restore()
{
    QFETCH(QByteArray, file);
    QFETCH(int, keeps);
    QFETCH(bool, thenStore);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, snapshots);
    QFETCH(bool, marked);
    QFETCH(bool, stored);

    Board board;
    board.now.parameters->escMin = 1100;
    board.keeps = keeps;
    // The one lost STORE reply is sent again.
    board.lostStores = 1;
    const QString path = dir.filePath(QStringLiteral("restore.json"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(file) == file.size());
    out.close();
    const TuningFile::Result wanted = SetupFile::load(path);

    SetupRestore restore;
    NotStoredMark mark;
    mark.follow(restore.verifiedWrite());
    QStringList reasons;
    restore.setKeep([&](const QString& reason, const SetupRecord&) { reasons << reason; });
    std::deque<FCProtocol::Task*> queue;
    connect(&restore, &SetupRestore::sendTask, this, [&](FCProtocol::Task* task) { queue.push_back(task); });
    std::optional<SetupRestore::Outcome> outcome;
    connect(&restore, &SetupRestore::finished, this, [&](const SetupRestore::Outcome& o) { outcome = o; });
    if (wanted.ok())
        restore.start(board.now, wanted.setup, thenStore);
    // The controller answers in order; a lost STORE is asked again after a pause.
    const auto answerAll = [&] {
        while (!queue.empty()) {
            std::unique_ptr<FCProtocol::Task> task(queue.front());
            queue.pop_front();
            board.answer(task.get());
            mark.taskDone(task.get());
            restore.taskDone(task.get());
        }
        return outcome.has_value() || !wanted.ok();
    };
    QTRY_VERIFY_WITH_TIMEOUT(answerAll(), 3000);

    board.log.removeAll("STORE");
    QStringList expected = sent;
    expected.removeAll("STORE");
    QCOMPARE(board.log, expected);
    QCOMPARE(reasons, snapshots);
    QCOMPARE(mark.isSet(), marked);
    QCOMPARE(board.stored.has_value(), stored);
    if (!wanted.ok())
        return;
    QStringList notTaken;
    for (const SetupDiff::Row& row : outcome->write.kept)
        notTaken << QStringLiteral("%1 %2").arg(row.field->key, SetupDiff::valueText(*row.field, row.controller));
    QCOMPARE(notTaken, kept);
    QCOMPARE(outcome->write.result == SetupWrite::Outcome::Result::Done, kept.isEmpty());
    QCOMPARE(outcome->stored, stored);
    if (stored)
        QVERIFY(*board.stored == board.now && SetupDiff::rows(board.now, wanted.setup).isEmpty());
}

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
