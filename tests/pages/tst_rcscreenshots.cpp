// Pictures of the radio page as a pilot sees it, in English and Chinese, live against the
// virtual flight controller and with the flight-mode popup open. Writes PNGs into the
// current directory and checks that no text is cut off.

#include "modalanswer.h"
#include "pages/dialogrcfuncsw.h"
#include "pages/pagefcrc.h"
#include "protocol/helper.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include "pagerig.h"

#include <functional>

using FCProtocol::Task;

namespace {

using Rig = PageRig<PageFCRc>;

// The labels and buttons whose text is wider than the widget, as "name: text (need/have)".
QStringList textsCutOff(QWidget& window)
{
    QStringList cut;
    auto check = [&cut](QWidget* w, const QString& text) {
        const int need = w->fontMetrics().horizontalAdvance(text);
        if (!text.isEmpty() && need > w->width())
            cut << QStringLiteral("%1: %2 (%3/%4)").arg(w->objectName(), text).arg(need).arg(w->width());
    };
    for (QLabel* label : window.findChildren<QLabel*>())
        if (!label->wordWrap())
            check(label, label->text());
    for (QPushButton* button : window.findChildren<QPushButton*>())
        check(button, button->text());
    return cut;
}

template <typename T>
T* child(QWidget& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

void saveShot(const QPixmap& shot, const QString& name)
{
    QVERIFY(!shot.isNull());
    QVERIFY2(shot.save(name), qPrintable(name));
}

} // namespace

class TestRcScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void radioPage_data();
    void radioPage();
    void calibratingWithUnavailableChannel_data();
    void calibratingWithUnavailableChannel();

private:
    void setLanguage(bool chinese);

    QTranslator translator;
    QFont latinFont;
    QFont cjkFont;
};

void TestRcScreenshots::initTestCase()
{
    const int latin = QFontDatabase::addApplicationFont(QStringLiteral(":/font/ARLRDBD.TTF"));
    const int cjk = QFontDatabase::addApplicationFont(QStringLiteral(":/font/SIMYOU.TTF"));
    QVERIFY(latin >= 0 && cjk >= 0);
    latinFont = QFont(QFontDatabase::applicationFontFamilies(latin).value(0), 9);
    cjkFont = QFont(QFontDatabase::applicationFontFamilies(cjk).value(0), 9);
}

void TestRcScreenshots::radioPage_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("en") << false;
    QTest::newRow("zh") << true;
}

void TestRcScreenshots::radioPage()
{
    QFETCH(bool, chinese);
    const QString lang = chinese ? QStringLiteral("zh") : QStringLiteral("en");
    setLanguage(chinese);

    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setRecognitionMs(300);
    FCProtocol::DS_INFO_RD info = VirtualFC::info();

    Rig rig;
    rig.page.InfoRDDone(info);
    QVERIFY(QTest::qWaitForWindowExposed(&rig.page));

    // Right after connection the controller is still recognising the receiver.
    QVERIFY(rig.poll());
    saveShot(rig.page.grab(), QStringLiteral("rc_recognizing_%1.png").arg(lang));
    QCOMPARE(rig.page.findChild<QLabel*>(QStringLiteral("label_rcType"))->text(),
             QCoreApplication::translate("PageFCRc", "Recognizing..."));

    // Then the live receiver with moving sticks.
    QTRY_VERIFY_WITH_TIMEOUT(rig.poll() && rig.page.findChild<QLabel*>(QStringLiteral("label_rcType"))->text()
                                 != QCoreApplication::translate("PageFCRc", "Recognizing..."),
                             3000);
    rig.poll();
    saveShot(rig.page.grab(), QStringLiteral("rc_live_%1.png").arg(lang));
    QCOMPARE(textsCutOff(rig.page), QStringList());

    // The flight-mode popup under the fifth bar, composed onto the page picture.
    bool shown = false;
    QStringList popupCut;
    QTimer poller;
    poller.setInterval(5);
    connect(&poller, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<DialogRCFuncSw*>(w);
            if (!dialog || !dialog->isVisible())
                continue;
            poller.stop();
            shown = true;
            QPixmap shot = rig.page.grab();
            {
                QPainter painter(&shot);
                painter.drawPixmap(rig.page.mapFromGlobal(dialog->pos()), dialog->grab());
            }
            saveShot(shot, QStringLiteral("rc_popup_%1.png").arg(lang));
            saveShot(dialog->grab(), QStringLiteral("rc_popup_only_%1.png").arg(lang));
            popupCut = textsCutOff(*dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
    });
    poller.start();
    QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcSwitch12")),
                      Qt::LeftButton);
    QVERIFY(shown);
    QCOMPARE(popupCut, QStringList());
}

void TestRcScreenshots::calibratingWithUnavailableChannel_data()
{
    radioPage_data();
}

// Collecting ranges, with channel 2 unavailable: its bar blank and disabled.
void TestRcScreenshots::calibratingWithUnavailableChannel()
{
    QFETCH(bool, chinese);
    const QString lang = chinese ? QStringLiteral("zh") : QStringLiteral("en");
    setLanguage(chinese);

    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::RcState rc;
    rc.channelWord = qint32((2 << 17) | (1 << 2) | (1 << 9));
    for (int c = 0; c < 8; ++c) {
        rc.table[c * 5 + 0] = qint16(1000 + 10 * c);
        rc.table[c * 5 + 1] = qint16(2000 - 10 * c);
        rc.table[c * 5 + 2] = 1500;
        rc.table[c * 5 + 3] = 1500;
        rc.table[c * 5 + 4] = qint16(c % 2 ? 300 : -250);
    }
    rc.trailing = {3, 1, 0, 3, 5, 0, 1};
    VirtualFC::setRc(rc);

    Rig rig;
    QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
    {
        ModalAnswer answer(ModalAnswer::Accept);
        QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcCali")),
                          Qt::LeftButton);
        QVERIFY(answer.answered());
    }
    QVERIFY(rig.poll());
    QVERIFY(!rig.page.findChild<QWidget*>(QStringLiteral("progressBar_rc2"))->isEnabled());
    saveShot(rig.page.grab(), QStringLiteral("rc_calibrating_%1.png").arg(lang));
    QCOMPARE(child<QPushButton>(rig.page, "pushButton_rcCali")->text(),
             QCoreApplication::translate("PageFCRc", "Complete"));
    // The headfree mode behind the third position is the longest name of all.
    QCOMPARE(child<QPushButton>(rig.page, "pushButton_rcSwitch13")->text(),
             FCProtocol::Helper::flyModeName(5));
    QCOMPARE(textsCutOff(rig.page), QStringList());
}

void TestRcScreenshots::setLanguage(bool chinese)
{
    QCoreApplication::removeTranslator(&translator);
    QPixmapCache::clear();
    if (chinese) {
        QLocale::setDefault(QLocale(QLocale::Chinese));
        QVERIFY(translator.load(QStringLiteral(":/tr/FCApp.qm")));
        QCoreApplication::installTranslator(&translator);
        QApplication::setFont(cjkFont);
    } else {
        QLocale::setDefault(QLocale(QLocale::English));
        QApplication::setFont(latinFont);
    }
}

void TestRcScreenshots::init()
{
    QCoreApplication::removeTranslator(&translator);
    QLocale::setDefault(QLocale(QLocale::English));
}

QTEST_MAIN(TestRcScreenshots)
#include "tst_rcscreenshots.moc"
