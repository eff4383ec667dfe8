// The parameter page keeps the whole setup against the virtual controller: a saved and changed
// file shows the values that differ by name and writes only the sections that differ, the
// receiver's bits of the channel word kept; a Cancel sends nothing; a value the board keeps is
// named to the pilot.
#include "pagerig.h"
#include "modalscript.h"

#include "pages/pagefcpara.h"
#include "protocol/frameids.h"
#include "widgets/dialogsetupdiff.h"
#include "widgets/dialogwarning.h"

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
    QTest::addColumn<bool>("keep"); // the board keeps its airframe
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QList<int>>("writes");

    const QStringList table{"Channel 1 reversed|Normal|Reversed", "Airframe|Quad X|Hexa +"};
    QTest::addColumn<QString>("outcome");
    QTest::newRow("changed, Cancel") << false << false << "Load this tuning?" << table << QList<int>() << "";
    QTest::newRow("changed, OK") << false << true << "Load this tuning?" << table
                                 << QList<int>{FCProtocol::RC_WR, FCProtocol::FRAME_RW} << "";
    QTest::newRow("changed, OK, the board keeps its airframe")
        << true << true << "Load this tuning?" << table << QList<int>{FCProtocol::RC_WR, FCProtocol::FRAME_RW}
        << "These values did not take:\nAirframe: the controller kept Quad X";
}

void TestSetupBackup::load()
{
    QFETCH(bool, keep);
    QFETCH(bool, accept);
    QFETCH(QString, shown);
    QFETCH(QStringList, table);
    QFETCH(QList<int>, writes);
    QFETCH(QString, outcome);

    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    const QString path = dir.filePath(QStringLiteral("load.json"));
    QVERIFY(rig.page.saveTuningFile(path));
    // The file: channel 0 reversed too, the hexacopter.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject radio = root.value("radio").toObject();
    radio.insert("reverse0", 1);
    root.insert("radio", radio);
    root.insert("airframe", QJsonObject({{"airframe", 3}, {"mounting", 0}}));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson());
    file.close();
    VirtualFC::clearRecords();
    if (keep)
        VirtualFC::setFault(VirtualFC::Fault::KeepValues, -1, 0, FCProtocol::FRAME_RW);

    QString text;
    QStringList rows;
    ModalScript answer;
    answer.on<DialogWarning>([&](DialogWarning* d) { d->accept(); });
    answer.on<QDialog>([&](QDialog* d) {
        text = d->findChild<QLabel*>(QStringLiteral("label_info"))->text();
        if (auto* t = d->findChild<QTableWidget*>(QStringLiteral("tableWidget_diff"))) {
            for (int r = 0; r < t->rowCount(); ++r)
                rows << t->item(r, 0)->text() + '|' + t->item(r, 1)->text() + '|' + t->item(r, 2)->text();
        }
        accept ? d->accept() : d->reject();
    });
    QCOMPARE(rig.page.loadTuningFile(path), accept && !writes.isEmpty());
    QCOMPARE(answer.count(), outcome.isEmpty() ? 1 : 2);
    QVERIFY2(text.startsWith(shown), qPrintable(text));
    QCOMPARE(rows, table);
    QCOMPARE(answer.text(1), outcome);

    // Give anything queued the time to reach the controller.
    QVERIFY(rig.poll());
    QList<int> sent;
    for (const QByteArray& request : VirtualFC::requests()) {
        const int type = FCProtocol::taskTypeOf(quint8(request[0]), quint8(request[1]));
        // FRAME_RW reads (payload 0) go out before the question and after each write.
        const bool write = type == FCProtocol::PARA_WR || type == FCProtocol::RC_WR
            || (type == FCProtocol::FRAME_RW && request[2] == 1);
        if (write && !sent.contains(type))
            sent << type;
    }
    QCOMPARE(sent, writes);
    QCOMPARE(VirtualFC::frameSetting().airframe, qint8(writes.isEmpty() || keep ? 0 : 3));
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
