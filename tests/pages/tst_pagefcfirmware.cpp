// The firmware page on its own: what it puts in each request, how the replies move the update
// on, what the pilot reads, the questions and messages before an update starts, and that no
// late or repeated reply can skip a block or lead to a block beyond the image.
#include "firmwarerun.h"
#include "whenshown.h"

#include "protocol/helper.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

using FCProtocol::Task;

namespace {

constexpr quint32 kFileVersion = 0xF0300106;   // board 0x30, version 0x0106
constexpr qint32 kFirmwareWord = qint32(0xF0300105);
constexpr qint32 kBootloaderWord = qint32(0xF0000102);
constexpr quint16 kCheck = 0xC0DE;

qint32 offsetOf(const Task* task)
{
    QDataStream in(task->txData.mid(2, 4));
    in.setByteOrder(QDataStream::LittleEndian);
    qint32 offset = 0;
    in >> offset;
    return offset;
}

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
    void blockTimeoutStartsThePassOver_data();
    void blockTimeoutStartsThePassOver();
    void lateReplies_data();
    void lateReplies();
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
    QTest::newRow("stored file valid") << binFile(kFileVersion, kCheck, imageOf(2)) << "Trelvo_0106";
    QTest::newRow("stored file refused") << binFile(0x70300106, kCheck, imageOf(2)) << "LoadFile";
}

void TestPageFCFirmware::construction()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, button);
    QVERIFY(storeBinFile(file(QStringLiteral("stored.bin")), bytes));

    PageFCFirmware page;
    QCOMPARE(page.objectName(), QStringLiteral("pageFCFirmware"));
    QCOMPARE(page.findChild<QPushButton*>("pushButton_loadFile")->text(), button);
    QCOMPARE(page.findChild<QPushButton*>("pushButton_update")->text(), QStringLiteral("Update"));
    QCOMPARE(page.findChild<QLabel*>("label_firmwareVersion")->text(), QStringLiteral("Current Version"));
    QCOMPARE(page.findChild<QLabel*>("label_progress_value")->text(), QStringLiteral("0%"));
    QCOMPARE(page.findChild<QLabel*>("label_progress_info")->text(), QString());
    // The tick runs from construction on, shown or not.
    QVERIFY(page.tickTimer()->isActive());
    QCOMPARE(page.tickTimer()->interval(), 50);
    // A block goes out on the first tick after its confirmation: a tick allowed to drift late
    // costs a whole tick per block.
    QCOMPARE(page.tickTimer()->timerType(), Qt::PreciseTimer);
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
    FirmwareRun run;
    QVERIFY(run.connectTo(kFirmwareWord));
    QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("Trelvo_0105"));

    QStringList texts;
    QVERIFY(run.pressUpdate({true}, &texts));
    QCOMPARE(texts, QStringList({"During the update process,please DO NOT move the controller in "
                                 "case of unexpeceted disconnect!"}));

    // Into the bootloader: BOOT_JUMP 0xAB, urgent, on every tick until it answers.
    QList<Task*> sent = run.tick();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0]->txData, QByteArray("\x04\x00\xAB\x00\x00\x00", 6));
    QVERIFY(sent[0]->urgent);
    Task* jump = run.tick().value(0);
    QCOMPARE(jump->txData, sent[0]->txData);
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Preparing for update..."));
    run.answer(jump, FirmwareRun::byte(0xAB));
    QCOMPARE(run.page.update()->step(), 2);

    // Block 0, then block 1 one tick after its confirmation.
    Task* block0 = run.tick().value(0);
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Updating..."));
    QCOMPARE(block0->type, int(FCProtocol::BLOCK_PROG));
    QVERIFY(block0->urgent);
    QCOMPARE(block0->txData, QByteArray("\x04\x01\x00\x00\x00\x00", 6) + imageOf(2).left(2048));
    QCOMPARE(run.tick().size(), 0); // one block in flight at a time
    run.answer(block0, FirmwareRun::byte(0xAB));
    Task* block1 = run.tick().value(0);
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("50%"));
    QCOMPARE(offsetOf(block1), 2048);
    QCOMPARE(block1->txData.mid(6), imageOf(2).mid(2048));
    run.answer(block1, FirmwareRun::byte(0xAB));
    QCOMPARE(run.page.update()->step(), 3);

    // VERIFY on every tick until a reply comes.
    Task* verify = run.tick().value(0);
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("100%"));
    QCOMPARE(verify->txData, QByteArray("\x04\x02", 2));
    QVERIFY(verify->urgent);
    Task* verifyAgain = run.tick().value(0);
    QCOMPARE(verifyAgain->type, int(FCProtocol::VERIFY));
    QTest::ignoreMessage(QtDebugMsg, verifyMatches ? "verify success" : "verify fail");
    run.answer(verify, verifyMatches ? QByteArray("\xDE\xC0", 2) : QByteArray("\xDF\xC0", 2));
    // The second VERIFY's reply comes after the step moved on and changes nothing.
    run.answer(verifyAgain, QByteArray("\xDE\xC0", 2));

    if (!verifyMatches) {
        QCOMPARE(run.page.update()->step(), 0);
        QCOMPARE(run.boot.count(), 2);
        QCOMPARE(run.boot.last().at(0).toBool(), false);
        QCOMPARE(run.tick().value(0)->type, int(FCProtocol::FW_INFO_RD));
        QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update fail"));
        // The controller stays in its bootloader and says so.
        run.answer(run.all.back().get(), FirmwareRun::words(1, 256 * 1024, kBootloaderWord, 4096));
        QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("BOOTLOADER_0102"));
        QCOMPARE(run.tick().size(), 1);
        QCOMPARE(run.text("label_progress_value"), QStringLiteral("0%"));
        return;
    }

    // Back into the flight firmware.
    Task* leave = run.tick().value(0);
    QCOMPARE(leave->txData, QByteArray("\x04\x00\xBA\x00\x00\x00", 6));
    run.answer(leave, FirmwareRun::byte(0xBA));
    QCOMPARE(run.page.update()->step(), 0);
    Task* read = run.tick().value(0);
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update done, Restarting..."));
    QCOMPARE(read->type, int(FCProtocol::FW_INFO_RD));
    QVERIFY(!read->urgent);
    // The bootloader answering before it restarts does not end the update...
    run.answer(read, FirmwareRun::words(1, 256 * 1024, kBootloaderWord, 4096));
    QCOMPARE(run.boot.count(), 1);
    QCOMPARE(run.page.update()->progressState(), 3);
    // ...the restarted flight firmware does.
    run.answer(run.tick().value(0), FirmwareRun::words(0, 256 * 1024, qint32(kFileVersion), 0));
    QCOMPARE(run.boot.count(), 2);
    QCOMPARE(run.boot.last().at(0).toBool(), false);
    run.tick();
    QCOMPARE(run.text("label_progress_info"), QStringLiteral("Update success"));
    QCOMPARE(run.text("label_firmwareVersion"), QStringLiteral("Trelvo_0106"));
    QCOMPARE(run.text("label_progress_value"), QStringLiteral("0%"));
    QCOMPARE(run.blockOffsets(), QList<qint32>({0, 2048}));
}

void TestPageFCFirmware::blockTimeoutStartsThePassOver_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("code");
    QTest::newRow("block refused") << 0 << 0xEE;
    QTest::newRow("block not answered") << int(Task::NoReply) << 0;
}

void TestPageFCFirmware::blockTimeoutStartsThePassOver()
{
    QFETCH(int, status);
    QFETCH(int, code);
    FirmwareRun run;
    QVERIFY(run.connectTo(kFirmwareWord));
    QVERIFY(run.pressUpdate({true}));
    run.answer(run.tick().value(0), FirmwareRun::byte(0xAB));
    run.answer(run.tick().value(0), FirmwareRun::byte(0xAB));
    Task* block1 = run.tick().value(0);
    QCOMPARE(offsetOf(block1), 2048);
    run.answer(block1, FirmwareRun::byte(quint8(code)), status);
    QCOMPARE(run.page.update()->linkOk(), status == 0);

    // Nothing is sent for 39 more ticks; the 40th starts over from block 0.
    for (int i = 0; i < 39; ++i)
        QCOMPARE(run.tick().size(), 0);
    QTest::ignoreMessage(QtDebugMsg, "prog timeout, retry");
    Task* again = run.tick().value(0);
    QVERIFY(again);
    QCOMPARE(offsetOf(again), 0);
    QCOMPARE(run.page.update()->blockIndex(), 0);
    QCOMPARE(run.blockOffsets(), QList<qint32>({0, 2048, 0}));
}

void TestPageFCFirmware::lateReplies_data()
{
    QTest::addColumn<QString>("late");
    QTest::newRow("block 0 confirmed again while block 1 waits") << "block0-again";
    QTest::newRow("old pass's block 1 confirmed after the restart") << "old-block1";
    QTest::newRow("last block confirmed twice") << "last-twice";
    QTest::newRow("bootloader entry confirmed during verify") << "jump-in-verify";
    QTest::newRow("bootloader entry confirmed after the update") << "jump-after";
    QTest::newRow("firmware entry confirmed while entering the bootloader") << "leave-in-enter";
}

void TestPageFCFirmware::lateReplies()
{
    QFETCH(QString, late);
    const QByteArray ok = FirmwareRun::byte(0xAB);
    FirmwareRun run;
    QVERIFY(run.connectTo(kFirmwareWord));
    QVERIFY(run.pressUpdate({true}));
    Task* enter = run.tick().value(0);
    Task* enterAgain = run.tick().value(0);

    if (late == "leave-in-enter") {
        Task* leave = new Task(FCProtocol::BOOT_JUMP, true);
        leave->txStream << qint32(0xBA);
        run.all.emplace_back(leave);
        run.answer(leave, FirmwareRun::byte(0xBA));
        QCOMPARE(run.page.update()->step(), 1);
        QCOMPARE(run.tick().value(0)->txData.mid(2, 1), QByteArray("\xAB", 1));
        return;
    }

    run.answer(enter, ok);
    Task* block0 = run.tick().value(0);
    run.answer(block0, ok);
    Task* block1 = run.tick().value(0);

    if (late == "block0-again") {
        run.answer(block0, ok);
        QCOMPARE(run.page.update()->blockIndex(), 1);
        QCOMPARE(run.page.update()->step(), 2);
        QCOMPARE(run.tick().size(), 0);
        run.answer(block1, ok);
    } else if (late == "old-block1") {
        for (int i = 0; i < 40; ++i)
            run.tick();
        QCOMPARE(run.page.update()->blockIndex(), 0);
        run.answer(block1, ok); // the restarted pass waits for block 0
        QCOMPARE(run.page.update()->blockIndex(), 0);
        QCOMPARE(run.tick().size(), 0);
        run.answer(run.all.back().get(), ok);
        run.answer(run.tick().value(0), ok);
    } else {
        run.answer(block1, ok);
        QCOMPARE(run.page.update()->step(), 3);
        if (late == "last-twice") {
            run.answer(block1, ok);
            QCOMPARE(run.page.update()->blockIndex(), 2);
        } else if (late == "jump-in-verify") {
            run.answer(enterAgain, ok);
        } else if (late == "jump-after") {
            run.answer(run.tick().value(0), QByteArray("\xDE\xC0", 2));
            run.answer(run.tick().value(0), FirmwareRun::byte(0xBA));
            run.answer(run.tick().value(0), FirmwareRun::words(0, 0, kFirmwareWord, 0));
            QCOMPARE(run.page.update()->progressState(), 4);
            run.answer(enterAgain, ok);
            QCOMPARE(run.page.update()->step(), 0);
            QCOMPARE(run.tick().value(0)->type, int(FCProtocol::FW_INFO_RD));
        }
    }
    // Whatever came late: the ticks that follow ask only what the step needs, and every
    // block the page ever sent lies inside the image, in order.
    for (int i = 0; i < 3; ++i) {
        for (Task* t : run.tick())
            QVERIFY(t->type != FCProtocol::BLOCK_PROG);
    }
    const QList<qint32> offsets = run.blockOffsets();
    QCOMPARE(offsets.mid(0, 2), QList<qint32>({0, 2048}));
    for (qint32 offset : offsets)
        QVERIFY2(offset >= 0 && offset < 4096, qPrintable(QString::number(offset)));
}

void TestPageFCFirmware::beforeTheStart_data()
{
    QTest::addColumn<bool>("controller");
    QTest::addColumn<qint32>("word");
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
    QTest::newRow("other board, cancelled") << true << qint32(0xF0280105) << good
                                            << QList<bool>{true, false}
                                            << QStringList{warning, otherBoard} << false;
    QTest::newRow("other board, OK") << true << qint32(0xF0280105) << good << QList<bool>{true, true}
                                     << QStringList{warning, otherBoard} << true;
    QTest::newRow("same firmware, cancelled") << true << qint32(kFileVersion) << good
                                              << QList<bool>{true, false}
                                              << QStringList{warning, same} << false;
    QTest::newRow("same firmware, OK") << true << qint32(kFileVersion) << good << QList<bool>{true, true}
                                       << QStringList{warning, same} << true;
    QTest::newRow("in the bootloader: no board question") << true << kBootloaderWord << good
                                                           << QList<bool>{true}
                                                           << QStringList{warning} << true;
}

void TestPageFCFirmware::beforeTheStart()
{
    QFETCH(bool, controller);
    QFETCH(qint32, word);
    QFETCH(QByteArray, file);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, texts);
    QFETCH(bool, starts);

    FirmwareRun run;
    if (controller)
        QVERIFY(run.connectTo(word));
    QVERIFY(storeBinFile(this->file(QStringLiteral("update.bin")), file));
    QStringList shown;
    QCOMPARE(run.pressUpdate(answers, &shown), starts);
    QCOMPARE(shown, texts);
    QCOMPARE(run.page.update()->step(), starts ? 1 : 0);
    // Nothing started: no BOOT_JUMP goes out on the next ticks.
    for (int i = 0; i < 3; ++i) {
        for (Task* t : run.tick())
            QCOMPARE(t->type == FCProtocol::BOOT_JUMP, starts);
    }
    // Pressed again while the update runs: nothing, not even the warning.
    if (starts) {
        QStringList again;
        QVERIFY(!run.pressUpdate({true}, &again));
        QVERIFY(again.isEmpty());
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
    QString title;
    WhenShown<QFileDialog> chooser([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        if (chosen.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(picked);
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    page.findChild<QPushButton*>(QStringLiteral("pushButton_loadFile"))->click();
    QVERIFY(chooser.done);
    QCOMPARE(title, QStringLiteral("Open Bin File"));
    QCOMPARE(page.findChild<QPushButton*>(QStringLiteral("pushButton_loadFile"))->text(), button);
    const bool accepted = button != QLatin1String("Trelvo_0106");
    QCOMPARE(QSettings().value(QStringLiteral("firmware/path")).toString(), accepted ? picked : stored);
    QCOMPARE(page.update()->image().path, accepted ? picked : stored);
}

QTEST_MAIN(TestPageFCFirmware)

#include "tst_pagefcfirmware.moc"
