// The parameter page: its spin boxes, the PARA_WR that every edit and button sends (exact
// bytes), gentle and forced refreshes, the dead band, the gain frames, the link boxes and the
// OneShot125 switch, and one edit through the real transport against the virtual controller.
#include "finishedtask.h"
#include "pages/pagefcpara.h"
#include "protocol/crc16.h"
#include "protocol/dspara.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "virtualfc.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include "pagerig.h"

#include <cstring>
#include <memory>

using FCProtocol::DS_PARA;
using FCProtocol::Task;

namespace {

// Every field distinct, every gain exact in three decimals; written out by hand below.
const QByteArray kSampleBytes = QByteArray::fromHex(
    "2c012d00b4001a04be05fa059e0701016e00780082008c0096000000003f0000803e0000003e0000803f"
    "00000040000080400000c03f0000403f0000c03e00004040000020400000a03f0000203f0000a0400000c040"
    "5a0001");

DS_PARA record(const QByteArray& bytes)
{
    DS_PARA r;
    if (!DS_PARA::decode(bytes, &r))
        qFatal("bad test record");
    return r;
}

// A finished PARA_RD / PARA_WR carrying the record.
std::unique_ptr<Task> reply(const DS_PARA& r, int type = FCProtocol::PARA_RD, int status = Task::Success)
{
    return finishedTask(type, r.encode(), status);
}

// The record a PARA_WR request carries.
DS_PARA sent(const Task& task)
{
    DS_PARA r;
    if (task.txData.size() != 2 + DS_PARA::kSize || !DS_PARA::decode(task.txData.mid(2), &r))
        qFatal("not a PARA_WR request");
    return r;
}

template <typename T>
T* child(QWidget& page, const QString& name)
{
    T* found = page.findChild<T*>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

QDoubleSpinBox* box(QWidget& page, const QString& name)
{
    return child<QDoubleSpinBox>(page, QStringLiteral("doubleSpinBox_") + name);
}

void userClick(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

// Types a new number into a box and presses Enter, as a pilot finishes an edit.
void typeInto(QDoubleSpinBox* spin, const QString& text)
{
    spin->setFocus();
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
}

// Shows the page on an active window, so that setFocus() gives a box keyboard focus.
void showActive(QWidget& page)
{
    page.show();
    QApplication::setActiveWindow(&page);
    if (!QTest::qWaitForWindowActive(&page))
        qWarning("page not active");
    // Activation focuses the first box; the tests give focus where they mean to.
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
}

} // namespace

class TestPageFCPara : public QObject
{
    Q_OBJECT

private slots:
    void spinBoxes_data();
    void spinBoxes();
    void pollsOnlyWhileVisible();

    void editSendsWholeRecordOnTheWire();
    void editKeepsSwitchesAsRead();
    void nothingWrittenBeforeFirstRead();
    void focusChangeWithoutEditWritesNothing();
    void buttonWrites_data();
    void buttonWrites();

    void focusedBoxAndRefresh_data();
    void focusedBoxAndRefresh();
    void deadBand();
    void firstReplyAppliesGainFrames();
    void linkBoxesInExpertMode();
    void oneshotRefreshWritesOnce();
    void threeDecimals();
    void outOfRangeIsClamped();
    void ignoredReplies_data();
    void ignoredReplies();
    void typesWithoutButton();
};

void TestPageFCPara::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("value");

    for (const char* n : {"escMin", "escMax", "escDeadMin", "escDeadMax"}) {
        const double initial = QByteArray(n) == "escMin" ? 1100 : QByteArray(n) == "escMax" ? 1900
            : QByteArray(n) == "escDeadMin" ? 1480 : 1520;
        QTest::newRow(n) << n << "frame_spinBox_esc" << 500.0 << 2100.0 << 0 << 1.0 << initial;
    }
    QTest::newRow("avxy_max") << "avxy_max" << "frame_spinBox_para" << 50.0 << 1200.0 << 0 << 1.0 << 250.0;
    QTest::newRow("avz_max") << "avz_max" << "frame_spinBox_para" << 0.0 << 600.0 << 0 << 1.0 << 200.0;
    QTest::newRow("axy_max") << "axy_max" << "frame_spinBox_para" << 0.0 << 60.0 << 0 << 1.0 << 40.0;
    for (const char* axis : {"avx", "avy", "ax", "ay", "avz"}) {
        const QString simple = QStringLiteral("simple_%1").arg(QLatin1String(axis));
        QTest::addRow("%s", qPrintable(simple)) << simple << "frame_spinBox_simple_gain" << 50.0 << 200.0 << 0
                                                << 1.0 << 100.0;
        for (const char* term : {"p", "i", "d"}) {
            const QString expert = QStringLiteral("expert_%1_%2").arg(QLatin1String(axis), QLatin1String(term));
            const bool fine = expert == QLatin1String("expert_avx_d") || expert == QLatin1String("expert_avy_d");
            QTest::addRow("%s", qPrintable(expert)) << expert << "frame_spinBox_expert_gain" << 0.0 << 10.0
                                                    << (fine ? 4 : 3) << 0.01 << 0.0;
        }
    }
}

void TestPageFCPara::spinBoxes()
{
    QFETCH(QString, name);
    QFETCH(QString, frame);
    PageFCPara page;
    QDoubleSpinBox* spin = box(page, name);
    QCOMPARE(spin->parentWidget()->objectName(), frame);
    QTEST(spin->minimum(), "minimum");
    QTEST(spin->maximum(), "maximum");
    QTEST(spin->decimals(), "decimals");
    QTEST(spin->singleStep(), "step");
    QTEST(spin->value(), "value");
    QCOMPARE(spin->buttonSymbols(), QAbstractSpinBox::NoButtons);
    QCOMPARE(spin->alignment(), Qt::AlignCenter);
    QVERIFY(spin->isAccelerated());
    QVERIFY(!spin->wrapping());
    QVERIFY(!spin->isGroupSeparatorShown());
    // All 27 are found under frame_background, which is how the page connects them.
    QCOMPARE(child<QFrame>(page, "frame_background")->findChildren<QDoubleSpinBox*>().size(), 27);
}

void TestPageFCPara::pollsOnlyWhileVisible()
{
    PageFCPara page;
    QSignalSpy spy(&page, &PageFC::AddTask);
    page.mainLoop();
    QCOMPARE(spy.count(), 0);
    page.show();
    page.mainLoop();
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->type, int(FCProtocol::PARA_RD));
    QCOMPARE(tasks[0]->urgent, false);
    QCOMPARE(tasks[0]->txData, QByteArray::fromHex("0100"));
    // Initial state of the page before any reply.
    QCOMPARE(child<QStackedWidget>(page, "stackedWidget")->currentWidget()->objectName(), QStringLiteral("page_esc"));
    QVERIFY(child<QRadioButton>(page, "radioButton_page_esc")->isChecked());
    QVERIFY(child<QRadioButton>(page, "radioButton_gain_simple")->isChecked());
    QVERIFY(child<QRadioButton>(page, "radioButton_esc_2D")->isChecked());
}

// Through the real transport: the controller's record is shown, one box is edited, and the
// controller receives exactly one 128-byte PARA_WR carrying everything else as it was read.
void TestPageFCPara::editSendsWholeRecordOnTheWire()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setPara(kSampleBytes);
    PageRig<PageFCPara> rig;
    showActive(rig.page);
    QVERIFY(rig.poll());
    QCOMPARE(box(rig.page, "escMax")->value(), 1950.0);

    VirtualFC::clearRecords();
    child<QStackedWidget>(rig.page, "stackedWidget")->setCurrentIndex(0);
    QTest::ignoreMessage(QtDebugMsg, "doubleSpinBox_escMax  spinBoxesEditingFinished!");
    typeInto(box(rig.page, "escMax"), QStringLiteral("2000"));
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::PARA_WR), 1, 3000);

    QByteArray expected = QByteArray::fromHex("0101")
        + QByteArray::fromHex(
              "2c012d00b4001a04be05fa05d00701016e00780082008c0096000000003f0000803e0000003e0000803f"
              "00000040000080400000c03f0000403f0000c03e00004040000020400000a03f0000203f0000a0400000c040"
              "5a0001")
        + QByteArray(35, '\0');
    const quint16 crc = FCProtocol::crc16(expected.constData(), 0, expected.size());
    expected.append(char(crc & 0xFF)).append(char(crc >> 8));
    const QList<QByteArray> requests = VirtualFC::requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].size(), 128);
    QCOMPARE(requests[0].toHex(), expected.toHex());
    // The reply (the controller's echo) is forced into every box.
    QTRY_VERIFY_WITH_TIMEOUT(!rig.controller.isBusy() && rig.controller.waitingCount() == 0, 3000);
    QCOMPARE(VirtualFC::para().mid(12, 2), QByteArray::fromHex("d007"));
    QCOMPARE(box(rig.page, "escMax")->value(), 2000.0);
}

// The switches of an edit are the controller's as last read, not what the buttons show.
void TestPageFCPara::editKeepsSwitchesAsRead()
{
    PageFCPara page;
    showActive(page);
    DS_PARA r = record(kSampleBytes);
    auto first = reply(r);
    page.TaskDone(first.get());
    // A click changes the edit copy; its write reply never comes.
    QSignalSpy spy(&page, &PageFC::AddTask);
    userClick(child<QRadioButton>(page, "radioButton_esc_2D"));
    auto clicked = takeTasks(spy);
    QCOMPARE(clicked.size(), size_t(1));
    QCOMPARE(sent(*clicked[0]).escType, qint8(0));

    typeInto(box(page, "escMin"), QStringLiteral("1200"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    DS_PARA want = r;
    want.escMin = 1200;
    QCOMPARE(sent(*tasks[0]).encode().toHex(), want.encode().toHex());
    QCOMPARE(tasks[0]->urgent, true);
}

// Until the controller's record is known, an edit or a click would write construction
// defaults over the controller's tuning.
void TestPageFCPara::nothingWrittenBeforeFirstRead()
{
    PageFCPara page;
    showActive(page);
    QSignalSpy spy(&page, &PageFC::AddTask);
    typeInto(box(page, "escMin"), QStringLiteral("1200"));
    userClick(child<QRadioButton>(page, "radioButton_esc_3D"));
    QCOMPARE(spy.count(), 0);

    auto first = reply(record(kSampleBytes));
    page.TaskDone(first.get());
    typeInto(box(page, "escMin"), QStringLiteral("1200"));
    QCOMPARE(takeTasks(spy).size(), size_t(1));
}

// Focus leaving a box (a dialog opening, a click elsewhere) finishes its editing too; a
// record equal to the controller's is not written.
void TestPageFCPara::focusChangeWithoutEditWritesNothing()
{
    PageFCPara page;
    showActive(page);
    auto first = reply(record(kSampleBytes));
    page.TaskDone(first.get());
    QSignalSpy spy(&page, &PageFC::AddTask);
    box(page, "escMin")->setFocus();
    box(page, "escMax")->setFocus();
    QTest::keyClick(box(page, "escMax"), Qt::Key_Return);
    box(page, "escMax")->clearFocus();
    QCOMPARE(spy.count(), 0);
}

void TestPageFCPara::buttonWrites_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");

    QTest::newRow("expert gains") << "radioButton_gain_expert" << 14 << 1;
    QTest::newRow("link box 1 in simple mode") << "checkBox_linkXY_1" << 15 << 1;
    QTest::newRow("3D") << "radioButton_esc_3D" << 88 << 1;
    QTest::newRow("OneShot125 on") << "checkBox_oneshot125" << 87 << 1;
}

void TestPageFCPara::buttonWrites()
{
    QFETCH(QString, button);
    QFETCH(int, offset);
    QFETCH(int, value);

    PageFCPara page;
    showActive(page);
    DS_PARA r = record(kSampleBytes);
    r.paraType = 0;
    r.linkXY = 0;
    r.escType = 0;
    auto first = reply(r);
    page.TaskDone(first.get());
    QSignalSpy spy(&page, &PageFC::AddTask);

    auto* target = child<QAbstractButton>(page, button);
    const int sub = button.contains(QLatin1String("esc_")) || button.contains(QLatin1String("oneshot")) ? 0 : 2;
    child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(sub);
    QVERIFY(target->isEnabled());
    userClick(target);

    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->type, int(FCProtocol::PARA_WR));
    QCOMPARE(tasks[0]->urgent, true);
    QByteArray want = r.encode();
    want[offset] = char(value);
    QCOMPARE(tasks[0]->txData.toHex(), (QByteArray::fromHex("0101") + want).toHex());
}

void TestPageFCPara::focusedBoxAndRefresh_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("shown");
    QTest::newRow("poll keeps what the pilot types") << int(FCProtocol::PARA_RD) << 1234.0;
    QTest::newRow("write reply sets it") << int(FCProtocol::PARA_WR) << 1050.0;
}

void TestPageFCPara::focusedBoxAndRefresh()
{
    QFETCH(int, type);
    PageFCPara page;
    showActive(page);
    QDoubleSpinBox* focused = box(page, "escMin");
    focused->setFocus();
    QVERIFY(focused->hasFocus());
    focused->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(focused, QStringLiteral("1234"));

    auto r = reply(record(kSampleBytes), type);
    page.TaskDone(r.get());
    QTEST(focused->value(), "shown");
    // Boxes without focus always follow the controller.
    QCOMPARE(box(page, "escMax")->value(), 1950.0);
    QCOMPARE(box(page, "expert_ay_d")->value(), 1.25);
    QCOMPARE(box(page, "simple_avz")->value(), 150.0);
}

void TestPageFCPara::deadBand()
{
    PageFCPara page;
    page.show();
    DS_PARA r = record(kSampleBytes);
    r.escType = 0;
    auto twoD = reply(r);
    page.TaskDone(twoD.get());
    // Disabled on their light fields, the number greyed but legible: no fill of their own.
    for (const char* n : {"escDeadMin", "escDeadMax"}) {
        QVERIFY(!box(page, n)->isEnabled());
        QCOMPARE(box(page, n)->styleSheet(), QString());
        QCOMPARE(box(page, n)->text(), QString::number(n == QByteArray("escDeadMin") ? r.escDeadMin : r.escDeadMax));
    }
    QVERIFY(box(page, "escMin")->isEnabled());

    // 3D is clicked: nothing changes until the controller's write reply.
    QSignalSpy spy(&page, &PageFC::AddTask);
    userClick(child<QRadioButton>(page, "radioButton_esc_3D"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QVERIFY(!box(page, "escDeadMin")->isEnabled());
    auto echo = reply(sent(*tasks[0]), FCProtocol::PARA_WR);
    page.TaskDone(echo.get());
    for (const char* n : {"escDeadMin", "escDeadMax"}) {
        QVERIFY(box(page, n)->isEnabled());
        QCOMPARE(box(page, n)->styleSheet(), QString());
    }
    QVERIFY(child<QRadioButton>(page, "radioButton_esc_3D")->isChecked());
}

void TestPageFCPara::firstReplyAppliesGainFrames()
{
    PageFCPara page;
    page.show();
    auto* simple = child<QFrame>(page, "frame_spinBox_simple_gain");
    auto* expert = child<QFrame>(page, "frame_spinBox_expert_gain");
    // The form leaves both editable; the first reply decides, even for paraType 0.
    QVERIFY(simple->isEnabled() && expert->isEnabled());
    DS_PARA r = record(kSampleBytes);
    r.paraType = 0;
    auto first = reply(r);
    page.TaskDone(first.get());
    QVERIFY(simple->isEnabled());
    QVERIFY(!expert->isEnabled());
    QVERIFY(!box(page, "expert_avx_p")->isEnabled());
    QVERIFY(child<QRadioButton>(page, "radioButton_gain_simple")->isChecked());

    r.paraType = 1;
    auto second = reply(r);
    page.TaskDone(second.get());
    QVERIFY(!simple->isEnabled());
    QVERIFY(expert->isEnabled());
    QVERIFY(child<QRadioButton>(page, "radioButton_gain_expert")->isChecked());
}

void TestPageFCPara::linkBoxesInExpertMode()
{
    PageFCPara page;
    showActive(page);
    child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(2);
    DS_PARA r = record(kSampleBytes);
    r.paraType = 1;
    r.linkXY = 0;
    auto first = reply(r);
    page.TaskDone(first.get());

    QSignalSpy spy(&page, &PageFC::AddTask);
    // The simple frame's link boxes are disabled and take no click.
    userClick(child<QCheckBox>(page, "checkBox_linkXY_1"));
    userClick(child<QCheckBox>(page, "checkBox_linkXY_2"));
    QCOMPARE(spy.count(), 0);

    userClick(child<QCheckBox>(page, "checkBox_linkXY_3"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    const DS_PARA written = sent(*tasks[0]);
    QCOMPARE(written.linkXY, qint8(1));
    DS_PARA want = r;
    want.linkXY = 1;
    QCOMPARE(written.encode().toHex(), want.encode().toHex());
    // The other boxes follow only the controller's answer.
    QVERIFY(!child<QCheckBox>(page, "checkBox_linkXY_4")->isChecked());
    auto echo = reply(written, FCProtocol::PARA_WR);
    page.TaskDone(echo.get());
    for (int i = 1; i <= 4; ++i)
        QVERIFY(child<QCheckBox>(page, QStringLiteral("checkBox_linkXY_%1").arg(i))->isChecked());
    QCOMPARE(spy.count(), 0);
}

void TestPageFCPara::oneshotRefreshWritesOnce()
{
    PageFCPara page;
    page.show();
    QSignalSpy spy(&page, &PageFC::AddTask);
    DS_PARA r = record(kSampleBytes);
    r.oneshot125 = 1;
    auto first = reply(r);
    page.TaskDone(first.get());
    QVERIFY(child<QCheckBox>(page, "checkBox_oneshot125")->isChecked());
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    QCOMPARE(tasks[0]->type, int(FCProtocol::PARA_WR));
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), r.encode().toHex());

    // The same record again changes no state and sends nothing.
    auto again = reply(r);
    page.TaskDone(again.get());
    QCOMPARE(spy.count(), 0);
}

void TestPageFCPara::threeDecimals()
{
    PageFCPara page;
    showActive(page);
    DS_PARA r = record(kSampleBytes);
    r.expert_ax_p = 0.1234f;
    r.expert_avx_d = 0.0025f;
    auto first = reply(r);
    page.TaskDone(first.get());
    QCOMPARE(box(page, "expert_ax_p")->text(), QStringLiteral("0.123"));
    QCOMPARE(box(page, "expert_avx_d")->text(), QStringLiteral("0.0025"));

    QSignalSpy spy(&page, &PageFC::AddTask);
    child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(0);
    typeInto(box(page, "escMin"), QStringLiteral("1060"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    const DS_PARA written = sent(*tasks[0]);
    QCOMPARE(written.expert_ax_p, 0.123f);
    QCOMPARE(written.expert_avx_d, 0.0025f);
}

void TestPageFCPara::outOfRangeIsClamped()
{
    PageFCPara page;
    showActive(page);
    DS_PARA r = record(kSampleBytes);
    r.escMin = 3000;
    r.avz_max = -1;         // 65535 shown unsigned, then clamped
    r.simple_avx = 20;
    r.expert_avz_p = 12.5f;
    auto first = reply(r);
    page.TaskDone(first.get());
    QCOMPARE(box(page, "escMin")->value(), 2100.0);
    QCOMPARE(box(page, "avz_max")->value(), 600.0);
    QCOMPARE(box(page, "simple_avx")->value(), 50.0);
    QCOMPARE(box(page, "expert_avz_p")->value(), 10.0);

    QSignalSpy spy(&page, &PageFC::AddTask);
    typeInto(box(page, "escMax"), QStringLiteral("1900"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    const DS_PARA written = sent(*tasks[0]);
    QCOMPARE(written.escMin, qint16(2100));
    QCOMPARE(written.avz_max, qint16(600));
    QCOMPARE(written.simple_avx, qint16(50));
    QCOMPARE(written.expert_avz_p, 10.0f);
}

void TestPageFCPara::ignoredReplies_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("truncateTo");

    QTest::newRow("no reply") << int(Task::NoReply) << int(FCProtocol::PARA_RD) << -1;
    QTest::newRow("wrong CRC") << int(Task::WrongCrc) << int(FCProtocol::PARA_WR) << -1;
    QTest::newRow("telemetry read") << int(Task::Success) << int(FCProtocol::INFO_RD) << -1;
    QTest::newRow("radio read") << int(Task::Success) << int(FCProtocol::RC_RD) << -1;
    QTest::newRow("PARA_RD of one report") << int(Task::Success) << int(FCProtocol::PARA_RD) << 64;
    QTest::newRow("PARA_WR 88 payload bytes") << int(Task::Success) << int(FCProtocol::PARA_WR) << 90;
}

void TestPageFCPara::ignoredReplies()
{
    QFETCH(int, status);
    QFETCH(int, type);
    QFETCH(int, truncateTo);

    PageFCPara page;
    showActive(page);
    auto good = reply(record(kSampleBytes));
    page.TaskDone(good.get());

    DS_PARA other;
    other.escMin = 1300;
    other.oneshot125 = 1;
    other.escType = 0;
    auto bad = reply(other, type, status);
    if (truncateTo >= 0)
        bad->rxData.truncate(truncateTo);
    QSignalSpy spy(&page, &PageFC::AddTask);
    page.TaskDone(bad.get());
    QCOMPARE(spy.count(), 0);
    QCOMPARE(box(page, "escMin")->value(), 1050.0);
    QVERIFY(!child<QCheckBox>(page, "checkBox_oneshot125")->isChecked());
    QVERIFY(box(page, "escDeadMin")->isEnabled());

    // The device copy is unchanged too: an edit carries the old switches and reserved byte.
    typeInto(box(page, "escMax"), QStringLiteral("1960"));
    auto tasks = takeTasks(spy);
    QCOMPARE(tasks.size(), size_t(1));
    DS_PARA want = record(kSampleBytes);
    want.escMax = 1960;
    QCOMPARE(tasks[0]->txData.mid(2).toHex(), want.encode().toHex());
}

void TestPageFCPara::typesWithoutButton()
{
    PageFCPara page;
    page.show();
    DS_PARA r = record(kSampleBytes);
    r.paraType = 0;
    r.escType = 1;
    auto first = reply(r);
    page.TaskDone(first.get());

    r.paraType = 2;
    r.escType = -3;
    QSignalSpy spy(&page, &PageFC::AddTask);
    auto odd = reply(r);
    page.TaskDone(odd.get());
    QCOMPARE(spy.count(), 0);
    QVERIFY(child<QRadioButton>(page, "radioButton_gain_simple")->isChecked());
    QVERIFY(child<QRadioButton>(page, "radioButton_esc_3D")->isChecked());
    // Any non-zero value counts as expert gains and as 3D.
    QVERIFY(child<QFrame>(page, "frame_spinBox_expert_gain")->isEnabled());
    QVERIFY(box(page, "escDeadMin")->isEnabled());
}

QTEST_MAIN(TestPageFCPara)

#include "tst_pagefcpara.moc"
