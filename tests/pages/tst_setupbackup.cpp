// The parameter page keeps the whole setup against the virtual controller: a saved and changed
// file shows the values that differ by name and writes only the sections that differ, the
// receiver's bits of the channel word kept; a file bad in any section, or a Cancel, sends
// nothing.
#include "pagerig.h"
#include "modalscript.h"

#include "pages/pagefcpara.h"
#include "protocol/frameids.h"
#include "widgets/dialogsetupdiff.h"

#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

class TestSetupBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void load_data();
    void load();
    void focusedBoxFollowsTheController();

private:
    QTemporaryDir dir;
};

void TestSetupBackup::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::RcState rc = VirtualFC::rc(); // SBUS, channel 1 reversed
    rc.recognition = 0;
    VirtualFC::setRc(rc);
}

void TestSetupBackup::load_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QList<int>>("writes");

    QTest::newRow("reverse flag 2") << "radio" << "reverse2" << QJsonValue(2) << true
                                    << "The value of \"reverse2\" in the tuning file is outside 0 to 1. Nothing was sent."
                                    << QStringList() << QList<int>();
    QTest::newRow("airframe not a group") << "airframe" << "" << QJsonValue("X8") << true
                                          << "\"airframe\" in the tuning file is not a group of values. Nothing was sent."
                                          << QStringList() << QList<int>();
    const QStringList table{"Channel 1 reversed|Normal|Reversed", "Airframe|Quad X|Hexa +"};
    QTest::newRow("changed, Cancel") << "" << "" << QJsonValue() << false << "Load this tuning?" << table
                                     << QList<int>();
    QTest::newRow("changed, OK") << "" << "" << QJsonValue() << true << "Load this tuning?" << table
                                 << QList<int>{FCProtocol::RC_WR, FCProtocol::FRAME_RW};
}

void TestSetupBackup::load()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(bool, accept);
    QFETCH(QString, shown);
    QFETCH(QStringList, table);
    QFETCH(QList<int>, writes);

    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    const QString path = dir.filePath(QStringLiteral("load.json"));
    QVERIFY(rig.page.saveTuningFile(path));
    // The file: channel 0 reversed too, the hexacopter; or one bad value.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject radio = root.value("radio").toObject();
    radio.insert("reverse0", 1);
    root.insert("radio", radio);
    root.insert("airframe", QJsonObject({{"airframe", 3}, {"mounting", 0}}));
    if (!section.isEmpty()) {
        QJsonObject bad = root.value(section).toObject();
        bad.insert(key, value);
        root.insert(section, key.isEmpty() ? value : QJsonValue(bad));
    }
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson());
    file.close();
    VirtualFC::clearRecords();

    QString text;
    QStringList rows;
    ModalScript answer;
    answer.on<QDialog>([&](QDialog* d) {
        text = d->findChild<QLabel*>(QStringLiteral("label_info"))->text();
        if (auto* t = d->findChild<QTableWidget*>(QStringLiteral("tableWidget_diff"))) {
            for (int r = 0; r < t->rowCount(); ++r)
                rows << t->item(r, 0)->text() + '|' + t->item(r, 1)->text() + '|' + t->item(r, 2)->text();
        }
        accept ? d->accept() : d->reject();
    });
    QCOMPARE(rig.page.loadTuningFile(path), accept && !writes.isEmpty());
    QCOMPARE(answer.count(), 1);
    QVERIFY2(text.startsWith(shown), qPrintable(text));
    QCOMPARE(rows, table);

    // Give anything queued the time to reach the controller.
    QVERIFY(rig.poll());
    QList<int> sent;
    for (int type : {FCProtocol::PARA_WR, FCProtocol::RC_WR, FCProtocol::FRAME_RW}) {
        const int count = VirtualFC::requestCount(type) - (type == FCProtocol::FRAME_RW ? 1 : 0); // the read
        if (count > 0)
            sent << type;
    }
    QCOMPARE(sent, writes);
    QCOMPARE(VirtualFC::frameSetting().airframe, qint8(writes.isEmpty() ? 0 : 3));
    // The receiver's own bits (SBUS) stay; the pilot's reversal of channels 0 and 1 arrives.
    QCOMPARE(VirtualFC::rc().channelWord, (1 << 17) | (1 << 9) | (writes.isEmpty() ? 0 : 1 << 8));
}

// A box that merely has focus follows the controller: left stale, leaving it would write its
// old number back over a restore, a load or the defaults.
void TestSetupBackup::focusedBoxFollowsTheController()
{
    PageRig<PageFCPara> rig;
    QApplication::setActiveWindow(&rig.page);
    QVERIFY(QTest::qWaitForWindowActive(&rig.page));
    QVERIFY(rig.poll());
    auto* escMin = rig.page.findChild<QDoubleSpinBox*>(QStringLiteral("doubleSpinBox_escMin"));
    escMin->setFocus();
    QVERIFY(escMin->hasFocus());
    QByteArray restored = VirtualFC::para();
    restored[6] = char(0x4A); // escMin 1098
    VirtualFC::setPara(restored);
    QVERIFY(rig.poll());
    QCOMPARE(escMin->value(), 1098.0);
    escMin->clearFocus();
    QVERIFY(rig.poll());
    QCOMPARE(VirtualFC::requestCount(FCProtocol::PARA_WR), 0);
    QCOMPARE(VirtualFC::para(), restored);
}

QTEST_MAIN(TestSetupBackup)
#include "tst_setupbackup.moc"
