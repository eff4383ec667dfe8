// Firmware updates end to end: the main window, the task run controller, the transport and the
// virtual flight controller, with the faults a USB cable and a restarting board produce. Every
// run must end with the controller's flash holding the image, "Update success", navigation
// released, and no block ever requested at or beyond the image's end.
#include "firmwarefile.h"
#include "mainwindowup.h"
#include "modalscript.h"

#include "pages/pagefcfirmware.h"
#include "protocol/crc16.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <atomic>

using VirtualFC::Fault;

namespace {

constexpr int kBlocks = 4;
std::atomic<int> restarts{0}; // passes started over after a block that went out unconfirmed
QtMessageHandler passedOn = nullptr;
const QString kSuccess = QStringLiteral("Update success");

QList<QByteArray> requestsOf(quint8 idByte)
{
    QList<QByteArray> found;
    for (const QByteArray& frame : VirtualFC::requests()) {
        if (quint8(frame[0]) == 0x04 && quint8(frame[1]) == idByte)
            found << frame;
    }
    return found;
}

QByteArray frame(const QByteArray& head, quint8 crcLow, quint8 crcHigh)
{
    return head + QByteArray(62 - head.size(), '\0') + char(crcLow) + char(crcHigh);
}

} // namespace

class TestFCAppFirmware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void update_data();
    void update();

private:
    // The main window on the firmware page, its controller answering.
    void openOnFirmwarePage();
    bool pressUpdate(QList<ModalScript::Answer> answers);
    QList<QRadioButton*> navigation() const;

    QTemporaryDir dir;
    QByteArray image;
    std::unique_ptr<MainWindowUp<>> window;
    FCApp* app = nullptr;
    PageFCFirmware* page = nullptr;
};

void TestFCAppFirmware::initTestCase()
{
    passedOn = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        restarts += text == QLatin1String("prog timeout, retry");
        passedOn(type, context, text);
    });
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestFCAppFirmware::init()
{
    image = imageOf(kBlocks, 3);
    QVERIFY(storeBinFile(dir.filePath(QStringLiteral("fw.bin")),
                         binFile(0xF0300106, FCProtocol::crc16(image.constData(), 0, image.size()), image)));
}

void TestFCAppFirmware::cleanup()
{
    window.reset();
    app = nullptr;
    page = nullptr;
}

void TestFCAppFirmware::openOnFirmwarePage()
{
    window = std::make_unique<MainWindowUp<>>(100);
    QVERIFY(window->exposed);
    VirtualFC::setBusDropTiming(20, 300);
    app = window->app.get();
    page = window->child<PageFCFirmware>("pageFCFirmware");
    QTRY_VERIFY_WITH_TIMEOUT(app->isConnected(), 5000);
    window->click("radioButton_page5");
    QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QLabel*>(QStringLiteral("label_firmwareVersion"))->text(),
                              QStringLiteral("Trelvo_0105"), 5000);
    QTRY_VERIFY(page->update()->linkOk());
}

bool TestFCAppFirmware::pressUpdate(QList<ModalScript::Answer> answers)
{
    // A reply lost just now leaves the page without a working link for a moment.
    if (!QTest::qWaitFor([this] { return page->update()->linkOk(); }, 10000))
        return false;
    ModalScript script(std::move(answers));
    page->findChild<QPushButton*>(QStringLiteral("pushButton_update"))->click();
    return page->update()->step() != FirmwareUpdate::Idle;
}

QList<QRadioButton*> TestFCAppFirmware::navigation() const
{
    QList<QRadioButton*> buttons;
    for (const char* name : {"radioButton_page1", "radioButton_page3", "radioButton_page4", "radioButton_page5"})
        buttons << window->child<QRadioButton>(name);
    return buttons;
}

void TestFCAppFirmware::update_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("no fault") << "none";
    QTest::newRow("10% of block replies lost") << "lost";
    QTest::newRow("5% of block replies with a bad CRC") << "crc";
    QTest::newRow("two refused blocks") << "refused";
    QTest::newRow("unplugged 2 s in the middle of a block") << "unplug";
    QTest::newRow("wrong verify answer once, Update again") << "verify";
    QTest::newRow("late BLOCK_PROG confirmation") << "late";
}

void TestFCAppFirmware::update()
{
    QFETCH(QString, fault);
    openOnFirmwarePage();
    VirtualFC::setRandomSeed(1);
    restarts = 0;
    if (fault == "lost") {
        // Drawn for block writes only, so how many polls ran before the update cannot change
        // the draws: with this seed the second block's reply is lost, whatever the timing.
        VirtualFC::setRandomSeed(10);
        VirtualFC::setFaultChance(Fault::NoAnswer, 10, 0, FCProtocol::BLOCK_PROG);
    } else if (fault == "crc") {
        VirtualFC::setRandomSeed(2); // the third block's reply
        VirtualFC::setFaultChance(Fault::BadCrc, 5, 0, FCProtocol::BLOCK_PROG);
    } else if (fault == "refused")
        VirtualFC::setFault(Fault::RefuseBlock, 2, 0, FCProtocol::BLOCK_PROG, 1);
    else if (fault == "unplug")
        VirtualFC::setFault(Fault::BusDrop, 1, 2000, FCProtocol::BLOCK_PROG, 2);
    else if (fault == "verify")
        VirtualFC::setFault(Fault::WrongVerify, 1);
    else if (fault == "late")
        VirtualFC::setFault(Fault::LateReply, 1, 1500, FCProtocol::BLOCK_PROG, 1);
    VirtualFC::setFastTiming(fault != "none"); // the first block (33 reports) meets the board off the bus
    VirtualFC::clearRecords();

    QSignalSpy boot(page, &PageFCFirmware::boot_state_changed);
    QVERIFY(pressUpdate({ModalScript::Ok}));
    QCOMPARE(boot.count(), 1);
    // Navigation is locked while the update runs.
    for (QRadioButton* button : navigation())
        QVERIFY(!button->isEnabled());
    QVERIFY(app->isBootloader());
    auto* info = page->findChild<QLabel*>(QStringLiteral("label_progress_info"));

    if (fault == "none") {
        // Closing asks first; Cancel keeps the window and the update going.
        QTRY_COMPARE(page->update()->step(), int(FirmwareUpdate::Program));
        ModalScript script({ModalScript::Cancel});
        QVERIFY(!app->close());
        QCOMPARE(script.texts(), QStringList({"A firmware update is running. Closing now can leave the "
                                            "controller without working firmware. Close anyway?"}));
        QVERIFY(app->isVisible());
    }
    if (fault == "verify") {
        QTRY_COMPARE_WITH_TIMEOUT(info->text(), QStringLiteral("Update fail"), 20000);
        QCOMPARE(VirtualFC::boardMode(), 1); // left in the bootloader
        QVERIFY(navigation().first()->isEnabled());
        QVERIFY(pressUpdate({ModalScript::Ok}));
    }
    QTRY_COMPARE_WITH_TIMEOUT(info->text(), kSuccess, 60000);

    // The fault did strike.
    if (fault == "lost") {
        QVERIFY(VirtualFC::replies().size() < VirtualFC::requests().size());
    } else if (fault == "crc") {
        int bad = 0;
        for (const QByteArray& reply : VirtualFC::replies())
            bad += FCProtocol::crc16(reply.constData(), 0, reply.size() - 2)
                != quint16(quint8(reply[reply.size() - 2]) | quint8(reply[reply.size() - 1]) << 8);
        QVERIFY2(bad > 0, qPrintable(QString::number(VirtualFC::replies().size())));
    } else if (fault != "none") {
        for (Fault f : {Fault::RefuseBlock, Fault::BusDrop, Fault::WrongVerify, Fault::LateReply})
            QCOMPARE(VirtualFC::faultRemaining(f), 0);
    }

    QCOMPARE(VirtualFC::flash(), image);
    QCOMPARE(VirtualFC::boardMode(), 0);
    QVERIFY(!app->isBootloader());
    QCOMPARE(boot.last().at(0).toBool(), false);
    for (QRadioButton* button : navigation())
        QVERIFY(button->isEnabled());
    const QList<QByteArray> blocks = requestsOf(0x01);
    QVERIFY(blocks.size() >= kBlocks);
    for (const QByteArray& block : blocks) {
        QDataStream in(block.mid(2, 4));
        in.setByteOrder(QDataStream::LittleEndian);
        qint32 offset = -1;
        in >> offset;
        QVERIFY2(offset >= 0 && offset < image.size() && offset % 2048 == 0, qPrintable(QString::number(offset)));
        QCOMPARE(block.mid(6, 2048), image.mid(offset, 2048));
    }

    if (fault == "none") {
        // The requests exactly, as the controller received them.
        QCOMPARE(requestsOf(0x00).first(), frame(QByteArray("\x04\x00\xAB\x00\x00\x00", 6), 0x89, 0xCB));
        QCOMPARE(requestsOf(0x00).last(), frame(QByteArray("\x04\x00\xBA\x00\x00\x00", 6), 0x9D, 0xF7));
        QCOMPARE(requestsOf(0x02).first(), frame(QByteArray("\x04\x02", 2), 0xFA, 0xEE));
        const QByteArray first = blocks.first();
        QCOMPARE(first.size(), 2112);
        QCOMPARE(first.left(6), QByteArray("\x04\x01\x00\x00\x00\x00", 6));
        QCOMPARE(first.mid(6, 2048), image.left(2048));
        QCOMPARE(first.mid(2054, 56), QByteArray(56, '\0'));
        QCOMPARE(quint16(quint8(first[2110]) | quint8(first[2111]) << 8),
                 FCProtocol::crc16(first.constData(), 0, 2110));
        QCOMPARE(blocks.size(), kBlocks);
        QCOMPARE(restarts.load(), 0); // no stall at the start
        // Once it is over, the window closes without a question.
        ModalScript none;
        QVERIFY(app->close());
        QCOMPARE(none.count(), 0);
    }
}

QTEST_MAIN(TestFCAppFirmware)

#include "tst_fcappfirmware.moc"
