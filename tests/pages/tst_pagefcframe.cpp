// The airframe page: the form's buttons and groups, FRAME_RW reads and writes with their exact
// bytes, replies checking buttons without writing, the motor-test warning of this page, and one
// run through the real transport against the virtual flight controller.
#include "finishedtask.h"
#include "modalscript.h"

#include "pages/pagefcframe.h"
#include "pages/pagefcstatus.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QButtonGroup>
#include <QFrame>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTranslator>
#include <QtTest>

#include "pagerig.h"

#include <memory>

using FCProtocol::Task;

namespace {

// A finished FRAME_RW: reply code, airframe, mounting.
std::unique_ptr<Task> frameReply(quint8 code, quint8 airframe, quint8 mounting, int status = Task::Success,
                                 int type = FCProtocol::FRAME_RW)
{
    return finishedTask(type, littleEndian(code, airframe, mounting), status);
}

QRadioButton* frameButton(PageFC& page, int n)
{
    return page.findChild<QRadioButton*>(QStringLiteral("radioButton_%1").arg(n));
}

int checkedFrame(PageFC& page)
{
    for (int n = 0; n < 10; ++n) {
        if (frameButton(page, n)->isChecked())
            return n;
    }
    return -1;
}

// Clicks a radio button as the user would (QAbstractButton::click() refuses disabled ones too).
void userClick(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

} // namespace

// Tests of the airframe page, standalone and through the real transport.
class TestPageFCFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void form_data();
    void form();
    void methodOrder();

    void readsOnlyWhileVisible();

    void choiceWrites_data();
    void choiceWrites();
    void mountingKeepsAirframe();

    void replyChecks_data();
    void replyChecks();
    void ignoredReplies_data();
    void ignoredReplies();

    void motorTestWarningOnce();
    void motorTestTakesClicksOnItsImageOnly();
    void motorTestWarningSeparateFromStatusPage();
    void warningsInChinese_data();
    void warningsInChinese();

    void endToEnd();
};

void TestPageFCFrame::initTestCase()
{
}

void TestPageFCFrame::form_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("image");

    QTest::newRow("0") << "radioButton_0" << QRect(0, 0, 125, 125) << true << "X-A4-R4";
    QTest::newRow("1") << "radioButton_1" << QRect(145, 0, 125, 125) << true << "C-A4-R4";
    QTest::newRow("2") << "radioButton_2" << QRect(290, 0, 125, 125) << true << "X-A6-R6";
    QTest::newRow("3") << "radioButton_3" << QRect(435, 0, 125, 125) << true << "C-A6-R6";
    QTest::newRow("4") << "radioButton_4" << QRect(580, 0, 125, 125) << false << "X-A8-R8";
    QTest::newRow("5") << "radioButton_5" << QRect(0, 135, 125, 125) << false << "C-A8-R8";
    QTest::newRow("6") << "radioButton_6" << QRect(145, 135, 125, 125) << false << "X-A3-R6";
    QTest::newRow("7") << "radioButton_7" << QRect(290, 135, 125, 125) << false << "C-A3-R6";
    QTest::newRow("8") << "radioButton_8" << QRect(435, 135, 125, 125) << false << "X-A4-R8";
    QTest::newRow("9") << "radioButton_9" << QRect(580, 135, 125, 125) << false << "C-A4-R8";
    QTest::newRow("normal") << "radioButton_normal" << QRect(50, 41, 320, 250) << true << "page2-mounting-normal";
    QTest::newRow("invert") << "radioButton_invert" << QRect(410, 41, 320, 250) << true << "page2-mounting-invert";
}

void TestPageFCFrame::form()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QFETCH(QString, image);

    PageFCFrame page;
    QCOMPARE(page.objectName(), QStringLiteral("pageFCFrame"));
    QCOMPARE(page.size(), QSize(780, 310));

    auto* stack = page.findChild<QStackedWidget*>("stackedWidget");
    QVERIFY(stack);
    QCOMPARE(stack->geometry(), QRect(0, 0, 780, 310));
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("page1"));
    QCOMPARE(stack->widget(1)->objectName(), QStringLiteral("page2"));
    auto* rcFrame = page.findChild<QFrame*>("frame_rcFrame");
    QCOMPARE(rcFrame->geometry(), QRect(38, 10, 705, 260));
    QCOMPARE(rcFrame->parentWidget(), stack->widget(0));
    QCOMPARE(page.findChild<QPushButton*>("pushButton_motorTest")->geometry(), QRect(40, 275, 702, 30));

    auto* button = page.findChild<QRadioButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->isChecked(), false);
    QCOMPARE(button->text(), QString());
    const bool airframe = name.at(12).isDigit();
    QCOMPARE(button->parentWidget(), airframe ? static_cast<QWidget*>(rcFrame) : stack->widget(1));
    QCOMPARE(button->group() != nullptr, true);
    QCOMPARE(button->group()->id(button),
             airframe ? name.mid(12).toInt() : (name.endsWith(QLatin1String("invert")) ? 1 : 0));
    // One image per state, named after the airframe.
    const QString style = button->styleSheet();
    for (const char* state : {"-1.png", "-2.png", "-3.png"})
        QVERIFY2(style.contains(":/GUI/" + image + state), qPrintable(style));
    QCOMPARE(style.contains(":/GUI/" + image + "-4.png"), !enabled);
}

void TestPageFCFrame::methodOrder()
{
    const QMetaObject* mo = &PageFCFrame::staticMetaObject;
    QStringList own;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
        own << QString::fromLatin1(mo->method(i).methodSignature());
    QCOMPARE(own, QStringList({"frameSelected(int)", "mountingSelected(int)", "on_pushButton_motorTest_clicked()",
                               "TaskDone(FCProtocol::Task*)", "mainLoop()", "InfoRDDone(FCProtocol::DS_INFO_RD)"}));
}

void TestPageFCFrame::readsOnlyWhileVisible()
{
    PageFCFrame page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    page.mainLoop();
    QCOMPARE(spy.count(), 0);

    page.show();
    page.mainLoop();
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->type, int(FCProtocol::FRAME_RW));
    QCOMPARE(tasks[0]->urgent, false);
    QCOMPARE(tasks[0]->txData, QByteArray::fromHex("030100"));

    page.hide();
    page.mainLoop();
    QCOMPARE(spy.count(), 0);
}

void TestPageFCFrame::choiceWrites_data()
{
    QTest::addColumn<bool>("replyFirst");
    QTest::addColumn<int>("button");
    QTest::addColumn<QByteArray>("request");

    // Before any reply the page knows mounting 0.
    QTest::newRow("before any reply: code 0") << false << 0 << QByteArray::fromHex("0301010000");
    QTest::newRow("before any reply: code 3") << false << 3 << QByteArray::fromHex("0301010300");
    // After a reply of airframe 1, inverted: the write carries the controller's mounting.
    QTest::newRow("after reply: code 2, inverted kept") << true << 2 << QByteArray::fromHex("0301010201");
    QTest::newRow("after reply: code 0, inverted kept") << true << 0 << QByteArray::fromHex("0301010001");
}

void TestPageFCFrame::choiceWrites()
{
    QFETCH(bool, replyFirst);
    QFETCH(int, button);
    QFETCH(QByteArray, request);

    PageFCFrame page;
    page.show();
    if (replyFirst) {
        auto reply = frameReply(0, 1, 1);
        page.TaskDone(reply.get());
    }
    QSignalSpy spy(&page, &PageFC::AddTask);
    userClick(frameButton(page, button));

    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->type, int(FCProtocol::FRAME_RW));
    QCOMPARE(tasks[0]->urgent, true);
    QCOMPARE(tasks[0]->txData, request);
    QCOMPARE(checkedFrame(page), button);
}

void TestPageFCFrame::mountingKeepsAirframe()
{
    PageFCFrame page;
    auto reply = frameReply(0, 3, 0);
    page.TaskDone(reply.get());

    // The mounting sub-page is never shown by the page itself; bring it up to click on it.
    page.findChild<QStackedWidget*>("stackedWidget")->setCurrentIndex(1);
    page.show();
    QSignalSpy spy(&page, &PageFC::AddTask);
    userClick(page.findChild<QRadioButton*>("radioButton_invert"));
    userClick(page.findChild<QRadioButton*>("radioButton_normal"));

    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(2));
    QCOMPARE(tasks[0]->txData, QByteArray::fromHex("0301010301"));
    QCOMPARE(tasks[1]->txData, QByteArray::fromHex("0301010300"));
    QVERIFY(tasks[0]->urgent && tasks[1]->urgent);
}

void TestPageFCFrame::replyChecks_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("checked");

    QTest::newRow("code 0") << -1 << 0 << 0;
    QTest::newRow("code 3") << 0 << 3 << 3;
    QTest::newRow("disabled button 7 is shown") << 1 << 7 << 7;
    QTest::newRow("last disabled one") << 2 << 9 << 9;
    QTest::newRow("code 10 has no button") << 2 << 10 << 2;
    QTest::newRow("code 12 leaves the check") << 1 << 12 << 1;
    QTest::newRow("code 0x80 is not a negative id") << 3 << 0x80 << 3;
    QTest::newRow("code 0xff is not a negative id") << 3 << 0xFF << 3;
}

void TestPageFCFrame::replyChecks()
{
    QFETCH(int, before);
    QFETCH(int, code);

    PageFCFrame page;
    page.show();
    if (before >= 0) {
        auto first = frameReply(0, quint8(before), 0);
        page.TaskDone(first.get());
    }
    QSignalSpy spy(&page, &PageFC::AddTask);
    auto reply = frameReply(0x55, quint8(code), 1);
    page.TaskDone(reply.get());

    QTEST(checkedFrame(page), "checked");
    QCOMPARE(spy.count(), 0); // showing the controller's choice is never a write
    // The mounting buttons are not set from a reply.
    QVERIFY(!page.findChild<QRadioButton*>("radioButton_invert")->isChecked());
    QVERIFY(!page.findChild<QRadioButton*>("radioButton_normal")->isChecked());
}

void TestPageFCFrame::ignoredReplies_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("truncateTo");

    QTest::newRow("no reply") << int(Task::NoReply) << int(FCProtocol::FRAME_RW) << -1;
    QTest::newRow("wrong echo") << int(Task::WrongEcho) << int(FCProtocol::FRAME_RW) << -1;
    QTest::newRow("telemetry read") << int(Task::Success) << int(FCProtocol::INFO_RD) << -1;
    QTest::newRow("status read") << int(Task::Success) << int(FCProtocol::STATUS_RD) << -1;
    QTest::newRow("record cut short") << int(Task::Success) << int(FCProtocol::FRAME_RW) << 4;
}

void TestPageFCFrame::ignoredReplies()
{
    QFETCH(int, status);
    QFETCH(int, type);
    QFETCH(int, truncateTo);

    PageFCFrame page;
    page.show();
    auto good = frameReply(0, 2, 1);
    page.TaskDone(good.get());

    auto bad = frameReply(0, 5, 0, status, type);
    if (truncateTo >= 0)
        bad->rxData.truncate(truncateTo);
    page.TaskDone(bad.get());
    QCOMPARE(checkedFrame(page), 2);

    // The page state is unchanged too: a choice writes the old mounting.
    QSignalSpy spy(&page, &PageFC::AddTask);
    userClick(frameButton(page, 0));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->txData, QByteArray::fromHex("0301010001"));
}

void TestPageFCFrame::motorTestWarningOnce()
{
    PageFCFrame page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    auto* button = page.findChild<QPushButton*>("pushButton_motorTest");
    {
        ModalScript modal({ModalScript::Cancel});
        button->click();
        QCOMPARE(modal.count(), 1);
        QCOMPARE(spy.count(), 0); // Cancel sends nothing and keeps the warning pending
    }
    {
        ModalScript modal({ModalScript::Ok});
        button->click();
        QCOMPARE(modal.count(), 1);
        QCOMPARE(modal.classes().value(0), QStringLiteral("DialogWarning"));
        QCOMPARE(modal.text(),
                 QStringLiteral("During the motor test,please remove all propellers in case of unexpected danger! "
                                "Please make sure the order and rotation of motors are the same as the picture "
                                "shown in the software."));
    }
    {
        ModalScript modal({ModalScript::Cancel});
        button->click();
        QCOMPARE(modal.count(), 0);
    }
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(2));
    for (const auto& task : tasks) {
        QCOMPARE(task->type, int(FCProtocol::MOTOR_TEST));
        QCOMPARE(task->urgent, true);
        QCOMPARE(task->txData, QByteArray::fromHex("0302ab"));
    }
}

// The strip under the pictures is 702 px wide but shows an 88 x 27 image in its middle: a
// click on the empty part of the strip must not reach the button that starts the motors.
void TestPageFCFrame::motorTestTakesClicksOnItsImageOnly()
{
    PageFCFrame page;
    page.show();
    auto* button = page.findChild<QPushButton*>("pushButton_motorTest");
    const QPoint centre = button->rect().center();
    QCOMPARE(page.childAt(button->mapTo(&page, centre)), button);
    for (const QPoint& beside : {QPoint(5, 15), QPoint(centre.x() - 50, 15), QPoint(centre.x() + 50, 15), QPoint(696, 15)})
        QVERIFY2(page.childAt(button->mapTo(&page, beside)) != button, qPrintable(QString::number(beside.x())));
}

void TestPageFCFrame::motorTestWarningSeparateFromStatusPage()
{
    PageFCFrame frame;
    PageFCStatus status;
    // The emitted motor tests are taken (and deleted) here, as the main window would queue them.
    QSignalSpy frameTasks(&frame, &PageFC::AddTask);
    QSignalSpy statusTasks(&status, &PageFC::AddTask);
    {
        ModalScript modal({ModalScript::Ok});
        frame.findChild<QPushButton*>("pushButton_motorTest")->click();
        QCOMPARE(modal.count(), 1);
    }
    QCOMPARE(takeTasks(frameTasks).size(), size_t(1));
    {
        ModalScript modal({ModalScript::Ok});
        status.findChild<QPushButton*>("pushButton_motorTest")->click();
        QVERIFY2(modal.count() == 1, "confirmed on the airframe page, still asked on the status page");
    }
    QCOMPARE(takeTasks(statusTasks).size(), size_t(1));
    PageFCFrame other;
    QSignalSpy otherTasks(&other, &PageFC::AddTask);
    ModalScript modal({ModalScript::Cancel});
    other.findChild<QPushButton*>("pushButton_motorTest")->click();
    QCOMPARE(modal.count(), 1);
    QCOMPARE(otherTasks.count(), 0);
}

void TestPageFCFrame::warningsInChinese_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");

    const QString motor = QStringLiteral("电机测试过程中，请卸下所有的螺旋桨，以免发生意外！请确保电机连接顺序和电机转向与图中完全一致！");
    QTest::newRow("airframe page motor test") << "frame" << "pushButton_motorTest" << motor;
    QTest::newRow("status page motor test") << "status" << "pushButton_motorTest" << motor;
    QTest::newRow("status page calibration") << "status" << "pushButton_HorizonCali"
                                             << QStringLiteral("请将飞行器水平放置，然后点击“确定”。");
}

// Each page's questions are translated in the page's own context.
void TestPageFCFrame::warningsInChinese()
{
    QFETCH(QString, page);
    QFETCH(QString, button);

    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/tr/FCApp.qm")));
    QCoreApplication::installTranslator(&translator);
    std::unique_ptr<PageFC> shown;
    if (page == QLatin1String("frame"))
        shown.reset(new PageFCFrame);
    else
        shown.reset(new PageFCStatus);
    QSignalSpy spy(shown.get(), &PageFC::AddTask);
    ModalScript modal({ModalScript::Cancel});
    shown->findChild<QPushButton*>(button)->click();
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(modal.count(), 1);
    QTEST(modal.text(), "text");
    QCOMPARE(spy.count(), 0);
}

// The real transport against the virtual controller: the board's setting checks its button,
// and a choice reaches the board as the exact frame and changes its setting.
void TestPageFCFrame::endToEnd()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::FrameSetting setting;
    setting.airframe = 7;
    setting.mounting = 1;
    VirtualFC::setFrameSetting(setting);

    PageRig<PageFCFrame> rig;
    TRController& controller = rig.controller;
    PageFCFrame& page = rig.page;
    page.mainLoop();
    QTRY_COMPARE_WITH_TIMEOUT(checkedFrame(page), 7, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 3000);

    VirtualFC::clearRecords();
    userClick(frameButton(page, 2));
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::FRAME_RW), 1, 3000);
    const QList<QByteArray> requests = VirtualFC::requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].size(), 64);
    QCOMPARE(requests[0].left(62), QByteArray::fromHex("0301010201") + QByteArray(57, '\0'));
    QTRY_COMPARE_WITH_TIMEOUT(int(VirtualFC::frameSetting().airframe), 2, 3000);
    QCOMPARE(int(VirtualFC::frameSetting().mounting), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 3000);
}

QTEST_MAIN(TestPageFCFrame)
#include "tst_pagefcframe.moc"
