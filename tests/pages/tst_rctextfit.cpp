// The radio page's texts as a pilot reads them, in English and Chinese, live against the
// virtual flight controller, while calibrating, and in the flight-mode popup: none is cut off.

#include "modalscript.h"
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
#include <QPixmapCache>
#include <QPushButton>
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

} // namespace

class TestRcTextFit : public QObject
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

void TestRcTextFit::initTestCase()
{
    const int latin = QFontDatabase::addApplicationFont(QStringLiteral(":/font/ARLRDBD.TTF"));
    const int cjk = QFontDatabase::addApplicationFont(QStringLiteral(":/font/SIMYOU.TTF"));
    QVERIFY(latin >= 0 && cjk >= 0);
    latinFont = QFont(QFontDatabase::applicationFontFamilies(latin).value(0), 9);
    cjkFont = QFont(QFontDatabase::applicationFontFamilies(cjk).value(0), 9);
}

void TestRcTextFit::radioPage_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("en") << false;
    QTest::newRow("zh") << true;
}

void TestRcTextFit::radioPage()
{
    QFETCH(bool, chinese);
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
    QCOMPARE(rig.page.findChild<QLabel*>(QStringLiteral("label_rcType"))->text(),
             QCoreApplication::translate("PageFCRc", "Recognizing..."));

    // Then the live receiver with moving sticks.
    QTRY_VERIFY_WITH_TIMEOUT(rig.poll() && rig.page.findChild<QLabel*>(QStringLiteral("label_rcType"))->text()
                                 != QCoreApplication::translate("PageFCRc", "Recognizing..."),
                             3000);
    rig.poll();
    QCOMPARE(textsCutOff(rig.page), QStringList());

    // The flight-mode popup under the fifth bar.
    QStringList popupCut;
    ModalScript popup;
    popup.on<DialogRCFuncSw>([&](DialogRCFuncSw* dialog) {
        popupCut = textsCutOff(*dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcSwitch12")),
                      Qt::LeftButton);
    QCOMPARE(popup.count(), 1);
    QCOMPARE(popupCut, QStringList());
}

void TestRcTextFit::calibratingWithUnavailableChannel_data()
{
    radioPage_data();
}

// Collecting ranges, with channel 2 unavailable: its bar blank and disabled.
void TestRcTextFit::calibratingWithUnavailableChannel()
{
    QFETCH(bool, chinese);
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
        ModalScript answer({ModalScript::Ok});
        QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcCali")),
                          Qt::LeftButton);
        QCOMPARE(answer.count(), 1);
    }
    QVERIFY(rig.poll());
    QVERIFY(!rig.page.findChild<QWidget*>(QStringLiteral("progressBar_rc2"))->isEnabled());
    QCOMPARE(child<QPushButton>(rig.page, "pushButton_rcCali")->text(),
             QCoreApplication::translate("PageFCRc", "Complete"));
    // The headfree mode behind the third position is the longest name of all.
    QCOMPARE(child<QPushButton>(rig.page, "pushButton_rcSwitch13")->text(),
             FCProtocol::Helper::flyModeName(5));
    QCOMPARE(textsCutOff(rig.page), QStringList());
}

void TestRcTextFit::setLanguage(bool chinese)
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

void TestRcTextFit::init()
{
    QCoreApplication::removeTranslator(&translator);
    QLocale::setDefault(QLocale(QLocale::English));
}

QTEST_MAIN(TestRcTextFit)
#include "tst_rctextfit.moc"
