// The message that tells a pilot the controller is plugged in but closed to this user: shown
// once per run when the controller is listed but refuses to open, never for an unplugged
// controller or a link that fails after the open, never twice. Writes the message in both
// languages, and the installed icon beside the window, to <build dir>/tests/screenshots/.
#include "app/accessnotice.h"
#include "app/appstartup.h"
#include "widgets/dialogwarning.h"
#include "app/fcapp.h"
#include "protocol/frameids.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString kEnglish = QStringLiteral(
    "This user may not open the plugged-in controller. Install the ORVANTE package or its udev "
    "rule 70-orvante.rules, then plug the controller in again.");
// Broken by hand: the rule's name must not split at its hyphen.
const QString kChinese = QStringLiteral(
    "当前用户无权打开已插入的飞控。\n请安装 ORVANTE 软件包或 udev 规则文件\n"
    "70-orvante.rules，然后重新插拔飞控。");

QDir screenshotDir()
{
    QDir dir(QCoreApplication::applicationDirPath());
    dir.mkpath(QStringLiteral("screenshots"));
    dir.cd(QStringLiteral("screenshots"));
    return dir;
}

// Every DialogWarning that runs modally: its text is kept, the first is photographed, and each
// is closed with OK as a pilot would.
struct MessageTally {
    QStringList texts;
    QString picture;
    QTimer timer;

    MessageTally()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<DialogWarning*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            texts << dialog->findChild<QLabel*>(QStringLiteral("label_info"))->text();
            if (texts.size() == 1 && !picture.isEmpty())
                dialog->grab().save(screenshotDir().filePath(picture));
            dialog->accept();
        });
        timer.start();
    }
};

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
    void iconBesideWindow();
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
    QTest::addColumn<QString>("picture");

    QTest::newRow("listed but refuses: once, English")
        << "en" << true << -1 << false << false << false << kEnglish << "access_en.png";
    QTest::newRow("listed but refuses: once, Chinese")
        << "zh" << true << -1 << false << false << false << kChinese << "access_zh.png";
    QTest::newRow("unplugged: never")
        << "en" << false << 0 << false << false << false << QString() << QString();
    QTest::newRow("refused while udev applies the rule, then opens: never")
        << "en" << true << 2 << false << false << true << QString() << QString();
    QTest::newRow("opens but every write fails: never")
        << "en" << true << 0 << true << false << false << QString() << QString();
    QTest::newRow("refused again after a replug: never twice")
        << "en" << true << -1 << false << true << false << kEnglish << QString();
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
    QFETCH(QString, picture);

    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setPlugged(plugged);
    if (refusals != 0)
        VirtualFC::setFault(VirtualFC::Fault::RefuseOpen, refusals);
    if (writeFails)
        VirtualFC::setFault(VirtualFC::Fault::WriteFail, -1);

    QSettings().setValue(QStringLiteral("main/language"), language);
    AppStartup startup(*qApp);
    QPixmapCache::clear();

    MessageTally tally;
    tally.picture = picture;
    FCApp app;
    // Poll faster than the product's 500 ms; the behaviour is the same.
    app.infoTimer()->setInterval(20);

    if (!shown.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(tally.texts.size(), 1, 5000);
        QCOMPARE(tally.texts.first(), shown);
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
    QCOMPARE(tally.texts.size(), shown.isEmpty() ? 0 : 1);
}

void TestAccessNotice::iconBesideWindow()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    QSettings().setValue(QStringLiteral("main/language"), QStringLiteral("en"));
    AppStartup startup(*qApp);
    QPixmapCache::clear();
    FCApp app;
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    QTRY_VERIFY_WITH_TIMEOUT(app.isConnected(), 5000);
    const QImage window = app.grab().toImage();

    // The window on a desktop-grey ground, the icon at each installed size to its right.
    const QList<int> sizes{256, 128, 48};
    QImage sheet(window.width() + 24 + 256 + 24, window.height() + 48, QImage::Format_ARGB32);
    sheet.fill(QColor(60, 64, 70));
    QPainter p(&sheet);
    p.drawImage(24, 24, window);
    int y = 24;
    for (int size : sizes) {
        const QImage icon(QStringLiteral(ORVANTE_ICON_DIR "/%1x%1/apps/" ORVANTE_APP_ID ".png")
                              .arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        p.drawImage(window.width() + 24 + (256 - size) / 2, y, icon);
        y += size + 16;
    }
    p.end();
    QVERIFY(sheet.save(screenshotDir().filePath(QStringLiteral("icon_beside_window.png"))));
}

QTEST_MAIN(TestAccessNotice)

#include "tst_accessnotice.moc"
