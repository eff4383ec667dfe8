// The whole setup in one file: version 1 and 2 load, a bad section is refused whole naming its
// first bad field; the values that differ from the controller and the writes that carry them,
// which never touch a section the file lacks nor the controller's own bits of the channel word.
#include "engine/setupdiff.h"
#include "engine/tuningfile.h"
#include "protocol/task.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

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

} // namespace

class TestSetupFile : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void differences_data();
    void differences();
};

void TestSetupFile::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("sections"); // p, r, a: what loaded

    using P = TuningFile::Problem;
    QByteArray v1 = TuningFile::toJson(*controllerSetup().parameters, "Trelvo_0105", QDateTime());
    QJsonObject v1Radio = QJsonDocument::fromJson(v1).object();
    v1Radio.insert("radio", 7); // unknown to version 1: ignored
    QTest::newRow("version 1") << v1 << int(P::None) << "" << "p";
    QTest::newRow("version 1 ignores a radio key") << QJsonDocument(v1Radio).toJson() << int(P::None) << "" << "p";
    QTest::newRow("version 2, whole setup") << fileWith([](QJsonObject&) {}) << int(P::None) << "" << "pra";
    QTest::newRow("version 2, parameters only") << fileWith([](QJsonObject& r) {
        r.remove("radio");
        r.remove("airframe");
    }) << int(P::None) << "" << "p";
    QTest::newRow("version 2 without parameters")
        << fileWith([](QJsonObject& r) { r.remove("parameters"); }) << int(P::Missing) << "parameters" << "";
    QTest::newRow("version 3") << fileWith([](QJsonObject& r) { r.insert("version", 3); })
                               << int(P::WrongVersion) << "version" << "";
    QTest::newRow("radio not a group") << fileWith([](QJsonObject& r) { r.insert("radio", "SBUS"); })
                                       << int(P::NotASection) << "radio" << "";
    QTest::newRow("reverse flag 2") << fileWith(setIn("radio", "reverse3", 2)) << int(P::OutOfRange) << "reverse3" << "";
    QTest::newRow("flight mode 7") << fileWith(setIn("radio", "positionMode2", 7)) << int(P::OutOfRange)
                                   << "positionMode2" << "";
    QTest::newRow("airframe 12") << fileWith(setIn("airframe", "airframe", 12)) << int(P::OutOfRange) << "airframe" << "";
    QTest::newRow("mounting 0.5") << fileWith(setIn("airframe", "mounting", 0.5)) << int(P::NotInteger) << "mounting" << "";
    QTest::newRow("bad parameters and radio: the first is named") << fileWith([](QJsonObject& r) {
        setIn("radio", "reverse0", 5)(r);
        setIn("parameters", "escMin", 499)(r);
    }) << int(P::OutOfRange) << "escMin" << "";
}

void TestSetupFile::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    QFETCH(QString, field);
    QFETCH(QString, sections);

    const TuningFile::Result r = TuningFile::parse(bytes);
    QCOMPARE(int(r.problem), problem);
    QCOMPARE(r.field, field);
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

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
