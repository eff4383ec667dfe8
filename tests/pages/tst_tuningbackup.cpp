// The tuning backup of the parameter page: a saved file restores the controller's record byte
// for byte, a bad file is refused with its message before anything is sent, and saving without
// a record or into a missing folder fails visibly.
#include "modalscript.h"

#include "widgets/dialogsetupdiff.h"
#include "widgets/dialogwarning.h"
#include "pages/pagefcpara.h"
#include "engine/tuningfile.h"
#include "protocol/dspara.h"
#include "protocol/frameids.h"
#include "protocol/helper.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "pagerig.h"

using FCProtocol::DS_PARA;

namespace {

// Distinct values in every field, the reserved byte 0x5A and 3D.
const QByteArray kSaved = QByteArray::fromHex(
    "2c012d00b4001a04be05fa059e0701016e00780082008c0096000000003f0000803e0000003e0000803f"
    "00000040000080400000c03f0000403f0000c03e00004040000020400000a03f0000203f0000a0400000c040"
    "5a0001");

QByteArray goodFile()
{
    DS_PARA r;
    DS_PARA::decode(kSaved, &r);
    return TuningFile::toJson(r, QStringLiteral("Trelvo_0105"), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC));
}

// The good file with one change made to its JSON tree.
QByteArray edited(const std::function<void(QJsonObject& root, QJsonObject& parameters)>& change)
{
    QJsonObject root = QJsonDocument::fromJson(goodFile()).object();
    QJsonObject parameters = root.value(QStringLiteral("parameters")).toObject();
    change(root, parameters);
    root.insert(QStringLiteral("parameters"), parameters);
    return QJsonDocument(root).toJson();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Answers the file dialog of a button with `path`.
void chooseFile(QFileDialog* dialog, const QString& path)
{
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
}

} // namespace

class TestTuningBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTripThroughTheController();
    void badFile_data();
    void badFile();
    void saveNeedsARecord();
    void failedSaveLeavesNoFile();

private:
    QTemporaryDir dir;
};

void TestTuningBackup::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
}

// Save, change the controller, load: the controller holds the saved record byte for byte,
// after one PARA_WR, and nothing was stored to its permanent memory.
void TestTuningBackup::roundTripThroughTheController()
{
    VirtualFC::setPara(kSaved);
    PageRig<PageFCPara> rig;
    rig.page.InfoRDDone(VirtualFC::info());
    QVERIFY(rig.poll());
    const QString path = dir.filePath(QStringLiteral("before-update.json"));
    {
        ModalScript answer;
        answer.on<QFileDialog>([&](QFileDialog* d) { chooseFile(d, path); });
        rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_paraSave"))->click();
        QCOMPARE(answer.count(), 1);
    }

    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(saved.readAll()).object();
    QCOMPARE(root.value("format").toString(), QStringLiteral("orvante-tuning"));
    QCOMPARE(root.value("version").toInt(), 2);
    QCOMPARE(root.value("board").toString(), FCProtocol::Helper::boardName(VirtualFC::info().boardWord));
    QVERIFY(QDateTime::fromString(root.value("date").toString(), Qt::ISODate).isValid());
    const QJsonObject parameters = root.value("parameters").toObject();
    QCOMPARE(parameters.size(), 32);
    QCOMPARE(parameters.value("reserved").toInt(), 0x5A);
    QCOMPARE(parameters.value("escMax").toInt(), 1950);
    QCOMPARE(parameters.value("expert_avx_d").toDouble(), 0.125);

    VirtualFC::setPara(VirtualFC::defaultPara());
    QVERIFY(rig.poll());
    QCOMPARE(rig.page.findChild<QDoubleSpinBox*>("doubleSpinBox_escMax")->value(), 1900.0);
    VirtualFC::clearRecords();

    int differing = 0;
    ModalScript dialogs({ModalScript::Ok});
    dialogs.on<QFileDialog>([&](QFileDialog* d) { chooseFile(d, path); });
    dialogs.on<DialogSetupDiff>([&](DialogSetupDiff* d) {
        differing = d->findChild<QTableWidget*>(QStringLiteral("tableWidget_diff"))->rowCount();
        d->accept();
    });
    rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_paraLoad"))->click();
    QCOMPARE(dialogs.classes(), QStringList({"QFileDialog", "DialogSetupDiff"}));
    // 30 of the 32 fields differ from the defaults (linkXY and oneshot125 agree).
    QCOMPARE(dialogs.text(1), QStringLiteral("Load this tuning? These values in before-update.json differ from the "
                                             "controller's. They are not stored in the controller until you press Save."));
    QCOMPARE(differing, 30);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::para().toHex(), kSaved.toHex(), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.page.findChild<QDoubleSpinBox*>("doubleSpinBox_escMax")->value(), 1950.0, 3000);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::PARA_WR), 1);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STORE), 0);
    QCOMPARE(VirtualFC::flashPara(), VirtualFC::defaultPara());
}

void TestTuningBackup::badFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("accept");

    // Every kind of bad file has its row in the setup file's own test; here the page's message.
    QTest::newRow("bad file") << "file" << edited([](QJsonObject&, QJsonObject& p) { p.insert("escMin", "1100"); })
                              << "bad-file cannot be loaded: the value of \"escMin\" is not a number. Nothing was sent."
                              << true;
    QTest::newRow("folder") << "dir" << QByteArray() << "folder cannot be loaded: cannot be read. Nothing was sent."
                            << true;
    const QByteArray good = goodFile();
    QTest::newRow("good file, Cancel") << "file" << good << "Load this tuning?" << false;
}

void TestTuningBackup::badFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(bool, accept);

    VirtualFC::setPara(VirtualFC::defaultPara());
    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    VirtualFC::clearRecords();

    QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
    if (kind == QLatin1String("dir"))
        QVERIFY(QDir().mkpath(path));
    else
        QVERIFY(writeFile(path, bytes));

    ModalScript answer({accept ? ModalScript::Ok : ModalScript::Cancel});
    QCOMPARE(rig.page.loadTuningFile(path), false);
    QCOMPARE(answer.count(), 1);
    // A good file's question is the table of the values that differ.
    QCOMPARE(answer.classes().value(0), QLatin1String(accept ? "DialogWarning" : "DialogSetupDiff"));
    QVERIFY2(answer.text().contains(message), qPrintable(answer.text()));

    // Give anything queued the time to reach the controller: only the poll may.
    QVERIFY(rig.poll());
    QCOMPARE(VirtualFC::requestCount(FCProtocol::PARA_WR), 0);
    QCOMPARE(VirtualFC::para(), VirtualFC::defaultPara());
}

void TestTuningBackup::saveNeedsARecord()
{
    PageFCPara page;
    page.show();
    ModalScript answer({ModalScript::Ok});
    page.findChild<QPushButton*>(QStringLiteral("pushButton_paraSave"))->click();
    QCOMPARE(answer.count(), 1);
    // The message, not a file dialog.
    QCOMPARE(answer.classes().value(0), QStringLiteral("DialogWarning"));
    QCOMPARE(answer.text(),
             QStringLiteral("No parameters have been read from the controller yet; there is nothing to save."));
}

void TestTuningBackup::failedSaveLeavesNoFile()
{
    VirtualFC::setPara(kSaved);
    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    const QString path = dir.filePath(QStringLiteral("no-such-folder/tuning.json"));
    ModalScript answer({ModalScript::Ok});
    QCOMPARE(rig.page.saveTuningFile(path), false);
    QCOMPARE(answer.count(), 1);
    QVERIFY2(answer.text().startsWith(QStringLiteral("The tuning could not be saved to ")),
             qPrintable(answer.text()));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("tuning")).isEmpty());
}

QTEST_MAIN(TestTuningBackup)

#include "tst_tuningbackup.moc"
