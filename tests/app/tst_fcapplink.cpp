// The main window against the virtual flight controller: what the status strip shows for the
// board's telemetry and what the shell's own commands put on the wire.
#include "mainwindowup.h"
#include "modalscript.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QtTest>

namespace {

const QString kGreen = QStringLiteral("QLabel { color: rgb(0, 150, 0); }");
const QString kRed = QStringLiteral("QLabel { color: rgb(150, 0, 0); }");
const QString kGrey = QStringLiteral("QLabel { color: rgb(80, 80, 80); }");

QList<QByteArray> requestsOf(int classByte, int idByte)
{
    QList<QByteArray> found;
    for (const QByteArray& frame : VirtualFC::requests()) {
        if (frame.size() >= 2 && quint8(frame[0]) == classByte && quint8(frame[1]) == idByte)
            found << frame;
    }
    return found;
}

// Frame id, the command byte 0xAB, zero padding to 62 bytes, CRC-16/MODBUS low byte first.
QByteArray commandFrame(int classByte, int idByte, quint8 crcLow, quint8 crcHigh)
{
    QByteArray frame;
    frame.append(char(classByte)).append(char(idByte)).append(char(0xAB));
    frame.append(59, '\0');
    frame.append(char(crcLow)).append(char(crcHigh));
    return frame;
}

} // namespace

class TestFCAppLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectedBoard_data();
    void connectedBoard();
    void unplugged();
    void unsupportedBoard();
    void storeOnTheWire();
    void restoreDefaults_data();
    void restoreDefaults();
    void firmwarePageStopsPagePolls();
    void storeWaitingWhenFirmwarePageIsEntered();

private:
    // The window again, on a board set up before it opens.
    void open(const std::function<void()>& board)
    {
        window.reset(); // it holds the controller's lock
        window = std::make_unique<MainWindowUp<>>(50, true, board);
        app = window->app.get();
    }
    QLabel* label(const char* name) { return window->child<QLabel>(name); }
    QCheckBox* lamp(const char* name) { return window->child<QCheckBox>(name); }

    std::unique_ptr<MainWindowUp<>> window;
    FCApp* app = nullptr;
};

void TestFCAppLink::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestFCAppLink::init()
{
    window = std::make_unique<MainWindowUp<>>(50);
    QVERIFY(window->exposed);
    app = window->app.get();
}

void TestFCAppLink::cleanup()
{
    window.reset();
    app = nullptr;
}

void TestFCAppLink::connectedBoard_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("good");
    // Every self-test text: tst_linksupervisor.
    QTest::newRow("RC signal lost") << 0 << 8 << QStringLiteral("RC signal lost") << false;
    QTest::newRow("bootloader") << 1 << 0 << QStringLiteral("Firmware Update Mode") << true;
}

void TestFCAppLink::connectedBoard()
{
    QFETCH(int, mode);
    QFETCH(int, errorCode);
    QFETCH(QString, text);
    QFETCH(bool, good);
    FCProtocol::DS_INFO_RD info = VirtualFC::info();
    info.mode = qint8(mode);
    info.errorCode = quint8(errorCode);
    open([info] { VirtualFC::setInfo(info); });

    QSignalSpy infoSpy(app, &FCApp::InfoRDDone);
    QTRY_COMPARE_WITH_TIMEOUT(label("label_err")->text(), text, 3000);
    // Seen on the first transaction: the telemetry read opened the device. A bootloader, which
    // leaves the status page's reads unanswered (a reply wait each), never gets one.
    QCOMPARE(VirtualFC::requests().value(0).left(2), FCProtocol::Task(FCProtocol::INFO_RD, false).txData);
    const int reads = VirtualFC::requestCount(FCProtocol::INFO_RD);
    QTRY_VERIFY(VirtualFC::requestCount(FCProtocol::INFO_RD) >= reads + 3);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD) == 0, mode == 1);
    QCOMPARE(label("label_usb")->text(), QStringLiteral("Connected"));
    QCOMPARE(label("label_usb")->styleSheet(), kGreen);
    QCOMPARE(lamp("checkBox_usb")->checkState(), Qt::Checked);
    QCOMPARE(label("label_err")->styleSheet(), good ? kGreen : kRed);
    QCOMPARE(lamp("checkBox_err")->checkState(), good ? Qt::Checked : Qt::PartiallyChecked);
    QTRY_VERIFY(!infoSpy.isEmpty());
    QCOMPARE(infoSpy.last().at(0).value<FCProtocol::DS_INFO_RD>().boardWord, info.boardWord);
    QVERIFY(app->isConnected());
}

void TestFCAppLink::unplugged()
{
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 3000);
    VirtualFC::setPlugged(false);
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Disconnected"), 3000);
    QCOMPARE(label("label_usb")->styleSheet(), kGrey);
    QCOMPARE(lamp("checkBox_usb")->checkState(), Qt::Unchecked);
    QCOMPARE(lamp("checkBox_err")->checkState(), Qt::Unchecked);
    QCOMPARE(label("label_err")->text(), QString());

    // Plugged back in: the next poll reconnects.
    VirtualFC::setPlugged(true);
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 3000);
    QCOMPARE(label("label_err")->text(), QStringLiteral("Self-Test OK"));
}

void TestFCAppLink::unsupportedBoard()
{
    FCProtocol::DS_INFO_RD info = VirtualFC::info();
    info.boardWord = qint32(0xF0100105u);
    open([info] { VirtualFC::setInfo(info); });
    QSignalSpy infoSpy(app, &FCApp::InfoRDDone);
    // One transaction at a time: the fourth read goes out after the third reply was handled.
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::INFO_RD) >= 4, 3000);
    QCOMPARE(infoSpy.count(), 0);
    QVERIFY(!app->isConnected());
    QCOMPARE(label("label_usb")->text(), QStringLiteral("DISCONNECTED"));
    QCOMPARE(label("label_err")->text(), QStringLiteral("ERR"));
    QCOMPARE(lamp("checkBox_usb")->checkState(), Qt::Unchecked);
}

void TestFCAppLink::storeOnTheWire()
{
    QTRY_VERIFY(app->isConnected());
    app->infoTimer()->stop();
    app->pageTimer()->stop();
    QTRY_VERIFY(!app->controller()->isBusy());
    VirtualFC::clearRecords();

    // One read running, two waiting: the store command goes ahead of the waiting reads.
    for (int type : {FCProtocol::PARA_RD, FCProtocol::STATUS_RD, FCProtocol::RC_RD}) {
        QVERIFY(window->queue(new FCProtocol::Task(type, false)));
    }
    ModalScript noQuestion({ModalScript::Cancel});
    window->click("pushButton_storge");
    QCOMPARE(noQuestion.count(), 0);
    // The three reads of the history's snapshot come first.
    QTRY_COMPARE(VirtualFC::requests().size(), 7);
    QTRY_VERIFY(!app->controller()->isBusy());

    QList<QByteArray> frames = VirtualFC::requests();
    QCOMPARE(frames.at(0).left(2), QByteArray("\x01\x00", 2));
    QCOMPARE(frames.at(4), commandFrame(0x03, 0x03, 0x8F, 0x8D));
    QCOMPARE(frames.at(5).left(2), FCProtocol::Task(FCProtocol::STATUS_RD, false).txData);
    QCOMPARE(frames.at(6).left(2), FCProtocol::Task(FCProtocol::RC_RD, false).txData);
    // As reports: the report id 0 in front of the 64 bytes.
    const QList<QByteArray> reports = VirtualFC::writtenReports();
    QCOMPARE(reports.at(4), QByteArray(1, '\0') + commandFrame(0x03, 0x03, 0x8F, 0x8D));
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STORE), 1);
}

void TestFCAppLink::restoreDefaults_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK sends the command") << true;
    QTest::newRow("Cancel sends nothing") << false;
}

void TestFCAppLink::restoreDefaults()
{
    QFETCH(bool, accept);
    app->infoTimer()->stop();
    app->pageTimer()->stop();
    QTRY_VERIFY(!app->controller()->isBusy());
    VirtualFC::clearRecords();

    ModalScript answer({accept ? ModalScript::Ok : ModalScript::Cancel});
    window->click("pushButton_default");
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.classes().value(0), QStringLiteral("DialogWarning"));
    QCOMPARE(answer.text(),
             QStringLiteral("This operation will restore all settings to default value, are "
                            "you sure?"));
    if (accept) {
        QTRY_COMPARE(VirtualFC::requestCount(FCProtocol::DEFAULT_RESTORE), 1);
        QCOMPARE(requestsOf(0x03, 0x04).value(0), commandFrame(0x03, 0x04, 0x7A, 0x4F));
    } else {
        QVERIFY(!app->controller()->isBusy());
        QCOMPARE(app->controller()->waitingCount(), 0);
        QCOMPARE(VirtualFC::requests().size(), 0);
    }
}

void TestFCAppLink::firmwarePageStopsPagePolls()
{
    // The status page polls while shown.
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STATUS_RD) > 0, 3000);
    window->click("radioButton_page5");
    QTRY_VERIFY(!app->controller()->isBusy());
    const int statusReads = VirtualFC::requestCount(FCProtocol::STATUS_RD);
    const int infoReads = VirtualFC::requestCount(FCProtocol::INFO_RD);
    // The telemetry keeps coming while no page polls.
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::INFO_RD) >= infoReads + 3, 3000);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD), statusReads);

    window->click("radioButton_page1");
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STATUS_RD) > statusReads, 3000);
}

void TestFCAppLink::storeWaitingWhenFirmwarePageIsEntered()
{
    QTRY_VERIFY(app->isConnected());
    app->infoTimer()->stop();
    app->pageTimer()->stop();
    QTRY_VERIFY(!app->controller()->isBusy());
    VirtualFC::clearRecords();

    // A read hanging for its reply wait, another waiting, then the store.
    VirtualFC::setFault(VirtualFC::Fault::NoAnswer, 1);
    for (int type : {FCProtocol::PARA_RD, FCProtocol::STATUS_RD}) {
        QVERIFY(window->queue(new FCProtocol::Task(type, false)));
    }
    window->click("pushButton_storge");
    // The history's three reads wait ahead of the store, which follows them.
    QCOMPARE(app->controller()->waitingCount(), 4);

    window->click("radioButton_page5");
    QCOMPARE(app->controller()->waitingCount(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STORE), 1, 3000);
    QCOMPARE(VirtualFC::requests().value(4), commandFrame(0x03, 0x03, 0x8F, 0x8D));
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD), 0);
}

QTEST_MAIN(TestFCAppLink)
#include "tst_fcapplink.moc"
