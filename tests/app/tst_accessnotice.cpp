// The message that tells a pilot the controller is plugged in but closed to this user: shown
// once per run when the controller is listed but refuses to open, never for an unplugged
// controller or a link that fails after the open, never twice.
#include "mainwindowup.h"
#include "modalscript.h"

#include "app/appstartup.h"

#include <QPixmapCache>
#include <QSettings>

namespace {

const QString kEnglish = QStringLiteral(
    "This user may not open the plugged-in controller. Install the ORVANTE package or its udev "
    "rule 70-orvante.rules, then plug the controller in again.");
// Broken by hand: the rule's name must not split at its hyphen.
const QString kChinese = QStringLiteral(
    "当前用户无权打开已插入的飞控。\n请安装 ORVANTE 软件包或 udev 规则文件\n"
    "70-orvante.rules，然后重新插拔飞控。");

// Link failures seen by the controller: refused or failed opens, and closed handles.
int linkFailures()
{
    return VirtualFC::failedOpenCount() + VirtualFC::closeCount();
}

} // namespace

class TestAccessNotice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void notice_data();
    void notice();
};

void TestAccessNotice::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestAccessNotice::notice_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("refusals");       // RefuseOpen count, -1 until cleared
    QTest::addColumn<bool>("writeFails");     // every write fails: the transport closes
    QTest::addColumn<bool>("refusedAgain");   // fixed, replugged, then refused once more
    QTest::addColumn<bool>("endsConnected");
    QTest::addColumn<QString>("shown");       // the one message, or empty for none

    QTest::newRow("listed but refuses: once, English")
        << "en" << true << -1 << false << false << false << kEnglish;
    QTest::newRow("listed but refuses: once, Chinese")
        << "zh" << true << -1 << false << false << false << kChinese;
    QTest::newRow("unplugged: never")
        << "en" << false << 0 << false << false << false << QString();
    QTest::newRow("refused while udev applies the rule, then opens: never")
        << "en" << true << 2 << false << false << true << QString();
    QTest::newRow("opens but every write fails: never")
        << "en" << true << 0 << true << false << false << QString();
    QTest::newRow("refused again after a replug: never twice")
        << "en" << true << -1 << false << true << false << kEnglish;
}

void TestAccessNotice::notice()
{
    QFETCH(QString, language);
    QFETCH(bool, plugged);
    QFETCH(int, refusals);
    QFETCH(bool, writeFails);
    QFETCH(bool, refusedAgain);
    QFETCH(bool, endsConnected);
    QFETCH(QString, shown);

    QSettings().setValue(QStringLiteral("main/language"), language);
    AppStartup startup(*qApp);
    QPixmapCache::clear();

    // The window polls before the event loop runs again: the controller is set up in time.
    MainWindowUp<> window(20, false);
    FCApp& app = *window.app;
    VirtualFC::setPlugged(plugged);
    if (refusals != 0)
        VirtualFC::setFault(VirtualFC::Fault::RefuseOpen, refusals);
    if (writeFails)
        VirtualFC::setFault(VirtualFC::Fault::WriteFail, -1);
    // Every message closed with OK, as a pilot would.
    ModalScript tally({ModalScript::Ok, ModalScript::Ok});

    if (!shown.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(tally.count(), 1, 5000);
        QCOMPARE(tally.texts(), QStringList{shown});
        // The transport never got the device: the message is about the open, nothing else.
        QCOMPARE(VirtualFC::openCount(), 0);
    }
    if (refusedAgain) {
        VirtualFC::clearFault(VirtualFC::Fault::RefuseOpen);
        QTRY_VERIFY_WITH_TIMEOUT(app.isConnected(), 5000);
        VirtualFC::setPlugged(false);
        VirtualFC::setFault(VirtualFC::Fault::RefuseOpen, -1);
        VirtualFC::setPlugged(true);
    }

    if (endsConnected) {
        QTRY_VERIFY_WITH_TIMEOUT(app.isConnected(), 5000);
        const int reads = VirtualFC::requestCount(FCProtocol::INFO_RD);
        QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::INFO_RD) >= reads + 5, 5000);
    } else {
        // Many more failed telemetry reads, each a chance to nag.
        const int mark = linkFailures();
        QTRY_VERIFY_WITH_TIMEOUT(linkFailures() >= mark + 20, 5000);
        QVERIFY(!app.isConnected() || refusedAgain);
    }
    QCoreApplication::processEvents();
    QCOMPARE(tally.count(), shown.isEmpty() ? 0 : 1);
}

QTEST_MAIN(TestAccessNotice)

#include "tst_accessnotice.moc"
