// The setup history through the main window and the virtual controller: connect, change,
// Save, and bring back the snapshot of the connect; and a controller left in its bootloader:
// the notice comes once per connection, and OK opens the firmware page with the last firmware
// file loaded.
#include "firmwarefile.h"
#include "modalscript.h"

#include "app/fcapp.h"
#include "engine/setuphistory.h"
#include "engine/setupkeeper.h"
#include "pages/dialoghistory.h"
#include "protocol/crc16.h"
#include "protocol/frameids.h"
#include "virtualfc.h"
#include "widgets/dialogwarning.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestFCAppHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void restoreFromHistory();
    void bootloaderNotice_data();
    void bootloaderNotice();

private:
    void open();
    template <typename T> T* child(const char* name) { return app->findChild<T*>(QLatin1String(name)); }

    QTemporaryDir dir;
    FCApp* app = nullptr;
};

void TestFCAppHistory::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setRecognitionMs(0);
}

void TestFCAppHistory::cleanup()
{
    delete app;
    app = nullptr;
    QDir(SetupHistory::defaultRoot()).removeRecursively();
}

void TestFCAppHistory::open()
{
    app = new FCApp;
    app->infoTimer()->setInterval(50); // faster than the product's 500 ms, same behaviour
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
}

void TestFCAppHistory::restoreFromHistory()
{
    open();
    SetupHistory* history = app->setupKeeper()->history();
    const ControllerId board{VirtualFC::info().boardWord, VirtualFC::serialNumber()};
    QTRY_COMPARE_WITH_TIMEOUT(history->snapshots(board).size(), 1, 5000);
    QCOMPARE(history->snapshots(board)[0].reason, QStringLiteral("connected"));
    const QByteArray para = VirtualFC::para();
    const qint32 word = VirtualFC::rc().channelWord;

    // The pilot tunes: another ESC maximum, channel 2 reversed, the hexacopter upside down.
    QByteArray tuned = para;
    tuned[12] = char(0xAE); // escMax 1966
    VirtualFC::setPara(tuned);
    VirtualFC::RcState rc = VirtualFC::rc();
    rc.channelWord |= 1 << 10;
    VirtualFC::setRc(rc);
    VirtualFC::setFrameSetting({0, 2, 1});

    QTest::mouseClick(child<QPushButton>("pushButton_storge"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STORE), 1, 3000);
    QCOMPARE(VirtualFC::flashPara(), tuned);
    const SetupHistory::Snapshot beforeStore = history->snapshots(board).value(0);
    QCOMPARE(beforeStore.reason, QStringLiteral("before-store"));
    QCOMPARE(beforeStore.setup.parameters->encode(), tuned);
    QVERIFY(beforeStore.setup.radio->reversed(2));
    QCOMPARE(beforeStore.setup.airframe->mounting, qint8(1));

    // Back to the setup of the connect, from the parameter page's history.
    QTest::mouseClick(child<QRadioButton>("radioButton_page4"), Qt::LeftButton);
    ModalScript restore;
    restore.on<DialogHistory>([](DialogHistory* d) {
        d->select(1);
        d->findChild<QPushButton*>(QStringLiteral("pushButton_restore"))->click();
    });
    QTest::mouseClick(child<QPushButton>("pushButton_paraHistory"), Qt::LeftButton);
    QCOMPARE(restore.classes(), QStringList{"DialogHistory"});
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::para(), para, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::frameSetting().mounting, qint8(0), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::rc().channelWord, word, 3000);
    QCOMPARE(VirtualFC::frameSetting().airframe, qint8(0));
    QCOMPARE(history->snapshots(board).value(0).reason, QStringLiteral("before-load"));
    QTRY_VERIFY(app->hasUnstoredChanges());
}

void TestFCAppHistory::bootloaderNotice_data()
{
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("bootloaderSerial"); // what the bootloader reports
    QTest::addColumn<bool>("claimed");
    QTest::newRow("no snapshot") << false << "FC3A00017" << false;
    QTest::newRow("a snapshot of this controller") << true << "FC3A00017" << true;
    // The bootloader describes itself otherwise: the snapshot may be another board's.
    QTest::newRow("the bootloader reports another serial number") << true << "BL0001" << false;
    QTest::newRow("the bootloader reports none") << true << "" << false;
}

void TestFCAppHistory::bootloaderNotice()
{
    QFETCH(bool, kept);
    QFETCH(QString, bootloaderSerial);
    QFETCH(bool, claimed);
    if (kept) {
        SetupRecord setup;
        setup.parameters = FCProtocol::DS_PARA();
        SetupHistory history(SetupHistory::defaultRoot());
        // The flight firmware's own, and one of the model whose board is unknown.
        for (const QString& serial : {VirtualFC::serialNumber(), QString()})
            QVERIFY(!history.write({VirtualFC::info().boardWord, serial}, setup, "before-update", "Trelvo_0105").isEmpty());
    }
    VirtualFC::setBootloaderSerialNumber(bootloaderSerial);
    VirtualFC::setBoardMode(1);
    open();
    const QByteArray image = imageOf(2);
    QVERIFY(storeBinFile(dir.filePath("fw.bin"),
                         binFile(0xF0300106, FCProtocol::crc16(image.constData(), 0, image.size()), image)));

    QTRY_COMPARE_WITH_TIMEOUT(app->findChildren<DialogWarning*>().size(), 1, 3000);
    DialogWarning* notice = app->findChildren<DialogWarning*>().first();
    const QString text = notice->findChild<QLabel*>(QStringLiteral("label_info"))->text();
    QVERIFY2(text.startsWith("The controller is waiting in its bootloader for a firmware image"), qPrintable(text));
    QCOMPARE(text.contains("Its setup is safe in the history"), claimed);
    // More telemetry of the same connection: no second notice.
    const int reads = VirtualFC::requestCount(FCProtocol::INFO_RD);
    QTRY_VERIFY(VirtualFC::requestCount(FCProtocol::INFO_RD) >= reads + 4);
    QCOMPARE(app->findChildren<DialogWarning*>().size(), 1);

    notice->accept();
    QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), 4);
    QVERIFY(child<QRadioButton>("radioButton_page5")->isChecked());
    QCOMPARE(child<QPushButton>("pushButton_loadFile")->text(), QStringLiteral("Trelvo_0106"));
    QVERIFY(!app->pageTimer()->isActive());
}

QTEST_MAIN(TestFCAppHistory)
#include "tst_fcapphistory.moc"
