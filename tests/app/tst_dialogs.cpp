// The shell's restart notice and key buffer: the notice's language and its one button, and
// the key buffer's 3 s pause. The warning box: tests/widgets/tst_dialogwarning.cpp.
#include "modalscript.h"

#include "app/dialoglanguageselect.h"
#include "app/keygrabber.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QtTest>

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void languageNotice_data();
    void languageNotice();
    void languageNoticeForm();

    void keyGrabberCollects();
    void keyGrabberPauses_data();
    void keyGrabberPauses();
};

void TestDialogs::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE-tst_dialogs"));
    QSettings settings;
    settings.setValue(QStringLiteral("font/arial_family"), QStringLiteral("DejaVu Sans"));
    settings.setValue(QStringLiteral("font/you_family"), QStringLiteral("Noto Sans CJK SC"));
}

void TestDialogs::languageNotice_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("running");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("family");
    const QString zhText = QStringLiteral("请重新启动软件使语言设置生效");
    const QString enText =
        QStringLiteral("Please restart to make the language settings take effect");
    // The notice speaks the newly chosen language, not the running one.
    QTest::newRow("zh chosen while English runs")
        << int(QLocale::Chinese) << int(QLocale::English) << zhText << QStringLiteral("确定")
        << QStringLiteral("Noto Sans CJK SC");
    QTest::newRow("en chosen while Chinese runs")
        << int(QLocale::English) << int(QLocale::Chinese) << enText << QStringLiteral("OK")
        << QStringLiteral("DejaVu Sans");
    QTest::newRow("zh_TW counts as Chinese")
        << int(QLocale::Chinese) << int(QLocale::Chinese) << zhText << QStringLiteral("确定")
        << QStringLiteral("Noto Sans CJK SC");
    QTest::newRow("German counts as not Chinese")
        << int(QLocale::German) << int(QLocale::Chinese) << enText << QStringLiteral("OK")
        << QStringLiteral("DejaVu Sans");
}

void TestDialogs::languageNotice()
{
    QFETCH(int, language);
    QFETCH(int, running);
    QFETCH(QString, text);
    QFETCH(QString, button);
    QFETCH(QString, family);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Language(running), QLocale::AnyCountry));

    DialogLanguageSelect dialog;
    const QLocale chosen = QString(QTest::currentDataTag()).contains("zh_TW")
        ? QLocale(QLocale::Chinese, QLocale::Taiwan)
        : QLocale(QLocale::Language(language), QLocale::AnyCountry);
    dialog.setLanguage(chosen);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label_info"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("pushButton_OK"));
    QCOMPARE(label->text(), text);
    QCOMPARE(ok->text(), button);
    QCOMPARE(label->font().family(), family);
    QCOMPARE(ok->font().family(), family);
    QCOMPARE(label->font().pointSize(), 13);
    QCOMPARE(ok->font().pointSize(), 13);
    QCOMPARE(ok->font().weight(), language == QLocale::Chinese ? int(QFont::Bold)
                                                               : int(QFont::Normal));
    QLocale::setDefault(before);
}

void TestDialogs::languageNoticeForm()
{
    DialogLanguageSelect dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogLanguageSelect"));
    QCOMPARE(int(dialog.windowFlags()), 0x803);
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("pushButton_OK"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label_info"));
    QCOMPARE(ok->geometry(), QRect(420, 120, 60, 25));
    QCOMPARE(label->geometry(), QRect(110, 30, 341, 81));
    QVERIFY(ok->isDefault());
    dialog.setLanguage(QLocale(QLocale::English));
    // Enter closes the notice through its only button (else it is closed with 42).
    ModalScript press;
    press.on<DialogLanguageSelect>([](DialogLanguageSelect* shown) {
        QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown, Qt::Key_Return);
        if (shown->isVisible())
            shown->done(42);
    });
    QCOMPARE(dialog.exec(), 1);
}

void TestDialogs::keyGrabberCollects()
{
    KeyGrabber grabber;
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    grabber.keyPressEvent(&a);
    grabber.loop();
    grabber.keyPressEvent(&f5);
    QCOMPARE(grabber.buffer(), QStringLiteral("AF5"));
}

void TestDialogs::keyGrabberPauses_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2.9 s pause keeps the keys") << 2900 << QStringLiteral("SS");
    QTest::newRow("2.99 s pause keeps the keys") << 2990 << QStringLiteral("SS");
    QTest::newRow("3.1 s pause forgets the first key") << 3100 << QStringLiteral("S");
    QTest::newRow("5 s pause forgets the first key") << 5000 << QStringLiteral("S");
}

void TestDialogs::keyGrabberPauses()
{
    QFETCH(int, pauseMs);
    QFETCH(QString, expected);
    KeyGrabber grabber;
    QKeyEvent s(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));

    // Drive the 10 ms tick directly rather than wait on the wall clock.
    auto tick = [&grabber](int ms) {
        for (int t = 0; t < ms; t += 10)
            grabber.loop();
    };
    grabber.keyPressEvent(&s);
    tick(pauseMs);
    grabber.keyPressEvent(&s);
    QCOMPARE(grabber.buffer(), expected);

    // About 3 s after the last key (within a few ticks) the buffer is empty; before, not.
    tick(2990);
    QCOMPARE(grabber.buffer(), expected);
    tick(40);
    QCOMPARE(grabber.buffer(), QString());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
