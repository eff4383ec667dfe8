// The radio page: what it shows for each RC_RD / RC_WR reply, the exact RC_WR and RC_CALI
// payloads it sends, and the whole loop against the virtual flight controller.

#include "finishedtask.h"
#include "modalscript.h"
#include "pages/dialogrcfuncsw.h"
#include "pages/fcrcuimanager.h"
#include "pages/pagefcrc.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "pagerig.h"

#include <functional>
#include <memory>

using FCProtocol::Task;

namespace {

// One RC_RD reply, field by field.
struct RcReply {
    qint8 recognition = 0;
    qint32 word = 0;
    qint16 table[8][5]; // minimum, maximum, centre, fourth value, offset
    qint8 switchA = 1;
    qint8 switchB = 1;
    qint8 modes[3] = {2, 4, 1};
    qint8 spare = 0x55;
    qint8 modeButton = 0;

    RcReply()
    {
        for (auto& c : table) {
            c[0] = 1100;
            c[1] = 1900;
            c[2] = 1500;
            c[3] = 1500;
            c[4] = 0;
        }
    }

    QByteArray payload() const
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << recognition << word;
        for (const auto& c : table)
            for (qint16 v : c)
                out << v;
        out << switchA << switchB << modes[0] << modes[1] << modes[2] << spare << modeButton;
        return bytes;
    }
};

QByteArray head(int type)
{
    FCProtocol::FrameId id{};
    FCProtocol::frameIdOf(type, &id);
    return QByteArray() + char(id.classByte) + char(id.idByte);
}

// Hands the page a finished task of `type` whose reply carries `payload`; cut, the reply ends
// with it.
void feed(PageFCRc& page, int type, const QByteArray& payload, int status = 0, bool cut = false)
{
    auto task = finishedTask(type, payload, status);
    if (cut)
        task->rxData.truncate(task->headLength + payload.size());
    page.TaskDone(task.get());
}

void feedRead(PageFCRc& page, const RcReply& reply)
{
    feed(page, FCProtocol::RC_RD, reply.payload());
}

template <typename T>
T* child(QWidget& page, const char* name)
{
    T* widget = page.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

const char* const kStartText =
    "Operating instruction\xef\xbc\x9a turn all channel sticks,make sure all of them move from the "
    "minimum position to the maximum position,and then click \"Complete\" after completed. "
    "operate now?";
const char* const kFinishText =
    "Please middle the THROTTLE and click \"OK\" bellow to complete the calibration.";

} // namespace

class TestPageFCRc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void formBeforeFirstReply();
    void metaObjectMethods();
    void stackingPutsSwitchesOverRows4And5_data();
    void stackingPutsSwitchesOverRows4And5();
    void hideSlotsHideOnlyModeButtons_data();
    void hideSlotsHideOnlyModeButtons();

    void pollsOnlyWhileVisible();

    void channelRows_data();
    void channelRows();
    void receiverType_data();
    void receiverType();
    void stickDots_data();
    void stickDots();
    void stickDotsKeptWhenAHalfRangeIsNotPositive_data();
    void stickDotsKeptWhenAHalfRangeIsNotPositive();
    void stickDotsDrawnWhereComputed();
    void switchDisplays_data();
    void switchDisplays();
    void modeButtonFromReply_data();
    void modeButtonFromReply();
    void switchTextsFollowReadAndWriteReplies();

    void reverseClickWritesWholePendingSet_data();
    void reverseClickWritesWholePendingSet();
    void replyNeverWrites();
    void modeButtonWrites_data();
    void modeButtonWrites();
    void switchFunctionChoiceWrites();
    void switchPopupOptionFive_data();
    void switchPopupOptionFive();
    void dismissedPopupWritesNothing();

    void calibrationStateMachine();

    void failedTaskChangesNothing_data();
    void failedTaskChangesNothing();
    void shortReplyChangesNothing_data();
    void shortReplyChangesNothing();

    void endToEndReverseReachesControllerAndComesBack();
    void endToEndCalibration();
};

void TestPageFCRc::initTestCase()
{
}

void TestPageFCRc::formBeforeFirstReply()
{
    PageFCRc page;
    QCOMPARE(page.objectName(), QStringLiteral("pageFCRc"));
    QCOMPARE(page.size(), QSize(780, 310));
    for (int i = 0; i < 6; ++i) {
        auto* bar = child<QProgressBar>(page, qPrintable(QStringLiteral("progressBar_rc%1").arg(i)));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 200);
        QCOMPARE(bar->value(), 50);
        QCOMPARE(bar->format(), QStringLiteral("%v"));
        QCOMPARE(bar->size(), QSize(210, 26));
        const QString min = child<QLabel>(page, qPrintable(QStringLiteral("label_rcMin%1").arg(i)))->text();
        const QString max = child<QLabel>(page, qPrintable(QStringLiteral("label_rcMax%1").arg(i)))->text();
        QCOMPARE(min, i < 4 ? QStringLiteral("1100") : QString());
        QCOMPARE(max, i < 4 ? QStringLiteral("1900") : QString());
    }
    QCOMPARE(child<QLabel>(page, "label_rcType")->text(), QStringLiteral("PWM"));
    QCOMPARE(child<QPushButton>(page, "pushButton_rcCali")->text(), QStringLiteral("Calibration"));
    QCOMPARE(child<QLabel>(page, "label_rcSwitch21")->text(), QStringLiteral("DISARM"));
    QCOMPARE(child<QLabel>(page, "label_rcSwitch22")->text(), QStringLiteral("ARM"));
    QVERIFY(!child<QRadioButton>(page, "radioButton_easy")->isEnabled());
    QVERIFY(child<QRadioButton>(page, "radioButton_2D")->isEnabled());
    QCOMPARE(child<QWidget>(page, "frame_mode_button")->parentWidget()->objectName(),
             QStringLiteral("frame_rcDot"));
    QCOMPARE(page.leftDotPosition(), QPoint(88, 143));
    QCOMPARE(page.rightDotPosition(), QPoint(273, 143));
}

void TestPageFCRc::metaObjectMethods()
{
    PageFCRc page;
    const QMetaObject* mo = page.metaObject();
    QStringList methods;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
        methods << QString::fromLatin1(mo->method(i).methodSignature());
    QCOMPARE(methods, QStringList({"checkBoxStateChanged()", "on_pushButton_rcCali_clicked()",
                                   "RcFuncSwitch_clicked(int)", "modeButton_clicked(int)",
                                   "TaskDone(FCProtocol::Task*)", "mainLoop()",
                                   "InfoRDDone(FCProtocol::DS_INFO_RD)", "HideEmuNoNeedUi()",
                                   "HideMiniNoNeedUi()"}));
}

void TestPageFCRc::stackingPutsSwitchesOverRows4And5_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("topmost");
    // The switch buttons and labels lie over the bars of channels 4 and 5.
    QTest::newRow("switch A, position 1") << QPoint(500, 234) << "pushButton_rcSwitch11";
    QTest::newRow("switch A, position 3") << QPoint(660, 234) << "pushButton_rcSwitch13";
    QTest::newRow("switch B, armed side") << QPoint(640, 274) << "label_rcSwitch22";
    // Minimum and maximum labels over the bar ends, the bar in between.
    QTest::newRow("minimum over bar 0") << QPoint(500, 74) << "label_rcMin0";
    QTest::newRow("bar 0") << QPoint(570, 74) << "progressBar_rc0";
    QTest::newRow("maximum over bar 3") << QPoint(660, 194) << "label_rcMax3";
    QTest::newRow("reverse box 1") << QPoint(735, 114) << "checkBox_rcRev1";
    QTest::newRow("2D button") << QPoint(63, 31) << "radioButton_2D";
    QTest::newRow("stick view") << QPoint(150, 150) << "frame_rcDot";
    QTest::newRow("calibration") << QPoint(285, 267) << "pushButton_rcCali";
    QTest::newRow("receiver type") << QPoint(100, 267) << "label_rcType";
}

void TestPageFCRc::stackingPutsSwitchesOverRows4And5()
{
    QFETCH(QPoint, point);
    QFETCH(QString, topmost);
    PageFCRc page;
    page.show();
    QWidget* hit = page.childAt(point);
    QVERIFY(hit);
    QCOMPARE(hit->objectName(), topmost);
}

void TestPageFCRc::hideSlotsHideOnlyModeButtons_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::newRow("emulator") << QByteArray("HideEmuNoNeedUi");
    QTest::newRow("mini") << QByteArray("HideMiniNoNeedUi");
}

void TestPageFCRc::hideSlotsHideOnlyModeButtons()
{
    QFETCH(QByteArray, slot);
    PageFCRc page;
    page.show();
    QVERIFY(QMetaObject::invokeMethod(&page, slot.constData()));
    QVERIFY(child<QWidget>(page, "frame_mode_button")->isHidden());
    for (const char* name : {"frame_rcDot", "frame_rcBar", "frame_rcRev", "pushButton_rcCali",
                             "label_rcType", "frame_label_rcSwitch1", "frame_mask_rcSwitch2"})
        QVERIFY2(child<QWidget>(page, name)->isVisible(), name);
}

void TestPageFCRc::pollsOnlyWhileVisible()
{
    PageFCRc page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    page.mainLoop();
    QCOMPARE(spy.count(), 0);
    page.show();
    page.mainLoop();
    page.mainLoop();
    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 2);
    for (const auto& task : tasks) {
        QCOMPARE(task->type, int(FCProtocol::RC_RD));
        QVERIFY(!task->urgent);
        QCOMPARE(task->txData, head(FCProtocol::RC_RD));
    }
    page.hide();
    page.mainLoop();
    QCOMPARE(spy.count(), 0);
}

void TestPageFCRc::channelRows_data()
{
    QTest::addColumn<qint32>("word");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("centre");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("minText");
    QTest::addColumn<QString>("maxText");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("barMin");
    QTest::addColumn<int>("barMax");
    QTest::addColumn<int>("barValue");

    QTest::newRow("disabled channel 2") << qint32(1 << 2) << 2 << 1100 << 1900 << 1500 << 120
                                        << "" << "" << false << 0 << 10 << 0;
    QTest::newRow("value clamped to maximum") << 0 << 1 << 1100 << 1900 << 1500 << 450
                                              << "1100" << "1900" << true << 1100 << 1900 << 1900;
    QTest::newRow("value clamped to minimum") << 0 << 3 << 1000 << 2000 << 1500 << -700
                                              << "1000" << "2000" << true << 1000 << 2000 << 1000;
    QTest::newRow("value inside") << 0 << 0 << 1102 << 1897 << 1498 << -33
                                  << "1102" << "1897" << true << 1102 << 1897 << 1465;
    QTest::newRow("row 4 has no numbers") << 0 << 4 << 1000 << 2000 << 1500 << 100
                                          << "" << "" << true << 1000 << 2000 << 1600;
    QTest::newRow("row 5 has no numbers") << 0 << 5 << 1100 << 1900 << 1500 << -100
                                          << "" << "" << true << 1100 << 1900 << 1400;
    QTest::newRow("disabled row 5") << qint32(1 << 5) << 5 << 1100 << 1900 << 1500 << 0
                                    << "" << "" << false << 0 << 10 << 0;
    // Only bits 0..7 disable; a reversal bit does not.
    QTest::newRow("reversed, not disabled") << qint32(1 << 10) << 2 << 1100 << 1900 << 1500 << 0
                                            << "1100" << "1900" << true << 1100 << 1900 << 1500;
}

void TestPageFCRc::channelRows()
{
    QFETCH(qint32, word);
    QFETCH(int, channel);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, centre);
    QFETCH(int, offset);
    QFETCH(QString, minText);
    QFETCH(QString, maxText);
    QFETCH(bool, enabled);
    QFETCH(int, barMin);
    QFETCH(int, barMax);
    QFETCH(int, barValue);

    PageFCRc page;
    // Start with every channel unavailable, so an available one must be re-enabled.
    RcReply allOff;
    allOff.word = 0xFF;
    feedRead(page, allOff);

    RcReply reply;
    reply.word = word;
    reply.table[channel][0] = qint16(min);
    reply.table[channel][1] = qint16(max);
    reply.table[channel][2] = qint16(centre);
    reply.table[channel][4] = qint16(offset);
    feedRead(page, reply);

    const QByteArray n = QByteArray::number(channel);
    auto* bar = child<QProgressBar>(page, "progressBar_rc" + n);
    QCOMPARE(child<QLabel>(page, "label_rcMin" + n)->text(), minText);
    QCOMPARE(child<QLabel>(page, "label_rcMax" + n)->text(), maxText);
    QCOMPARE(bar->isEnabled(), enabled);
    QCOMPARE(bar->minimum(), barMin);
    QCOMPARE(bar->maximum(), barMax);
    QCOMPARE(bar->value(), barValue);
    if (enabled)
        QCOMPARE(bar->text(), QString::number(barValue));
}

void TestPageFCRc::receiverType_data()
{
    QTest::addColumn<int>("recognition");
    QTest::addColumn<qint32>("word");
    QTest::addColumn<QString>("text");
    QTest::newRow("recognising, 1") << 1 << qint32(1 << 17) << "Recognizing...";
    QTest::newRow("recognising, 2") << 2 << qint32(3 << 17) << "Recognizing...";
    QTest::newRow("PWM") << 0 << qint32(0) << "PWM";
    QTest::newRow("SBUS") << 0 << qint32(1 << 17) << "SBUS";
    QTest::newRow("PPM, other bits around") << 0 << qint32(0xFFF1FFFF | (2 << 17)) << "PPM";
    QTest::newRow("DSM") << 0 << qint32(3 << 17) << "DSM";
    QTest::newRow("unknown code 5") << 0 << qint32(5 << 17) << "Unknown";
    QTest::newRow("state 3 is not recognising") << 3 << qint32(2 << 17) << "PPM";
}

void TestPageFCRc::receiverType()
{
    QFETCH(int, recognition);
    QFETCH(qint32, word);
    QFETCH(QString, text);
    PageFCRc page;
    RcReply reply;
    reply.recognition = qint8(recognition);
    reply.word = word;
    feedRead(page, reply);
    QCOMPARE(child<QLabel>(page, "label_rcType")->text(), text);
}

void TestPageFCRc::stickDots_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QPoint>("left");
    QTest::addColumn<QPoint>("right");
    QTest::newRow("centred") << 0 << 0 << QPoint(88, 143) << QPoint(273, 143);
    QTest::newRow("channel 3 full left") << 3 << -400 << QPoint(32, 143) << QPoint(273, 143);
    QTest::newRow("channel 2 up") << 2 << 400 << QPoint(88, 87) << QPoint(273, 143);
    QTest::newRow("channel 0 right") << 0 << 200 << QPoint(88, 143) << QPoint(301, 143);
    // -133 * 56 / 400 = -18.62: truncated toward zero to -18, the dot moves 18 px down.
    QTest::newRow("channel 1 truncates toward zero") << 1 << -133 << QPoint(88, 143) << QPoint(273, 161);
    // -7 * 56 / 400 = -0.98: no movement at all.
    QTest::newRow("channel 3 truncates toward zero") << 3 << -7 << QPoint(88, 143) << QPoint(273, 143);
}

void TestPageFCRc::stickDots()
{
    QFETCH(int, channel);
    QFETCH(int, offset);
    QFETCH(QPoint, left);
    QFETCH(QPoint, right);
    PageFCRc page;
    RcReply reply;
    reply.table[channel][4] = qint16(offset);
    feedRead(page, reply);
    QCOMPARE(page.leftDotPosition(), left);
    QCOMPARE(page.rightDotPosition(), right);
}

void TestPageFCRc::stickDotsKeptWhenAHalfRangeIsNotPositive_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::newRow("channel 0 minimum equals maximum") << 0 << 1500 << 1500;
    QTest::newRow("channel 1 range of one") << 1 << 1500 << 1501;
    QTest::newRow("channel 2 upside down") << 2 << 1900 << 1100;
    QTest::newRow("channel 3 minimum equals maximum") << 3 << 1100 << 1100;
}

void TestPageFCRc::stickDotsKeptWhenAHalfRangeIsNotPositive()
{
    QFETCH(int, channel);
    QFETCH(int, min);
    QFETCH(int, max);
    PageFCRc page;
    RcReply first;
    first.table[3][4] = -400;
    first.table[0][4] = 400;
    feedRead(page, first);
    QCOMPARE(page.leftDotPosition(), QPoint(32, 143));
    QCOMPARE(page.rightDotPosition(), QPoint(329, 143));

    RcReply second;
    second.table[channel][0] = qint16(min);
    second.table[channel][1] = qint16(max);
    for (int c = 0; c < 4; ++c)
        second.table[c][4] = 300;
    feedRead(page, second);
    QCOMPARE(page.leftDotPosition(), QPoint(32, 143));
    QCOMPARE(page.rightDotPosition(), QPoint(329, 143));
}

void TestPageFCRc::stickDotsDrawnWhereComputed()
{
    const QImage dot = QImage(QStringLiteral(":/GUI/rcDot.png"))
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (dot.isNull())
        QSKIP("the stick dot image is not in the resources yet");
    PageFCRc page;
    page.show();
    RcReply reply;
    reply.table[3][4] = -400; // left dot 56 px left
    reply.table[1][4] = 400;  // right dot 56 px up
    feedRead(page, reply);
    QWidget* view = child<QWidget>(page, "frame_rcDot");
    const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // What the dot looks like over the background the grab starts from.
    QImage expected(dot.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(shot.pixel(200, 230));
    QPainter(&expected).drawImage(0, 0, dot);
    QCOMPARE(shot.copy(QRect(QPoint(32, 143), dot.size())), expected);
    QCOMPARE(shot.copy(QRect(QPoint(273, 87), dot.size())), expected);
    // Nothing is left at the bases.
    QVERIFY(shot.copy(QRect(QPoint(88, 143), dot.size())) != expected);
    QVERIFY(shot.copy(QRect(QPoint(273, 143), dot.size())) != expected);
}

void TestPageFCRc::switchDisplays_data()
{
    QTest::addColumn<int>("switchA");
    QTest::addColumn<int>("switchB");
    QTest::addColumn<QString>("checked");
    QTest::newRow("A 0 shows nothing") << 0 << 1 << "radioButton_rcSwitch21";
    QTest::newRow("A 1") << 1 << 3 << "radioButton_rcSwitch11 radioButton_rcSwitch22";
    QTest::newRow("A 2") << 2 << 1 << "radioButton_rcSwitch12 radioButton_rcSwitch21";
    QTest::newRow("A 3, B 2 shows nothing") << 3 << 2 << "radioButton_rcSwitch13";
    QTest::newRow("A 4, B 0: nothing") << 4 << 0 << "";
    QTest::newRow("A -1, B 3") << -1 << 3 << "radioButton_rcSwitch22";
}

void TestPageFCRc::switchDisplays()
{
    QFETCH(int, switchA);
    QFETCH(int, switchB);
    QFETCH(QString, checked);
    PageFCRc page;
    // A previous reply with every position shown, so the new one must clear them.
    RcReply before;
    before.switchA = 2;
    before.switchB = 3;
    feedRead(page, before);

    RcReply reply;
    reply.switchA = qint8(switchA);
    reply.switchB = qint8(switchB);
    feedRead(page, reply);
    QStringList shown;
    for (const char* name : {"radioButton_rcSwitch11", "radioButton_rcSwitch12",
                             "radioButton_rcSwitch13", "radioButton_rcSwitch21",
                             "radioButton_rcSwitch22"})
        if (child<QRadioButton>(page, name)->isChecked())
            shown << QString::fromLatin1(name);
    QCOMPARE(shown.join(' '), checked);
}

void TestPageFCRc::modeButtonFromReply_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("checked");
    QTest::newRow("2D") << 0 << "radioButton_2D";
    QTest::newRow("3D") << 1 << "radioButton_3D";
    QTest::newRow("2 checks the disabled easy button") << 2 << "radioButton_easy";
    QTest::newRow("3 changes nothing") << 3 << "radioButton_3D";
    QTest::newRow("-1 changes nothing") << -1 << "radioButton_3D";
}

void TestPageFCRc::modeButtonFromReply()
{
    QFETCH(int, value);
    QFETCH(QString, checked);
    PageFCRc page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    RcReply before;
    before.modeButton = 1;
    feedRead(page, before);
    QVERIFY(child<QRadioButton>(page, "radioButton_3D")->isChecked());

    RcReply reply;
    reply.modeButton = qint8(value);
    feedRead(page, reply);
    QStringList on;
    for (const char* name : {"radioButton_2D", "radioButton_3D", "radioButton_easy"})
        if (child<QRadioButton>(page, name)->isChecked())
            on << QString::fromLatin1(name);
    QCOMPARE(on.join(' '), checked);
    QVERIFY(!child<QRadioButton>(page, "radioButton_easy")->isEnabled());
    QCOMPARE(spy.count(), 0);
}

void TestPageFCRc::switchTextsFollowReadAndWriteReplies()
{
    PageFCRc page;
    RcReply reply;
    reply.modes[0] = 2;
    reply.modes[1] = 4;
    reply.modes[2] = 6;
    feedRead(page, reply);
    auto* b1 = child<QPushButton>(page, "pushButton_rcSwitch11");
    auto* b2 = child<QPushButton>(page, "pushButton_rcSwitch12");
    auto* b3 = child<QPushButton>(page, "pushButton_rcSwitch13");
    QCOMPARE(b1->text(), QStringLiteral("2D-ATTI"));
    QCOMPARE(b1->toolTip(), QStringLiteral("2D Attitude Mode"));
    QCOMPARE(b2->text(), QStringLiteral("3D-RATTI"));
    QCOMPARE(b2->toolTip(), QStringLiteral("3D Rattitude Mode"));
    QCOMPARE(b3->text(), QStringLiteral("FAIL-SAFE"));
    QCOMPARE(b3->toolTip(), QStringLiteral("FAIL-SAFE"));

    // The RC_WR echo: channel word with channel 1 reversed, modes 5, 0, 9, 3D.
    feed(page, FCProtocol::RC_WR, QByteArray::fromHex("00020000" "050009" "01"));
    QCOMPARE(b1->text(), QStringLiteral("2D-HFATTI"));
    QCOMPARE(b1->toolTip(), QStringLiteral("2D Headfree Attitude Mode"));
    QCOMPARE(b2->text(), QStringLiteral("2D-RATE"));
    QCOMPARE(b3->text(), QStringLiteral("Unknown"));
    QCOMPARE(b3->toolTip(), QStringLiteral("Unknown tip"));
    QVERIFY(child<QCheckBox>(page, "checkBox_rcRev1")->isChecked());
    QVERIFY(!child<QCheckBox>(page, "checkBox_rcRev0")->isChecked());

    // The echo is now the pending set: a mode button writes on top of it.
    page.show();
    QSignalSpy spy(&page, &PageFC::AddTask);
    click(child<QRadioButton>(page, "radioButton_2D"));
    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), QByteArray("00020000" "050009" "00"));
}

void TestPageFCRc::reverseClickWritesWholePendingSet_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QByteArray>("payload");
    // Read: channel word 0x7F024100 (SBUS, channel 0 reversed, bit 14 and the top byte set),
    // modes 2, 4, 1, mode button 1. The write carries all of it with one bit flipped.
    QTest::newRow("channel 2 on") << 2 << QByteArray("0045027f" "020401" "01");
    QTest::newRow("channel 0 off") << 0 << QByteArray("0040027f" "020401" "01");
    QTest::newRow("channel 5 on") << 5 << QByteArray("0061027f" "020401" "01");
}

void TestPageFCRc::reverseClickWritesWholePendingSet()
{
    QFETCH(int, channel);
    QFETCH(QByteArray, payload);
    PageFCRc page;
    page.show();
    RcReply reply;
    reply.word = qint32(0x7F024100);
    reply.modeButton = 1;
    feedRead(page, reply);

    QSignalSpy spy(&page, &PageFC::AddTask);
    click(child<QCheckBox>(page, qPrintable(QStringLiteral("checkBox_rcRev%1").arg(channel))));
    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->type, int(FCProtocol::RC_WR));
    QVERIFY(tasks[0]->urgent);
    QCOMPARE(tasks[0]->txData.left(2), head(FCProtocol::RC_WR));
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), payload);
}

void TestPageFCRc::replyNeverWrites()
{
    PageFCRc page;
    page.show();
    QSignalSpy tasks(&page, &PageFC::AddTask);
    auto* manager = page.findChild<FCRcUIManager*>();
    QVERIFY(manager);
    QSignalSpy clicks(manager, &FCRcUIManager::checkBoxStateChanged);

    for (qint32 word : {qint32(0x3F00), qint32(0x0500), qint32(0), qint32(0x2A00)}) {
        RcReply reply;
        reply.word = word;
        reply.modeButton = qint8(word & 1);
        feedRead(page, reply);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(manager->row(i).reverseBox->isChecked(), bool(word & (1 << (8 + i))));
        feed(page, FCProtocol::RC_WR, reply.payload().mid(1, 4) + QByteArray::fromHex("00000000"));
    }
    QCOMPARE(tasks.count(), 0);
    QCOMPARE(clicks.count(), 0);
}

void TestPageFCRc::modeButtonWrites_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("readValue");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("3D") << "radioButton_3D" << 0 << QByteArray("00000600" "030102" "01");
    QTest::newRow("2D") << "radioButton_2D" << 1 << QByteArray("00000600" "030102" "00");
    QTest::newRow("2D while easy") << "radioButton_2D" << 2 << QByteArray("00000600" "030102" "00");
    // The easy button is disabled: a click does nothing.
    QTest::newRow("easy") << "radioButton_easy" << 0 << QByteArray();
}

void TestPageFCRc::modeButtonWrites()
{
    QFETCH(QString, button);
    QFETCH(int, readValue);
    QFETCH(QByteArray, payload);
    PageFCRc page;
    page.show();
    RcReply reply;
    reply.word = 3 << 17;
    reply.modes[0] = 3;
    reply.modes[1] = 1;
    reply.modes[2] = 2;
    reply.modeButton = qint8(readValue);
    feedRead(page, reply);

    QSignalSpy spy(&page, &PageFC::AddTask);
    click(child<QRadioButton>(page, qPrintable(button)));
    auto tasks = takeTasks(spy);
    if (payload.isEmpty()) {
        QCOMPARE(int(tasks.size()), 0);
        return;
    }
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->type, int(FCProtocol::RC_WR));
    QVERIFY(tasks[0]->urgent);
    QCOMPARE(tasks[0]->txData, head(FCProtocol::RC_WR) + QByteArray::fromHex(payload));
}

void TestPageFCRc::switchFunctionChoiceWrites()
{
    PageFCRc page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    RcReply reply;
    reply.word = qint32(0x00020300);
    feedRead(page, reply); // modes 2, 4, 1; mode button 0

    QSignalSpy spy(&page, &PageFC::AddTask);
    QStringList checkedWhileOpen;
    QPoint popupAt;
    ModalScript popup;
    popup.on<DialogRCFuncSw>([&](DialogRCFuncSw* d) {
        for (const char* name : {"pushButton_rcSwitch11", "pushButton_rcSwitch12", "pushButton_rcSwitch13"})
            if (child<QPushButton>(page, name)->isChecked())
                checkedWhileOpen << QString::fromLatin1(name);
        popupAt = d->pos();
        click(d->buttonGroup()->button(3));
    });
    click(child<QPushButton>(page, "pushButton_rcSwitch12"));
    QCOMPARE(popup.count(), 1);
    QCOMPARE(checkedWhileOpen, QStringList{"pushButton_rcSwitch12"});
    QWidget* bar4 = child<QWidget>(page, "progressBar_rc4");
    QCOMPARE(popupAt, bar4->mapToGlobal(QPoint(0, bar4->height())));

    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->type, int(FCProtocol::RC_WR));
    QVERIFY(tasks[0]->urgent);
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), QByteArray("00030200" "020301" "00"));
    for (const char* name : {"pushButton_rcSwitch11", "pushButton_rcSwitch12", "pushButton_rcSwitch13"})
        QVERIFY2(!child<QPushButton>(page, name)->isChecked(), name);
}

void TestPageFCRc::switchPopupOptionFive_data()
{
    QTest::addColumn<bool>("telemetry");
    QTest::addColumn<qint32>("boardWord");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no telemetry yet") << false << 0 << false;
    QTest::newRow("board 0x28") << true << qint32(0xF0280105) << false;
    QTest::newRow("board 0x20") << true << qint32(0x00200105) << false;
    QTest::newRow("board 0x30") << true << qint32(0xF0300105) << true;
    QTest::newRow("board 0x10") << true << qint32(0x00100001) << true;
}

void TestPageFCRc::switchPopupOptionFive()
{
    QFETCH(bool, telemetry);
    QFETCH(qint32, boardWord);
    QFETCH(bool, enabled);
    PageFCRc page;
    page.show();
    if (telemetry) {
        FCProtocol::DS_INFO_RD info;
        info.boardWord = boardWord;
        page.InfoRDDone(info);
    }
    QSignalSpy spy(&page, &PageFC::AddTask);
    bool fiveEnabled = !enabled;
    bool othersEnabled = false;
    ModalScript popup;
    popup.on<DialogRCFuncSw>([&](DialogRCFuncSw* d) {
        fiveEnabled = d->buttonGroup()->button(5)->isEnabled();
        othersEnabled = true;
        for (int i = 0; i < 5; ++i)
            othersEnabled = othersEnabled && d->buttonGroup()->button(i)->isEnabled();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    click(child<QPushButton>(page, "pushButton_rcSwitch11"));
    QCOMPARE(popup.count(), 1);
    QCOMPARE(fiveEnabled, enabled);
    QVERIFY(othersEnabled);
    QCOMPARE(spy.count(), 0);
}

void TestPageFCRc::dismissedPopupWritesNothing()
{
    PageFCRc page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    feedRead(page, RcReply());
    QSignalSpy spy(&page, &PageFC::AddTask);
    {
        ModalScript outside;
        outside.on<DialogRCFuncSw>([&page](DialogRCFuncSw*) {
            QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, QPoint(150, 150));
        });
        click(child<QPushButton>(page, "pushButton_rcSwitch13"));
        QCOMPARE(outside.count(), 1);
    }
    QCOMPARE(spy.count(), 0);
    QVERIFY(!child<QPushButton>(page, "pushButton_rcSwitch13")->isChecked());

    // A later choice still carries the modes as read, untouched by the dismissed popup.
    ModalScript choose;
    choose.on<DialogRCFuncSw>([](DialogRCFuncSw* d) { click(d->buttonGroup()->button(0)); });
    click(child<QPushButton>(page, "pushButton_rcSwitch11"));
    QCOMPARE(choose.count(), 1);
    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), QByteArray("00000000" "000401" "00"));
}

void TestPageFCRc::calibrationStateMachine()
{
    PageFCRc page;
    page.show();
    auto* button = child<QPushButton>(page, "pushButton_rcCali");
    QSignalSpy spy(&page, &PageFC::AddTask);

    struct Step {
        ModalScript::Answer answer;
        const char* shown;
        const char* textAfter;
        int marker; // -1: nothing sent
    };
    const Step steps[] = {
        {ModalScript::Cancel, kStartText, "Calibration", -1},
        {ModalScript::Ok, kStartText, "Complete", 0xAB},
        {ModalScript::Cancel, kFinishText, "Complete", -1},
        {ModalScript::Cancel, kFinishText, "Complete", -1},
        {ModalScript::Ok, kFinishText, "Calibration", 0xBA},
        {ModalScript::Ok, kStartText, "Complete", 0xAB},
    };
    int index = 0;
    for (const Step& step : steps) {
        ModalScript answer({step.answer});
        click(button);
        QVERIFY2(answer.count() == 1, qPrintable(QString::number(index)));
        QCOMPARE(answer.classes().value(0), QStringLiteral("DialogWarning"));
        QCOMPARE(answer.text(), QString::fromUtf8(step.shown));
        QCOMPARE(button->text(), QString::fromLatin1(step.textAfter));
        auto tasks = takeTasks(spy);
        if (step.marker < 0) {
            QCOMPARE(int(tasks.size()), 0);
        } else {
            QCOMPARE(int(tasks.size()), 1);
            QCOMPARE(tasks[0]->type, int(FCProtocol::RC_CALI));
            QVERIFY(tasks[0]->urgent);
            QCOMPARE(tasks[0]->txData, head(FCProtocol::RC_CALI) + char(step.marker));
        }
        // Replies keep coming while collecting and do not move the state.
        feedRead(page, RcReply());
        feed(page, FCProtocol::RC_CALI, QByteArray(1, char(0xAB)));
        QCOMPARE(button->text(), QString::fromLatin1(step.textAfter));
        ++index;
    }
}

void TestPageFCRc::failedTaskChangesNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("status");
    for (int status = -1; status >= -5; --status) {
        QTest::addRow("RC_RD status %d", status) << int(FCProtocol::RC_RD) << status;
        QTest::addRow("RC_WR status %d", status) << int(FCProtocol::RC_WR) << status;
    }
    // A reply of a type the page did not ask for is not read either.
    QTest::addRow("INFO_RD") << int(FCProtocol::INFO_RD) << 0;
    QTest::addRow("STATUS_RD") << int(FCProtocol::STATUS_RD) << 0;
}

void TestPageFCRc::failedTaskChangesNothing()
{
    QFETCH(int, type);
    QFETCH(int, status);
    PageFCRc page;
    page.show();
    RcReply good;
    good.word = qint32(0x00020500);
    good.table[0][4] = 200;
    good.modeButton = 1;
    feedRead(page, good);
    const QPixmap before = page.grab();

    RcReply other;
    other.recognition = 1;
    other.word = 0x3F07;
    other.table[0][4] = -400;
    other.switchA = 3;
    other.switchB = 3;
    other.modes[0] = 5;
    other.modeButton = 0;
    const QByteArray payload = type == FCProtocol::RC_WR
                                   ? QByteArray::fromHex("073f0000" "050505" "00")
                                   : other.payload();
    feed(page, type, payload, status);
    QCOMPARE(page.grab().toImage(), before.toImage());
    QCOMPARE(page.rightDotPosition(), QPoint(301, 143));

    // And the pending set is still the one read: a reverse click writes on top of it.
    QSignalSpy spy(&page, &PageFC::AddTask);
    click(child<QCheckBox>(page, "checkBox_rcRev1"));
    auto tasks = takeTasks(spy);
    QCOMPARE(int(tasks.size()), 1);
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), QByteArray("00070200" "020401" "01"));
}

void TestPageFCRc::shortReplyChangesNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("length");
    QTest::newRow("RC_RD without its last byte") << int(FCProtocol::RC_RD) << 91;
    QTest::newRow("RC_RD with only the channel word") << int(FCProtocol::RC_RD) << 5;
    QTest::newRow("RC_WR without mode button") << int(FCProtocol::RC_WR) << 7;
    QTest::newRow("empty RC_WR") << int(FCProtocol::RC_WR) << 0;
}

void TestPageFCRc::shortReplyChangesNothing()
{
    QFETCH(int, type);
    QFETCH(int, length);
    PageFCRc page;
    RcReply good;
    good.word = qint32(0x00000100);
    feedRead(page, good);

    RcReply other;
    other.word = 0x3E07;
    other.modes[0] = 5;
    const QByteArray full = type == FCProtocol::RC_RD ? other.payload()
                                                       : QByteArray::fromHex("073e0000" "050401" "01");
    feed(page, type, full.left(length), 0, true);
    QVERIFY(child<QCheckBox>(page, "checkBox_rcRev0")->isChecked());
    QVERIFY(!child<QCheckBox>(page, "checkBox_rcRev1")->isChecked());
    QVERIFY(child<QProgressBar>(page, "progressBar_rc0")->isEnabled());
    QCOMPARE(child<QPushButton>(page, "pushButton_rcSwitch11")->text(), QStringLiteral("2D-ATTI"));
}

using Rig = PageRig<PageFCRc>;

void TestPageFCRc::endToEndReverseReachesControllerAndComesBack()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::RcState rc;
    rc.recognition = 0;
    rc.channelWord = qint32(0x00020100); // SBUS, channel 0 reversed
    for (int c = 0; c < 8; ++c) {
        rc.table[c * 5 + 0] = 1100;
        rc.table[c * 5 + 1] = 1900;
        rc.table[c * 5 + 2] = 1500;
        rc.table[c * 5 + 3] = 1500;
        rc.table[c * 5 + 4] = 0;
    }
    rc.table[3 * 5 + 4] = -400;
    rc.trailing = {2, 3, 2, 4, 1, 0, 1}; // switch A 2, switch B 3, modes 2 4 1, spare, 3D
    VirtualFC::setRc(rc);

    Rig rig;
    QVERIFY(rig.poll());
    QCOMPARE(child<QLabel>(rig.page, "label_rcType")->text(), QStringLiteral("SBUS"));
    QVERIFY(child<QCheckBox>(rig.page, "checkBox_rcRev0")->isChecked());
    QVERIFY(child<QRadioButton>(rig.page, "radioButton_3D")->isChecked());
    QVERIFY(child<QRadioButton>(rig.page, "radioButton_rcSwitch12")->isChecked());
    QCOMPARE(rig.page.leftDotPosition(), QPoint(32, 143));

    VirtualFC::clearRecords();
    click(child<QCheckBox>(rig.page, "checkBox_rcRev2"));
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::RC_WR), 1, 3000);
    QByteArray request;
    for (const QByteArray& frame : VirtualFC::requests())
        if (frame.startsWith(head(FCProtocol::RC_WR)))
            request = frame;
    QCOMPARE(request.mid(2, 8).toHex(), QByteArray("00050200" "020401" "01"));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.controller.isBusy(), 3000);
    QCOMPARE(VirtualFC::rc().channelWord & 0x3F00, 0x0500);

    // The next read shows the controller's word with both channels reversed.
    QVERIFY(rig.poll());
    QVERIFY(child<QCheckBox>(rig.page, "checkBox_rcRev0")->isChecked());
    QVERIFY(child<QCheckBox>(rig.page, "checkBox_rcRev2")->isChecked());
    QVERIFY(!child<QCheckBox>(rig.page, "checkBox_rcRev1")->isChecked());

    // A mode choice: 2D goes out and comes back.
    click(child<QRadioButton>(rig.page, "radioButton_2D"));
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::RC_WR), 2, 3000);
    QVERIFY(rig.poll());
    QVERIFY(child<QRadioButton>(rig.page, "radioButton_2D")->isChecked());
    QVERIFY(child<QCheckBox>(rig.page, "checkBox_rcRev2")->isChecked());
}

void TestPageFCRc::endToEndCalibration()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    Rig rig;
    auto* button = child<QPushButton>(rig.page, "pushButton_rcCali");
    {
        ModalScript answer({ModalScript::Ok});
        click(button);
        QCOMPARE(answer.count(), 1);
    }
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::rcCalibrating(), 3000);
    QCOMPARE(button->text(), QStringLiteral("Complete"));
    QVERIFY(rig.poll());
    {
        ModalScript answer({ModalScript::Ok});
        click(button);
        QCOMPARE(answer.count(), 1);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!VirtualFC::rcCalibrating(), 3000);
    QCOMPARE(button->text(), QStringLiteral("Calibration"));
    QByteArray last;
    for (const QByteArray& frame : VirtualFC::requests())
        if (frame.startsWith(head(FCProtocol::RC_CALI)))
            last += frame.at(2);
    QCOMPARE(last.toHex(), QByteArray("abba"));
}

QTEST_MAIN(TestPageFCRc)
#include "tst_pagefcrc.moc"
