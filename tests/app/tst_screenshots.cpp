// Pictures of the main window connected to the virtual controller and of the two dialogs, in
// English and in Chinese, written to <build dir>/tests/screenshots/ for a person to look at.
// Fails when a skin image the window asks for is missing.
#include "app/appstartup.h"
#include "app/dialoglanguageselect.h"
#include "app/dialogwarning.h"
#include "app/fcapp.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmapCache>
#include <QSettings>
#include <QtTest>

namespace {

QStringList missingImages;

void collectMissingImages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Could not create pixmap")))
        missingImages << message;
}

} // namespace

class TestScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shots_data();
    void shots();

private:
    QDir outDir;
};

void TestScreenshots::initTestCase()
{
    outDir = QDir(QCoreApplication::applicationDirPath());
    QVERIFY(outDir.mkpath(QStringLiteral("screenshots")));
    QVERIFY(outDir.cd(QStringLiteral("screenshots")));
}

void TestScreenshots::shots_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("connected");
    QTest::newRow("en") << QStringLiteral("en") << QStringLiteral("Connected");
    QTest::newRow("zh") << QStringLiteral("zh") << QStringLiteral("已连接");
}

void TestScreenshots::shots()
{
    QFETCH(QString, language);
    QFETCH(QString, connected);
    VirtualFC::reset();

    // The program's own start-up, with the language stored beforehand.
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    QSettings().setValue(QStringLiteral("main/language"), language);
    AppStartup startup(*qApp);
    QCOMPARE(startup.chinese(), language == QStringLiteral("zh"));
    // Localised images are picked at lookup: forget the other language's.
    QPixmapCache::clear();

    missingImages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectMissingImages);

    FCApp app;
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    auto* usb = app.findChild<QLabel*>(QStringLiteral("label_usb"));
    QTRY_COMPARE_WITH_TIMEOUT(usb->text(), connected, 5000);
    // Let the status page draw a few attitude updates.
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requestCount(0) >= 3, 5000);
    auto* pitch = app.findChild<QLabel*>(QStringLiteral("label_pitch"));
    QTRY_VERIFY_WITH_TIMEOUT(!pitch->text().isEmpty(), 5000);
    QCoreApplication::processEvents();
    const QImage window = app.grab().toImage();
    QCOMPARE(window.size() / window.devicePixelRatio(), QSize(800, 494));
    QVERIFY(window.save(outDir.filePath(QStringLiteral("fcapp_%1.png").arg(language))));

    DialogWarning warning;
    warning.setText(
        FCApp::tr("This operation will restore all settings to default value, are you sure?"));
    warning.show();
    QVERIFY(QTest::qWaitForWindowExposed(&warning));
    QVERIFY(warning.grab().save(outDir.filePath(QStringLiteral("warning_%1.png").arg(language))));

    DialogLanguageSelect notice;
    notice.setLanguage(language == QStringLiteral("zh") ? QLocale(QLocale::Chinese)
                                                        : QLocale(QLocale::English));
    notice.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notice));
    QVERIFY(notice.grab().save(outDir.filePath(QStringLiteral("restart_%1.png").arg(language))));

    qInstallMessageHandler(previous);
    QVERIFY2(missingImages.isEmpty(), qPrintable(missingImages.join('\n')));
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
