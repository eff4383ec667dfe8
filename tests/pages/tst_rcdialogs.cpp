// The radio page's helpers: the channel-row manager and the two choice popups.

#include "pages/dialogrcfunclinear.h"
#include "pages/dialogrcfuncsw.h"
#include "pages/fcrcuimanager.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "modalscript.h"

#include <functional>

namespace {

} // namespace

class TestRcDialogs : public QObject
{
    Q_OBJECT

private slots:
    void managerKeepsRowsInOrder();
    void managerSignalsEveryUserClick_data();
    void managerSignalsEveryUserClick();
    void managerSilentWhenBoxesSetByProgram();

    void switchPopupFlagsAndForm();
    void switchPopupBackgroundPerPosition_data();
    void switchPopupBackgroundPerPosition();
    void switchPopupDrawsItsBubble_data();
    void switchPopupDrawsItsBubble();
    void switchPopupOptions_data();
    void switchPopupOptions();
    void switchPopupOneClickAccepts_data();
    void switchPopupOneClickAccepts();
    void switchPopupDisabledOptionCannotBeChosen();
    void switchPopupEscapeRejects();
    void switchPopupClickOutsideRejects();

    void linearPopupFormAndChoice_data();
    void linearPopupFormAndChoice();
};

void TestRcDialogs::managerKeepsRowsInOrder()
{
    QWidget page;
    FCRcUIManager manager(&page);
    QCOMPARE(manager.count(), 0);
    QVector<QCheckBox*> boxes;
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(&page);
        boxes.append(box);
        manager.addRow(new QLabel(&page), new QProgressBar(&page), new QLabel(&page), box);
    }
    QCOMPARE(manager.count(), 6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(manager.row(i).reverseBox, boxes[i]);
    QVERIFY(manager.row(2).minLabel != manager.row(2).maxLabel);
    QCOMPARE(manager.row(5).bar->parent(), &page);
    // Its only meta-object method of its own is the signal.
    QCOMPARE(manager.metaObject()->methodCount() - manager.metaObject()->methodOffset(), 1);
    QCOMPARE(manager.metaObject()->method(manager.metaObject()->methodOffset()).methodSignature(),
             QByteArray("checkBoxStateChanged()"));
}

void TestRcDialogs::managerSignalsEveryUserClick_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < 6; ++i)
        QTest::addRow("row %d", i) << i;
}

void TestRcDialogs::managerSignalsEveryUserClick()
{
    QFETCH(int, row);
    QWidget page;
    FCRcUIManager manager(&page);
    for (int i = 0; i < 6; ++i)
        manager.addRow(new QLabel(&page), new QProgressBar(&page), new QLabel(&page),
                       new QCheckBox(&page));
    page.show();
    QSignalSpy spy(&manager, &FCRcUIManager::checkBoxStateChanged);
    QCheckBox* box = manager.row(row).reverseBox;
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QCOMPARE(spy.count(), 1);
    QVERIFY(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QCOMPARE(spy.count(), 2);
    QVERIFY(!box->isChecked());
}

void TestRcDialogs::managerSilentWhenBoxesSetByProgram()
{
    QWidget page;
    FCRcUIManager manager(&page);
    auto* box = new QCheckBox(&page);
    manager.addRow(new QLabel(&page), new QProgressBar(&page), new QLabel(&page), box);
    QSignalSpy spy(&manager, &FCRcUIManager::checkBoxStateChanged);
    box->setChecked(true);
    box->setChecked(false);
    QCOMPARE(spy.count(), 0);
}

void TestRcDialogs::switchPopupFlagsAndForm()
{
    DialogRCFuncSw dialog(0);
    QCOMPARE(dialog.windowFlags() & (Qt::Popup | Qt::FramelessWindowHint),
             Qt::Popup | Qt::FramelessWindowHint);
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(dialog.size(), QSize(210, 64));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose"));
    QCOMPARE(dialog.chosenOption(), -1);
    QCOMPARE(dialog.buttonGroup()->buttons().size(), 6);
    const QMetaObject* mo = dialog.metaObject();
    QCOMPARE(mo->methodCount() - mo->methodOffset(), 1);
    QCOMPARE(mo->method(mo->methodOffset()).methodSignature(), QByteArray("buttonClicked(int)"));
}

void TestRcDialogs::switchPopupBackgroundPerPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("styleSheet");
    QTest::newRow("position 1") << 0 << "background-image: url(:/GUI/page3-rcfunc-dialog-1.png)";
    QTest::newRow("position 2") << 1 << "background-image: url(:/GUI/page3-rcfunc-dialog-2.png)";
    QTest::newRow("position 3") << 2 << "background-image: url(:/GUI/page3-rcfunc-dialog-3.png)";
    // Any other position keeps the form's own style.
    QTest::newRow("outside") << 7 << "background-image: url(:/GUI/page3-rcfunc-dialog-1.png)";
}

void TestRcDialogs::switchPopupBackgroundPerPosition()
{
    QFETCH(int, position);
    QFETCH(QString, styleSheet);
    DialogRCFuncSw dialog(position);
    QCOMPARE(dialog.styleSheet(), styleSheet);
}

void TestRcDialogs::switchPopupDrawsItsBubble_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("position 1") << 0;
    QTest::newRow("position 2") << 1;
    QTest::newRow("position 3") << 2;
}

// The background (a bubble whose tip points at the switch position) shows in the 13 px
// strip above the buttons; a transparent strip means the dialog's image is not drawn.
void TestRcDialogs::switchPopupDrawsItsBubble()
{
    QFETCH(int, position);
    if (QImage(QStringLiteral(":/GUI/page3-rcfunc-dialog-1.png")).isNull())
        QSKIP("the popup images are not in the resources yet");
    DialogRCFuncSw dialog(position);
    const QImage shot = dialog.grab().toImage();
    int painted = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < shot.width(); ++x)
            painted += qAlpha(shot.pixel(x, y)) > 0;
    QVERIFY2(painted > 20, qPrintable(QString::number(painted)));
}

void TestRcDialogs::switchPopupOptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("1") << "pushButton_1" << 0 << "2D-RATE" << "2D Rate Mode" << 0 << 0;
    QTest::newRow("2") << "pushButton_2" << 1 << "2D-RATTI" << "2D Rattitude Mode" << 0 << 1;
    QTest::newRow("3") << "pushButton_3" << 2 << "2D-ATTI" << "2D Attitude Mode" << 0 << 2;
    QTest::newRow("4") << "pushButton_4" << 3 << "3D-RATE" << "3D Rate Mode" << 1 << 0;
    QTest::newRow("5") << "pushButton_5" << 4 << "3D-RATTI" << "3D Rattitude Mode" << 1 << 1;
    QTest::newRow("6") << "pushButton_6" << 5 << "2D-HFATTI" << "2D Headfree Attitude Mode" << 1 << 2;
}

void TestRcDialogs::switchPopupOptions()
{
    QFETCH(QString, name);
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    QFETCH(int, row);
    QFETCH(int, column);
    DialogRCFuncSw dialog(1);
    auto* button = dialog.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(dialog.buttonGroup()->id(button), id);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->toolTip(), tip);
    QCOMPARE(button->size(), QSize(68, 24));
    auto* grid = dialog.findChild<QGridLayout*>(QStringLiteral("gridLayout"));
    QVERIFY(grid);
    const int index = grid->indexOf(button);
    int r = -1, c = -1, rs = 0, cs = 0;
    grid->getItemPosition(index, &r, &c, &rs, &cs);
    QCOMPARE(r, row);
    QCOMPARE(c, column);
    // Laid out from the left and top margins of the grid: 2 px, then 68 + 1 per column.
    dialog.show();
    QCOMPARE(button->mapTo(&dialog, QPoint(0, 0)), QPoint(2 + 69 * column, 13 + 25 * row));
}

void TestRcDialogs::switchPopupOneClickAccepts_data()
{
    QTest::addColumn<int>("option");
    for (int i = 0; i < 6; ++i)
        QTest::addRow("option %d", i) << i;
}

void TestRcDialogs::switchPopupOneClickAccepts()
{
    QFETCH(int, option);
    DialogRCFuncSw dialog(2);
    ModalScript click;
    click.on<DialogRCFuncSw>([option](DialogRCFuncSw* d) {
        QAbstractButton* b = d->buttonGroup()->button(option);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(click.count(), 1);
    QCOMPARE(dialog.chosenOption(), option);
}

void TestRcDialogs::switchPopupDisabledOptionCannotBeChosen()
{
    DialogRCFuncSw dialog(0);
    dialog.buttonGroup()->button(5)->setEnabled(false);
    bool stillOpen = false;
    ModalScript act;
    act.on<DialogRCFuncSw>([&stillOpen](DialogRCFuncSw* d) {
        QAbstractButton* b = d->buttonGroup()->button(5);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
        stillOpen = d->isVisible();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(stillOpen);
    QCOMPARE(dialog.chosenOption(), -1);
}

void TestRcDialogs::switchPopupEscapeRejects()
{
    DialogRCFuncSw dialog(1);
    ModalScript act;
    act.on<DialogRCFuncSw>([](DialogRCFuncSw* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(act.count(), 1);
    QCOMPARE(dialog.chosenOption(), -1);
}

void TestRcDialogs::switchPopupClickOutsideRejects()
{
    QWidget behind;
    behind.setGeometry(0, 0, 600, 400);
    behind.show();
    QVERIFY(QTest::qWaitForWindowExposed(&behind));
    DialogRCFuncSw dialog(1, &behind);
    dialog.move(behind.mapToGlobal(QPoint(10, 10)));
    ModalScript act;
    act.on<DialogRCFuncSw>([&behind](DialogRCFuncSw*) {
        QTest::mouseClick(behind.windowHandle(), Qt::LeftButton, {}, QPoint(500, 300));
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(act.count(), 1);
    QCOMPARE(dialog.chosenOption(), -1);
}

void TestRcDialogs::linearPopupFormAndChoice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("off") << "pushButton_1" << 0 << "BasicResponseTune(OFF)";
    QTest::newRow("on") << "pushButton_2" << 1 << "BasicResponseTune(ON)";
}

void TestRcDialogs::linearPopupFormAndChoice()
{
    QFETCH(QString, name);
    QFETCH(int, id);
    QFETCH(QString, text);
    DialogRCFuncLinear dialog;
    QCOMPARE(dialog.windowFlags() & (Qt::Dialog | Qt::FramelessWindowHint | Qt::Popup),
             Qt::Dialog | Qt::FramelessWindowHint);
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(dialog.styleSheet(),
             QStringLiteral("background-image: url(:/GUI/page3-rcfunc-dialog-2.png)"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose"));
    QVERIFY(dialog.findChild<QGridLayout*>(QStringLiteral("gridLayout_2")));
    auto* button = dialog.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(dialog.buttonGroup()->id(button), id);
    QCOMPARE(button->size(), QSize(206, 24));

    ModalScript click;
    click.on<DialogRCFuncLinear>([&name](DialogRCFuncLinear* d) {
        auto* b = d->findChild<QPushButton*>(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenOption(), id);
}

QTEST_MAIN(TestRcDialogs)
#include "tst_rcdialogs.moc"
