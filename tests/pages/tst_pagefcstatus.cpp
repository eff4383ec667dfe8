// The status page: its poll, the labels it shows for a STATUS_RD reply, the needle and
// horizon transforms, the two commands and their exact request bytes, and one run through the
// real transport against the virtual flight controller.
#include "finishedtask.h"
#include "modalscript.h"

#include "pages/pagefcstatus.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QAbstractButton>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QtMath>
#include <QtTest>

#include "pagerig.h"

#include <memory>

using FCProtocol::Task;

namespace {

constexpr double kDeg = 57.29578;

// A finished STATUS_RD: quaternion, angles, flight mode and lock state.
std::unique_ptr<Task> statusReply(float pitch, float roll, float yaw, quint8 mode, quint8 lock,
                                  int status = Task::Success, int type = FCProtocol::STATUS_RD)
{
    return finishedTask(type, littleEndian(1.0f, 0.0f, 0.0f, 0.0f, pitch, roll, yaw, mode, lock), status);
}

double rotationDegrees(const QTransform& t)
{
    return qRadiansToDegrees(std::atan2(t.m12(), t.m11()));
}

bool skinPresent()
{
    return QFile::exists(QStringLiteral(":/GUI/compass1.png")) && QFile::exists(QStringLiteral(":/GUI/attview.png"))
        && QFile::exists(QStringLiteral(":/GUI/attview-mask.png"));
}

const char* const kMotorWarning =
    "During the motor test,please remove all propellers in case of unexpected danger! Please make sure "
    "the order and rotation of motors are the same as the picture shown in the software.";

} // namespace

// Tests of the status page, standalone and through the real transport.
class TestPageFCStatus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void form_data();
    void form();
    void methodOrder();

    void pollsOnlyWhileVisible();

    void labels_data();
    void labels();
    void ignoredReplies_data();
    void ignoredReplies();

    void compassTransform_data();
    void compassTransform();
    void horizonTransform_data();
    void horizonTransform();
    void compassConsumesPaintAttitudeDoesNot();
    void viewsFollowTheAttitude();

    void horizonCalibration_data();
    void horizonCalibration();
    void motorTestWarningOnce();
    void motorTestWarningIsPerPage();

    void endToEnd();
};

void TestPageFCStatus::initTestCase()
{
}

void TestPageFCStatus::form_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("compass") << "frame_compass" << "QFrame" << QRect(22, 25, 260, 260);
    QTest::newRow("attitude") << "frame_attitude" << "QFrame" << QRect(298, 25, 260, 260);
    QTest::newRow("pitch") << "label_pitch" << "QLabel" << QRect(640, 30, 100, 25);
    QTest::newRow("roll") << "label_roll" << "QLabel" << QRect(640, 80, 100, 25);
    QTest::newRow("flymode") << "label_flymode" << "QLabel" << QRect(660, 203, 100, 25);
    QTest::newRow("lock") << "label_lock" << "QLabel" << QRect(570, 250, 100, 25);
    QTest::newRow("calibration") << "pushButton_HorizonCali" << "QPushButton" << QRect(646, 130, 120, 25);
    QTest::newRow("motor test") << "pushButton_motorTest" << "QPushButton" << QRect(680, 250, 88, 27);
}

void TestPageFCStatus::form()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);

    PageFCStatus page;
    QCOMPARE(page.objectName(), QStringLiteral("pageFCStatus"));
    QCOMPARE(page.size(), QSize(780, 310));
    QCOMPARE(page.minimumSize(), QSize(780, 310));
    QCOMPARE(page.maximumSize(), QSize(780, 310));

    QWidget* widget = page.findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->geometry(), geometry);
    widget->ensurePolished();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), QString());
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(80, 80, 80));
        QCOMPARE(label->font().pointSize(), 11);
    }
    if (name == QLatin1String("frame_attitude"))
        QCOMPARE(static_cast<QFrame*>(widget)->lineWidth(), 5);
    if (auto* frame = qobject_cast<QFrame*>(widget); frame && !qobject_cast<QLabel*>(widget))
        QCOMPARE(frame->frameShape(), QFrame::NoFrame);
}

void TestPageFCStatus::methodOrder()
{
    const QMetaObject* mo = &PageFCStatus::staticMetaObject;
    QStringList own;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
        own << QString::fromLatin1(mo->method(i).methodSignature());
    QCOMPARE(own, QStringList({"TaskDone(FCProtocol::Task*)", "mainLoop()", "InfoRDDone(FCProtocol::DS_INFO_RD)",
                               "on_pushButton_HorizonCali_clicked()", "on_pushButton_motorTest_clicked()"}));
}

void TestPageFCStatus::pollsOnlyWhileVisible()
{
    PageFCStatus page;
    QSignalSpy spy(&page, &PageFC::AddTask);

    page.mainLoop();
    QCOMPARE(spy.count(), 0); // hidden pages do not poll

    page.show();
    page.mainLoop();
    page.mainLoop();
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(2)); // one read per tick
    for (const auto& task : tasks) {
        QCOMPARE(task->type, int(FCProtocol::STATUS_RD));
        QCOMPARE(task->urgent, false);
        QCOMPARE(task->txData, QByteArray::fromHex("0000")); // frame id only, no payload
    }

    page.hide();
    page.mainLoop();
    QCOMPARE(spy.count(), 0);
}

void TestPageFCStatus::labels_data()
{
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("roll");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("lock");
    QTest::addColumn<QString>("pitchText");
    QTest::addColumn<QString>("rollText");
    QTest::addColumn<QString>("modeText");
    QTest::addColumn<QString>("lockText");

    QTest::newRow("level, 2D-RATE, DISARM") << 0.0f << 0.0f << 0 << 0 << "0.0" << "0.0" << "2D-RATE" << "DISARM";
    QTest::newRow("half radian up, roll left") << 0.5f << -1.0f << 2 << 1 << "28.6" << "-57.3" << "2D-ATTI" << "ARM";
    QTest::newRow("rounding to one decimal") << float(12.26 / kDeg) << float(-0.04 / kDeg) << 3 << 2 << "12.3"
                                             << "-0.0" << "3D-RATE" << "RUN";
    QTest::newRow("upside down") << float(M_PI) << float(-M_PI / 2) << 6 << 3 << "180.0" << "-90.0" << "FAIL-SAFE"
                                 << "MotorCheck";
    QTest::newRow("headfree") << 0.1f << 0.1f << 5 << 0 << "5.7" << "5.7" << "2D-HFATTI" << "DISARM";
    QTest::newRow("unknown mode and lock") << 0.0f << 0.0f << 7 << 4 << "0.0" << "0.0" << "Unknown" << "Unknown";
    QTest::newRow("negative codes") << 0.0f << 0.0f << 0xFF << 0x80 << "0.0" << "0.0" << "Unknown" << "Unknown";
}

void TestPageFCStatus::labels()
{
    QFETCH(float, pitch);
    QFETCH(float, roll);
    QFETCH(int, mode);
    QFETCH(int, lock);

    PageFCStatus page;
    auto reply = statusReply(pitch, roll, 1.0f, quint8(mode), quint8(lock));
    page.TaskDone(reply.get());

    QTEST(page.findChild<QLabel*>("label_pitch")->text(), "pitchText");
    QTEST(page.findChild<QLabel*>("label_roll")->text(), "rollText");
    QTEST(page.findChild<QLabel*>("label_flymode")->text(), "modeText");
    QTEST(page.findChild<QLabel*>("label_lock")->text(), "lockText");
}

void TestPageFCStatus::ignoredReplies_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("truncateTo");

    QTest::newRow("no reply") << int(Task::NoReply) << int(FCProtocol::STATUS_RD) << -1;
    QTest::newRow("wrong crc") << int(Task::WrongCrc) << int(FCProtocol::STATUS_RD) << -1;
    QTest::newRow("link failed") << int(Task::LinkFailed) << int(FCProtocol::STATUS_RD) << -1;
    QTest::newRow("telemetry read") << int(Task::Success) << int(FCProtocol::INFO_RD) << -1;
    QTest::newRow("another page's read") << int(Task::Success) << int(FCProtocol::FRAME_RW) << -1;
    // Never produced by the transport (replies are whole reports), but must not show zeros.
    QTest::newRow("record cut short") << int(Task::Success) << int(FCProtocol::STATUS_RD) << 20;
}

void TestPageFCStatus::ignoredReplies()
{
    QFETCH(int, status);
    QFETCH(int, type);
    QFETCH(int, truncateTo);

    PageFCStatus page;
    auto good = statusReply(0.5f, -1.0f, 0.0f, 2, 1);
    page.TaskDone(good.get());

    auto bad = statusReply(1.0f, 1.0f, 1.0f, 4, 3, status, type);
    if (truncateTo >= 0)
        bad->rxData.truncate(truncateTo);
    page.TaskDone(bad.get());

    // The last good values stay.
    QCOMPARE(page.findChild<QLabel*>("label_pitch")->text(), QStringLiteral("28.6"));
    QCOMPARE(page.findChild<QLabel*>("label_roll")->text(), QStringLiteral("-57.3"));
    QCOMPARE(page.findChild<QLabel*>("label_flymode")->text(), QStringLiteral("2D-ATTI"));
    QCOMPARE(page.findChild<QLabel*>("label_lock")->text(), QStringLiteral("ARM"));
}

void TestPageFCStatus::compassTransform_data()
{
    QTest::addColumn<float>("yaw");
    QTest::addColumn<double>("degrees");

    QTest::newRow("north: needle rotated 90") << 0.0f << 90.0;
    QTest::newRow("east: needle unrotated") << float(M_PI / 2) << 0.0;
    QTest::newRow("south") << float(M_PI) << -90.0;
    QTest::newRow("west") << float(-M_PI / 2) << 180.0;
    QTest::newRow("30 degrees") << float(30.0 / kDeg) << 60.0;
}

void TestPageFCStatus::compassTransform()
{
    QFETCH(float, yaw);
    QFETCH(double, degrees);

    const QTransform t = PageFCStatus::compassTransform(yaw);
    QTransform expected;
    expected.translate(130, 130);
    expected.rotate(degrees);
    // Rotation about the centre: the centre stays put, the needle's tip (0, -81) turns with it.
    QCOMPARE(t.map(QPointF(0, 0)), QPointF(130, 130));
    const QPointF tip = t.map(QPointF(0, -81));
    const QPointF expectedTip = expected.map(QPointF(0, -81));
    QVERIFY2(qAbs(tip.x() - expectedTip.x()) < 1e-3 && qAbs(tip.y() - expectedTip.y()) < 1e-3,
             qPrintable(QStringLiteral("tip (%1, %2)").arg(tip.x()).arg(tip.y())));
    double got = rotationDegrees(t);
    if (degrees == 180.0 && got < 0)
        got += 360.0;
    QVERIFY2(qAbs(got - degrees) < 1e-4, qPrintable(QString::number(got)));
}

void TestPageFCStatus::horizonTransform_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<double>("shift");
    QTest::addColumn<QPointF>("barCentre");

    // 25 px for every 12 degrees of pitch, down in the rotated frame.
    QTest::newRow("level") << 0.0f << 0.0f << 0.0 << QPointF(130, 130);
    QTest::newRow("pitch 60 deg: 125 px") << 0.0f << float(60.0 / kDeg) << 125.0 << QPointF(130, 255);
    QTest::newRow("pitch -12 deg: -25 px") << 0.0f << float(-12.0 / kDeg) << -25.0 << QPointF(130, 105);
    QTest::newRow("roll 90, pitch 60") << float(90.0 / kDeg) << float(60.0 / kDeg) << 125.0 << QPointF(5, 130);
    QTest::newRow("roll 30 only") << float(30.0 / kDeg) << 0.0f << 0.0 << QPointF(130, 130);
}

void TestPageFCStatus::horizonTransform()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QFETCH(double, shift);
    QFETCH(QPointF, barCentre);

    QVERIFY2(qAbs(PageFCStatus::horizonShift(pitch) - shift) < 1e-3,
             qPrintable(QString::number(PageFCStatus::horizonShift(pitch))));
    const QTransform t = PageFCStatus::attitudeTransform(roll, pitch);
    const QPointF centre = t.map(QPointF(0, 0));
    QVERIFY2(qAbs(centre.x() - barCentre.x()) < 1e-3 && qAbs(centre.y() - barCentre.y()) < 1e-3,
             qPrintable(QStringLiteral("(%1, %2)").arg(centre.x()).arg(centre.y())));
    QVERIFY(qAbs(rotationDegrees(t) - roll * kDeg) < 1e-4);
}

// The compass frame shows only the needle; the attitude frame's own drawing still runs after
// the horizon. Seen through a box border given to both frames for the test.
void TestPageFCStatus::compassConsumesPaintAttitudeDoesNot()
{
    PageFCStatus page;
    page.show();
    auto* compass = page.findChild<QFrame*>("frame_compass");
    auto* attitude = page.findChild<QFrame*>("frame_attitude");

    auto corner = [](QFrame* frame) { return frame->grab().toImage().pixelColor(1, 1); };
    const QColor compassBare = corner(compass);
    const QColor attitudeBare = corner(attitude);

    for (QFrame* frame : {compass, attitude}) {
        frame->setFrameShape(QFrame::Box);
        frame->setLineWidth(5);
        frame->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    }
    QCOMPARE(corner(compass), compassBare);
    QVERIFY(corner(attitude) != attitudeBare);
    QCOMPARE(corner(attitude), QColor(255, 0, 0));
}

void TestPageFCStatus::viewsFollowTheAttitude()
{
    if (!skinPresent())
        QSKIP("the skin images are not compiled in");
    PageFCStatus page;
    page.show();
    auto* compass = page.findChild<QFrame*>("frame_compass");
    auto* attitude = page.findChild<QFrame*>("frame_attitude");

    auto level = statusReply(0.0f, 0.0f, 0.0f, 0, 0);
    page.TaskDone(level.get());
    const QImage compassNorth = compass->grab().toImage();
    const QImage attitudeLevel = attitude->grab().toImage();

    // 48 degrees: the bar moves 100 px down, where the round dial is narrower than the bar.
    auto turned = statusReply(float(48.0 / kDeg), 0.0f, float(M_PI / 2), 0, 0);
    page.TaskDone(turned.get());
    const QImage compassEast = compass->grab().toImage();
    const QImage attitudeUp = attitude->grab().toImage();

    QVERIFY(compassNorth != compassEast);
    // Yaw 0 lays the needle across the dial, yaw pi/2 upright: only the upright one covers
    // the point above the centre.
    QVERIFY(compassNorth.pixelColor(130, 80) != compassEast.pixelColor(130, 80));
    QVERIFY(compassNorth.pixelColor(80, 130) != compassEast.pixelColor(80, 130));
    // The bar left the centre and lies 100 px lower...
    QVERIFY(attitudeLevel.pixelColor(100, 130) != attitudeUp.pixelColor(100, 130));
    QVERIFY(attitudeLevel.pixelColor(100, 230) != attitudeUp.pixelColor(100, 230));
    // ...and the mask keeps its ends, outside the dial, undrawn.
    QCOMPARE(attitudeUp.pixelColor(60, 230), attitudeLevel.pixelColor(60, 230));
    QCOMPARE(attitudeUp.pixelColor(200, 230), attitudeLevel.pixelColor(200, 230));
}

void TestPageFCStatus::horizonCalibration_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("sent");

    QTest::newRow("OK starts the calibration") << int(ModalScript::Ok) << true;
    QTest::newRow("Cancel sends nothing") << int(ModalScript::Cancel) << false;
}

void TestPageFCStatus::horizonCalibration()
{
    QFETCH(int, answer);
    QFETCH(bool, sent);

    PageFCStatus page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    ModalScript modal({ModalScript::Answer(answer)});
    page.findChild<QPushButton*>("pushButton_HorizonCali")->click();

    QCOMPARE(modal.count(), 1);
    QCOMPARE(modal.classes().value(0), QStringLiteral("DialogWarning"));
    QCOMPARE(modal.text(), QStringLiteral("Please level the multicopter, and then click \"OK\""));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(sent ? 1 : 0));
    if (sent) {
        QCOMPARE(tasks[0]->type, int(FCProtocol::HORIZON_CALI));
        QCOMPARE(tasks[0]->urgent, true);
        QCOMPARE(tasks[0]->txData, QByteArray::fromHex("0300ab"));
    }
}

void TestPageFCStatus::motorTestWarningOnce()
{
    PageFCStatus page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    auto* button = page.findChild<QPushButton*>("pushButton_motorTest");
    for (int i = 0; i < 2; ++i) {
        ModalScript modal({ModalScript::Cancel});
        button->click();
        QVERIFY2(modal.count() == 1, "the warning stays pending after Cancel");
        QCOMPARE(spy.count(), 0);
    }
    {
        ModalScript modal({ModalScript::Ok});
        button->click();
        QCOMPARE(modal.count(), 1);
        QCOMPARE(modal.text(), QString::fromLatin1(kMotorWarning));
    }
    {
        ModalScript modal({ModalScript::Cancel});
        button->click(); // no dialog any more: the test starts at once
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

void TestPageFCStatus::motorTestWarningIsPerPage()
{
    PageFCStatus first;
    PageFCStatus second;
    QSignalSpy firstTasks(&first, &PageFC::AddTask);
    {
        ModalScript modal({ModalScript::Ok});
        first.findChild<QPushButton*>("pushButton_motorTest")->click();
        QCOMPARE(modal.count(), 1);
    }
    QCOMPARE(takeTasks(firstTasks).size(), size_t(1));
    QSignalSpy spy(&second, &PageFC::AddTask);
    ModalScript modal({ModalScript::Ok});
    second.findChild<QPushButton*>("pushButton_motorTest")->click();
    QVERIFY2(modal.count() == 1, "another page's confirmation does not count");
    QCOMPARE(takeTasks(spy).size(), size_t(1));
}

// The real transport against the virtual controller: the attitude set on the board reaches
// the labels, and the motor test reaches the board as the exact frame.
void TestPageFCStatus::endToEnd()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::Attitude attitude;
    attitude.pitch = float(-15.5 / kDeg);
    attitude.roll = float(42.0 / kDeg);
    attitude.yaw = 1.0f;
    attitude.flightMode = 4;
    attitude.lockState = 2;
    VirtualFC::setAttitude(attitude);

    PageRig<PageFCStatus> rig;
    TRController& controller = rig.controller;
    PageFCStatus& page = rig.page;
    page.mainLoop();

    QTRY_COMPARE_WITH_TIMEOUT(page.findChild<QLabel*>("label_lock")->text(), QStringLiteral("RUN"), 3000);
    QCOMPARE(page.findChild<QLabel*>("label_pitch")->text(), QStringLiteral("-15.5"));
    QCOMPARE(page.findChild<QLabel*>("label_roll")->text(), QStringLiteral("42.0"));
    QCOMPARE(page.findChild<QLabel*>("label_flymode")->text(), QStringLiteral("3D-RATTI"));
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD), 1);

    VirtualFC::clearRecords();
    {
        ModalScript modal({ModalScript::Ok});
        page.findChild<QPushButton*>("pushButton_motorTest")->click();
        QCOMPARE(modal.count(), 1);
    }
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::MOTOR_TEST), 1, 3000);
    const QList<QByteArray> requests = VirtualFC::requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].size(), 64);
    QCOMPARE(requests[0].left(62), QByteArray::fromHex("0302ab") + QByteArray(59, '\0'));
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::motorTestRunning(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 3000);
}

QTEST_MAIN(TestPageFCStatus)
#include "tst_pagefcstatus.moc"
