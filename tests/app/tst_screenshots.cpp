// Pictures of the main window connected to the virtual controller and of the two dialogs, in
// English and in Chinese, written to <build dir>/tests/screenshots/ for a person to look at.
// Fails when a skin image the window asks for is missing.
#include "app/appstartup.h"
#include "app/dialoglanguageselect.h"
#include "widgets/dialogwarning.h"
#include "app/fcapp.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmapCache>
#include <QSettings>
#include <QtTest>

#include <memory>

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
    void longDialogs_data();
    void longDialogs();

private:
    // The translation and fonts live as long as the returned start-up.
    static std::unique_ptr<AppStartup> startIn(const QString& language);

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

std::unique_ptr<AppStartup> TestScreenshots::startIn(const QString& language)
{
    // The program's own start-up, with the language stored beforehand.
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    QSettings().setValue(QStringLiteral("main/language"), language);
    auto startup = std::make_unique<AppStartup>(*qApp);
    // Localised images are picked at lookup: forget the other language's.
    QPixmapCache::clear();
    return startup;
}

void TestScreenshots::shots()
{
    QFETCH(QString, language);
    QFETCH(QString, connected);
    VirtualFC::reset();
    const auto startup = startIn(language);
    QCOMPARE(startup->chinese(), language == QStringLiteral("zh"));

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

void TestScreenshots::longDialogs_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("smaller"); // shown below the full size
    const QList<QStringList> texts{
        {"PageFCRc", "rc_cali_start", "en zh",
         "Operating instruction： turn all channel sticks,make sure all of them move from the "
         "minimum position to the maximum position,and then click \"Complete\" after "
         "completed. operate now?"},
        {"PageFCRc", "rc_cali_finish", "",
         "Please middle the THROTTLE and click \"OK\" bellow to complete the calibration."},
        {"PageFCStatus", "motor_test", "en",
         "During the motor test,please remove all propellers in case of unexpected danger! "
         "Please make sure the order and rotation of motors are the same as the picture shown "
         "in the software."},
        {"FCApp", "restore", "",
         "This operation will restore all settings to default value, are you sure?"},
    };
    for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
        for (const QStringList& t : texts) {
            QTest::addRow("%s %s", qPrintable(t[1]), qPrintable(language))
                << language << t[0] << t[3] << t[1] << t[2].contains(language);
        }
    }
}

// What the pilot reads in the question box: every line above the buttons and clear of the
// right edge, as large as it fits; short texts keep the full size.
void TestScreenshots::longDialogs()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(bool, smaller);
    const auto startup = startIn(language);
    QCOMPARE(startup->chinese(), language == QStringLiteral("zh"));
    const QString shown = QCoreApplication::translate(context.toLatin1(), text.toUtf8());
    QVERIFY(language == "en" ? shown == text : shown != text);

    DialogWarning warning;
    warning.setText(shown);
    warning.show();
    QVERIFY(QTest::qWaitForWindowExposed(&warning));
    QVERIFY(warning.grab().save(outDir.filePath(QStringLiteral("warning_%1_%2.png").arg(name, language))));

    auto* label = warning.findChild<QLabel*>(QStringLiteral("label_info"));
    auto* ok = warning.findChild<QWidget*>(QStringLiteral("pushButton_OK"));
    QCOMPARE(label->text(), shown);
    QCOMPARE(warning.textPoints() < DialogWarning::kTextPoints, smaller);
    QVERIFY(warning.textPoints() >= DialogWarning::kMinTextPoints);
    const QRect area = label->contentsRect();
    const QRect drawn = label->fontMetrics().boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, shown);
    const QRect onDialog = drawn.translated(label->mapTo(&warning, QPoint()));
    QVERIFY2(onDialog.bottom() < ok->mapTo(&warning, QPoint()).y(),
             qPrintable(QStringLiteral("text ends at %1").arg(onDialog.bottom())));
    QVERIFY2(area.contains(drawn), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(drawn.x()).arg(drawn.y()).arg(drawn.width()).arg(drawn.height())));
    QVERIFY(onDialog.right() <= warning.width() - DialogWarning::kSideMargin);
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
