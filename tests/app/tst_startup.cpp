// Start-up as the user meets it: the real program started on Chinese and English systems with
// various stored choices, and what it stored and chose.
#include "app/appstartup.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

// Set in the environment of this test's own child: run the start-up, report, quit.
const char* const kChildSwitch = "TST_STARTUP_REPORT_CHOICE";

int reportChoice(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppStartup startup(app);
    const QString report =
        QStringLiteral("language=%1\ntranslated=%2\nfont=%3\nbold=%4\n")
            .arg(QLocale().language())
            .arg(QCoreApplication::translate("FCApp", "Connected"))
            .arg(QApplication::font().family())
            .arg(QApplication::font().bold() ? 1 : 0);
    std::fputs(report.toUtf8().constData(), stdout);
    return 0;
}

QProcessEnvironment childEnvironment(const QString& configHome, const QString& systemLocale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("ORVANTE_TEST_CONFIG_GIVEN"), QStringLiteral("1"));
    env.insert(QStringLiteral("LANG"), systemLocale);
    env.insert(QStringLiteral("LC_ALL"), systemLocale);
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false;qt.qpa.*=false"));
    return env;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStart_data();
    void firstStart();

private:
};


void TestStartup::firstStart_data()
{
    QTest::addColumn<QString>("systemLocale");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("expected");

    const QVariant none;
    QTest::newRow("first start, Chinese system") << "zh_CN.UTF-8" << none << "zh";
    QTest::newRow("first start, English system") << "en_US.UTF-8" << none << "en";
    QTest::newRow("first start, Taiwanese Chinese system") << "zh_TW.UTF-8" << none << "zh";
    QTest::newRow("first start, German system") << "de_DE.UTF-8" << none << "en";
    QTest::newRow("stored ZH is unknown, Chinese system") << "zh_CN.UTF-8" << QVariant("ZH") << "zh";
    QTest::newRow("stored ZH is unknown, English system") << "en_US.UTF-8" << QVariant("ZH") << "en";
    QTest::newRow("stored english is unknown") << "zh_CN.UTF-8" << QVariant("english") << "zh";
    QTest::newRow("stored empty is unknown") << "en_US.UTF-8" << QVariant("") << "en";
    QTest::newRow("stored zh wins on an English system") << "en_US.UTF-8" << QVariant("zh") << "zh";
    QTest::newRow("stored en wins on a Chinese system") << "zh_CN.UTF-8" << QVariant("en") << "en";
}

void TestStartup::firstStart()
{
    QFETCH(QString, systemLocale);
    QFETCH(QVariant, stored);
    QFETCH(QString, expected);

    QTemporaryDir configHome;
    QVERIFY(configHome.isValid());
    const QString file = configHome.path() + QStringLiteral("/KARUX/ORVANTE.conf");
    {
        // A stale installation: every font key must be rewritten.
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("font/arial_id"), 7);
        settings.setValue(QStringLiteral("font/you_id"), 8);
        settings.setValue(QStringLiteral("font/arial_family"), QStringLiteral("Stale Latin"));
        settings.setValue(QStringLiteral("font/you_family"), QStringLiteral("Stale CJK"));
        if (stored.isValid())
            settings.setValue(QStringLiteral("main/language"), stored.toString());
    }
    const QProcessEnvironment env = childEnvironment(configHome.path(), systemLocale);

    // The real program: it stores as soon as its event loop runs; it has no way to quit by
    // itself, so it is stopped once the settings show the start-up's writes.
    QProcess demo;
    demo.setProcessEnvironment(env);
    demo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    demo.start(QStringLiteral(ORVANTE_DEMO_PATH), QStringList());
    QVERIFY2(demo.waitForStarted(), qPrintable(demo.errorString()));
    auto rewritten = [&file] {
        QSettings settings(file, QSettings::IniFormat);
        return settings.value(QStringLiteral("font/arial_family")).toString()
            != QStringLiteral("Stale Latin");
    };
    QTRY_VERIFY_WITH_TIMEOUT(rewritten(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(QSettings(file, QSettings::IniFormat)
                                     .value(QStringLiteral("main/language"))
                                     .toString()
                                 == expected,
                             3000);
    demo.kill();
    demo.waitForFinished();

    QSettings settings(file, QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("main/language")).toString(), expected);
    // The two compiled-in fonts register first and second in a fresh process.
    QCOMPARE(settings.value(QStringLiteral("font/arial_id")).toInt(), 0);
    QCOMPARE(settings.value(QStringLiteral("font/you_id")).toInt(), 1);
    const QString arial = settings.value(QStringLiteral("font/arial_family")).toString();
    const QString you = settings.value(QStringLiteral("font/you_family")).toString();
    QVERIFY2(!arial.isEmpty() && arial != QStringLiteral("Stale Latin"), qPrintable(arial));
    QVERIFY2(!you.isEmpty() && you != QStringLiteral("Stale CJK"), qPrintable(you));

    // What the same start-up chose (run here, as main runs it): locale, translation, font.
    QProcess self;
    self.setProcessEnvironment([&] {
        QProcessEnvironment e = env;
        e.insert(QString::fromLatin1(kChildSwitch), QStringLiteral("1"));
        return e;
    }());
    self.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(self.waitForFinished(10000));
    QCOMPARE(self.exitCode(), 0);
    QMap<QString, QString> choice;
    for (const QString& line : QString::fromUtf8(self.readAllStandardOutput()).split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            choice.insert(line.left(eq), line.mid(eq + 1));
    }
    const bool chinese = expected == QStringLiteral("zh");
    QCOMPARE(choice.value("language").toInt(),
             int(chinese ? QLocale::Chinese : QLocale::English));
    QCOMPARE(choice.value("translated"),
             chinese ? QStringLiteral("已连接") : QStringLiteral("Connected"));
    QCOMPARE(choice.value("font"), chinese ? you : arial);
    QCOMPARE(choice.value("bold"), chinese ? QStringLiteral("1") : QStringLiteral("0"));
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kChildSwitch))
        return reportChoice(argc, argv);
    QApplication app(argc, argv);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
