// The firmware page: what the pilot reads while the update engine works, the questions and
// messages before an update starts, and the file dialog. The update's own rules are the
// engine's (tests/engine/tst_firmwareupdate.cpp).
#include "firmwarefile.h"
#include "firmwarepagerun.h"

#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

using FCProtocol::Task;

namespace {

constexpr quint32 kFileVersion = 0xF0300106;   // board 0x30, version 0x0106
constexpr quint32 kFirmwareWord = 0xF0300105;
constexpr quint32 kBootloaderWord = 0xF0000102;
constexpr quint16 kCheck = 0xC0DE;
const QByteArray kOk(1, char(0xAB));

} // namespace

class TestPageFCFirmware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void construction_data();
    void construction();
    void procedure_data();
    void procedure();
    void beforeTheStart_data();
    void beforeTheStart();
    void loadFile_data();
    void loadFile();

private:
    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }
};

void TestPageFCFirmware::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    // The file dialog as widgets, which the test can answer.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestPageFCFirmware::init()
{
    QVERIFY(dir.isValid());
    QVERIFY(storeBinFile(file(QStringLiteral("fw.bin")), binFile(kFileVersion, kCheck, imageOf(2))));
}

void TestPageFCFirmware::construction_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("website"); // with an e-mail address at the same domain, or none
    QTest::newRow("stored file valid") << binFile(kFileVersion, kCheck, imageOf(2)) << "Trelvo_0106" << "";
    QTest::newRow("stored file refused") << binFile(0x70300106, kCheck, imageOf(2)) << "LoadFile"
                                         << "https://karux.example/";
}

void TestPageFCFirmware::construction()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, button);
    QFETCH(QString, website);
    QVERIFY(storeBinFile(file(QStringLiteral("stored.bin")), bytes));

    PageFCFirmware page;
    // The makers' addresses open in the desktop's programs; one not configured is not
    // announced by a caption with nothing after it.
    page.setContacts(website, website.isEmpty() ? QString() : QStringLiteral("orvante@karux.example"));
    page.show();
    for (const char* name : {"label_web", "label_webCaption", "label_email", "label_emailCaption"})
        QCOMPARE(page.findChild<QLabel*>(QLatin1String(name))->isVisible(), !website.isEmpty());
    QTextDocument web;
    web.setHtml(page.findChild<QLabel*>(QStringLiteral("label_web"))->text());
    QCOMPARE(web.toPlainText(), website.isEmpty() ? QString() : QStringLiteral("karux.example"));
    QCOMPARE(page.findChild<QLabel*>(QStringLiteral("label_email"))->text().contains(QStringLiteral("href=\"mailto:orvante@karux.example\"")),
             !website.isEmpty());
    QCOMPARE(page.objectName(), QStringLiteral("pageFCFirmware"));
    QCOMPARE(page.findChild<QPushButton*>("pushButton_loadFile")->text(), button);
    QCOMPARE(page.findChild<QPushButton*>("pushButton_update")->text(), QStringLiteral("Update"));
    QCOMPARE(page.findChild<QLabel*>("label_firmwareVersion")->text(), QStringLiteral("Current Version"));
    QCOMPARE(page.findChild<QLabel*>("label_progress_value")->text(), QStringLiteral("0%"));
    QCOMPARE(page.findChild<QLabel*>("label_progress_info")->text(), QString());
    // The tick runs from construction on, shown or not.
    QVERIFY(page.tickTimer()->isActive());
    QCOMPARE(page.tickTimer()->interval(), 50);
    // Idle, the tick only reads the version: it may share its wake-ups with other timers.
    QCOMPARE(page.tickTimer()->timerType(), Qt::CoarseTimer);
    QCOMPARE(page.update()->step(), 0);
    QVERIFY(!page.update()->linkOk());
}

void TestPageFCFirmware::procedure_data()
{
    QTest::addColumn<bool>("verifyMatches");
    QTest::newRow("verify matches: success") << true;
    QTest::newRow("verify differs: fail") << false;
}

void TestPageFCFirmware::procedure()
{
    QFETCH(bool, verifyMatches);
    FirmwarePageRun run;
    QVERIFY(run.connectTo(kFirmwareWord));
    QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("Trelvo_0105"));
    ModalScript script({ModalScript::Ok});
    QVERIFY(run.pressUpdate());
    QCOMPARE(script.texts(), QStringList({"During the update process,please DO NOT move the controller in "
                                          "case of unexpeceted disconnect!"}));
    // A block goes out on the first tick after its confirmation: a tick allowed to drift late
    // costs a whole tick per block.
    QCOMPARE(run.page.tickTimer()->timerType(), Qt::PreciseTimer);

    Task* jump = run.tick();
    QCOMPARE(jump->type, int(FCProtocol::BOOT_JUMP));
    run.tick();
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Preparing for update..."));
    run.answer(jump, kOk);
    run.answer(run.tick(), kOk);
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Updating..."));
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("0%"));
    Task* last = run.tick();
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("50%"));
    run.answer(last, kOk);
    Task* verify = run.tick();
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("100%"));
    run.answer(verify, verifyMatches ? littleEndian(kCheck) : littleEndian(quint16(kCheck + 1)));

    if (!verifyMatches) {
        QCOMPARE(run.boot.count(), 2);
        QCOMPARE(run.boot.last().at(0).toBool(), false);
        run.answer(run.tick(), FirmwarePageRun::version(kBootloaderWord));
        QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update fail"));
        // The controller stays in its bootloader and says so.
        QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("BOOTLOADER_0102"));
        run.tick();
        QCOMPARE(run.text("label_progress_value"), QStringLiteral("0%"));
        QCOMPARE(run.page.tickTimer()->timerType(), Qt::CoarseTimer);
        return;
    }
    run.answer(run.tick(), QByteArray(1, char(0xBA)));
    run.answer(run.tick(), FirmwarePageRun::version(kFileVersion));
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update done, Restarting..."));
    QCOMPARE(run.boot.count(), 2);
    QCOMPARE(run.boot.last().at(0).toBool(), false);
    run.tick();
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update success"));
    QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("Trelvo_0106"));
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("0%"));
    QCOMPARE(run.page.tickTimer()->timerType(), Qt::CoarseTimer);
}

void TestPageFCFirmware::beforeTheStart_data()
{
    QTest::addColumn<bool>("controller");
    QTest::addColumn<quint32>("word");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("starts");

    const QByteArray good = binFile(kFileVersion, kCheck, imageOf(2));
    const QString warning = QStringLiteral("During the update process,please DO NOT move the "
                                           "controller in case of unexpeceted disconnect!");
    const QString noController = QStringLiteral(
        "No controller is answering, so the update cannot start. Connect it and wait until its "
        "firmware version is shown.");
    const QString noFile = QStringLiteral("No valid firmware file is loaded, so the update cannot "
                                          "start. Load a .bin file first.");
    const QString otherBoard = QStringLiteral(
        "This firmware is for Trelvo_0106, but the controller is Brisel_0105. Another board's "
        "firmware can make it unusable. Update anyway?");
    const QString same = QStringLiteral("The controller already runs this firmware (Trelvo_0106). "
                                        "Write it again?");

    QTest::newRow("no controller answering") << false << kFirmwareWord << good << QList<bool>{true}
                                             << QStringList{noController} << false;
    QTest::newRow("no valid file") << true << kFirmwareWord << binFile(kFileVersion, kCheck, QByteArray(3000, 'x'))
                                   << QList<bool>{true} << QStringList{noFile} << false;
    QTest::newRow("warning cancelled") << true << kFirmwareWord << good << QList<bool>{false}
                                       << QStringList{warning} << false;
    QTest::newRow("other board, cancelled") << true << 0xF0280105u << good
                                            << QList<bool>{true, false}
                                            << QStringList{warning, otherBoard} << false;
    QTest::newRow("other board, OK") << true << 0xF0280105u << good << QList<bool>{true, true}
                                     << QStringList{warning, otherBoard} << true;
    QTest::newRow("same firmware, cancelled") << true << kFileVersion << good
                                              << QList<bool>{true, false}
                                              << QStringList{warning, same} << false;
    QTest::newRow("same firmware, OK") << true << kFileVersion << good << QList<bool>{true, true}
                                       << QStringList{warning, same} << true;
    QTest::newRow("in the bootloader: no board question") << true << kBootloaderWord << good
                                                           << QList<bool>{true}
                                                           << QStringList{warning} << true;
}

void TestPageFCFirmware::beforeTheStart()
{
    QFETCH(bool, controller);
    QFETCH(quint32, word);
    QFETCH(QByteArray, file);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, texts);
    QFETCH(bool, starts);

    FirmwarePageRun run;
    if (controller)
        QVERIFY(run.connectTo(word));
    QVERIFY(storeBinFile(this->file(QStringLiteral("update.bin")), file));
    QList<ModalScript::Answer> script;
    for (bool ok : answers)
        script << (ok ? ModalScript::Ok : ModalScript::Cancel);
    {
        ModalScript dialogs(script);
        QCOMPARE(run.pressUpdate(), starts);
        QCOMPARE(dialogs.texts(), texts);
    }
    QCOMPARE(run.page.update()->step(), starts ? FirmwareUpdate::EnterBoot : FirmwareUpdate::Idle);
    // Nothing started: the version reads go on, and the controller is never sent into its
    // bootloader.
    for (int i = 0; i < 3; ++i) {
        Task* sent = run.tick();
        QCOMPARE(sent ? sent->type : -1, int(starts ? FCProtocol::BOOT_JUMP : FCProtocol::FW_INFO_RD));
    }
    // Pressed again while the update runs: nothing, not even the warning.
    if (starts) {
        ModalScript again;
        QVERIFY(!run.pressUpdate());
        QCOMPARE(again.count(), 0);
        QCOMPARE(run.boot.count(), 1);
    }
}

void TestPageFCFirmware::loadFile_data()
{
    QTest::addColumn<QByteArray>("chosen"); // empty: the dialog is cancelled
    QTest::addColumn<QString>("button");
    QTest::newRow("cancelled") << QByteArray() << "Trelvo_0106";
    QTest::newRow("refused file") << binFile(0x12345678, kCheck, imageOf(1)) << "Trelvo_0106";
    QTest::newRow("accepted file") << binFile(0xF0280003, 0x1111, imageOf(1)) << "Brisel_0003";
}

void TestPageFCFirmware::loadFile()
{
    QFETCH(QByteArray, chosen);
    QFETCH(QString, button);
    const QString stored = file(QStringLiteral("fw.bin"));
    const QString picked = file(QStringLiteral("picked.bin"));
    if (!chosen.isEmpty()) {
        QFile out(picked);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(chosen);
    }

    PageFCFirmware page;
    ModalScript chooser;
    chooser.on<QFileDialog>([&](QFileDialog* dialog) {
        if (chosen.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(picked);
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    page.findChild<QPushButton*>(QStringLiteral("pushButton_loadFile"))->click();
    QCOMPARE(chooser.texts(), QStringList{"Open Bin File"});
    QCOMPARE(page.findChild<QPushButton*>(QStringLiteral("pushButton_loadFile"))->text(), button);
    const bool accepted = button != QLatin1String("Trelvo_0106");
    QCOMPARE(QSettings().value(QStringLiteral("firmware/path")).toString(), accepted ? picked : stored);
    QCOMPARE(page.update()->image().path, accepted ? picked : stored);
}

QTEST_MAIN(TestPageFCFirmware)

#include "tst_pagefcfirmware.moc"
