// The main window's hub and window behaviour, driven through its slots with hand-built tasks:
// what it shows of the link supervisor's decisions (tests/engine/tst_linksupervisor.cpp),
// routing, navigation, bootloader lock, window handling.
#include "finishedtask.h"
#include "mainwindowup.h"
#include "modalscript.h"

#include "app/versioninfo.h"
#include "pages/pagefc.h"
#include "pages/pagefcscope.h"
#include "widgets/dialogsetupdiff.h"
#include "widgets/dialogwarning.h"
#include "widgets/focusring.h"

#include <QAccessible>
#include <QScreen>
#include <QTranslator>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTimer>
#include <QtTest>

namespace {

const QString kGreen = QStringLiteral("QLabel { color: rgb(0, 150, 0); }");
const QString kRed = QStringLiteral("QLabel { color: rgb(150, 0, 0); }");
const QString kGrey = QStringLiteral("QLabel { color: rgb(80, 80, 80); }");

// A telemetry reply as the transport leaves it.
FCProtocol::Task* infoTask(int mode, int errorCode, qint32 boardWord, int status = 0)
{
    return finishedTask(FCProtocol::INFO_RD,
                        littleEndian(qint8(mode), quint8(errorCode), boardWord, qint32(1), qint32(2), qint32(3)), status)
        .release();
}

FCProtocol::Task* otherTask(int type, int status = 0)
{
    return finishedTask(type, QByteArray(), status).release();
}

qint32 board(int id)
{
    return qint32(0xF0000000u | (quint32(id) << 16) | 0x0105u);
}

} // namespace

// Records which page each finished task reaches.
class RecordingFCApp : public FCApp
{
public:
    QStringList delivered;

protected:
    void deliverTask(PageFC* page, FCProtocol::Task* task) override
    {
        delivered << page->objectName();
        FCApp::deliverTask(page, task);
    }
};

class TestFCApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void structure();
    void metaObjectOrder();
    void buildStamp_data();
    void buildStamp();

    void statusStrip();
    void failedTelemetry();
    void unsupportedBoard();

    void routing_data();
    void routing();
    void radioOnlyBoardTrims();

    void navigation();
    void bootloaderLock();

    void fixedSize();
    void roundedMask();
    void dragging_data();
    void dragging();
    void versionDialog();
    void dialogOverTheWindow();
    void imageControlsNamed_data();
    void imageControlsNamed();
    void scopeKey();
    void closeClosesBoth();
    void minimiseRestore();
    void languageCombo_data();
    void languageCombo();
    void languageCaptionDoesNothing();
    void windowManagerCloseEndsTheProgram();

private:
    void deliver(FCProtocol::Task* task) { QVERIFY(window->deliver(task)); }
    template <typename T>
    T* child(const char* name)
    {
        return window->child<T>(name);
    }

    std::unique_ptr<MainWindowUp<RecordingFCApp>> window;
    RecordingFCApp* app = nullptr;
};

void TestFCApp::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    QSettings settings;
    // A folder of this program's own: other test programs run side by side.
    const QString own = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    QVERIFY2(own.startsWith(QDir::tempPath()) && settings.fileName().startsWith(own + '/'),
             qPrintable(settings.fileName()));
    settings.clear();
    settings.setValue(QStringLiteral("font/you_family"), QStringLiteral("Noto Sans CJK SC"));
    settings.setValue(QStringLiteral("font/arial_family"), QStringLiteral("DejaVu Sans"));
}

void TestFCApp::init()
{
    // The hub is driven by hand here: no polling of its own, and hidden, so that the firmware
    // page does not read the version by itself.
    window = std::make_unique<MainWindowUp<RecordingFCApp>>(0, false);
    app = window->app.get();
}

void TestFCApp::cleanup()
{
    window.reset();
    app = nullptr;
}

void TestFCApp::structure()
{
    QCOMPARE(app->objectName(), QStringLiteral("FCApp"));
    QCOMPARE(app->windowTitle(), QStringLiteral("ORVANTE_v09"));
    auto* stack = child<QStackedWidget>("stackedWidget");
    const QStringList names{"pageFCStatus", "pageFCFrame", "pageFCRc", "pageFCPara",
                            "pageFCFirmware"};
    const QStringList classes{"PageFCStatus", "PageFCFrame", "PageFCRc", "PageFCPara",
                              "PageFCFirmware"};
    QCOMPARE(stack->count(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(stack->widget(i)->objectName(), names[i]);
        QCOMPARE(QString(stack->widget(i)->metaObject()->className()), classes[i]);
    }
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(child<QRadioButton>("radioButton_page1")->isChecked());
    QVERIFY(app->scopeWindow());
    QVERIFY(app->scopeWindow()->isWindow());
    QVERIFY(!app->scopeWindow()->isVisible());

    for (const char* name : {"widget_background", "frame_title", "frame_pageButtons",
                             "frame_main", "frame_status", "pushButton_appMin",
                             "pushButton_appClose", "radioButton_page3", "radioButton_page4",
                             "radioButton_page5", "pushButton_default", "pushButton_storge"})
        QVERIFY2(app->findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(app->centralWidget()->objectName(), QStringLiteral("widget_background"));

    auto* usb = child<QCheckBox>("checkBox_usb");
    auto* err = child<QCheckBox>("checkBox_err");
    QVERIFY(usb->isTristate() && err->isTristate());
    QVERIFY(!usb->isEnabled() && !err->isEnabled());
    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("DISCONNECTED"));
    QCOMPARE(child<QLabel>("label_err")->text(), QStringLiteral("ERR"));
    QCOMPARE(child<QLabel>("label_usb")->alignment(), Qt::AlignCenter);

    // The shell's timers as left by the constructor (init stopped them afterwards).
    QCOMPARE(app->pageTimer()->interval(), 50);
    QCOMPARE(app->infoTimer()->interval(), 500);
}

void TestFCApp::metaObjectOrder()
{
    const QMetaObject& mo = FCApp::staticMetaObject;
    QStringList methods;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        methods << QString::fromLatin1(mo.method(i).methodSignature());
    const QStringList expected{
        "InfoRDDone(FCProtocol::DS_INFO_RD)", "InfoRDTimerTimeOut()",
        "TaskDone(FCProtocol::Task*)",        "PreAddTask(FCProtocol::Task*)",
        "boot_state_changed(bool)",           "page_button_clicked(int)",
        "on_pushButton_storge_clicked()",     "language_changed(int)",
        "on_pushButton_default_clicked()"};
    QCOMPARE(methods, expected);
    for (int i = mo.methodOffset() + 1; i < mo.methodCount(); ++i)
        QCOMPARE(mo.method(i).access(), QMetaMethod::Private);
}

void TestFCApp::buildStamp_data()
{
    QTest::addColumn<QByteArray>("date");
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("two-digit day") << QByteArray("Jan 11 2017") << QByteArray("19:45:03")
                                   << QStringLiteral("20170111194503");
    QTest::newRow("padded one-digit day") << QByteArray("Feb  1 2024") << QByteArray("00:00:09")
                                          << QStringLiteral("20240201000009");
    QTest::newRow("December") << QByteArray("Dec 31 1999") << QByteArray("23:59:59")
                              << QStringLiteral("19991231235959");
    QTest::newRow("unparsable date") << QByteArray("??? ?? ????") << QByteArray("12:00:00")
                                     << QString();
}

void TestFCApp::buildStamp()
{
    QFETCH(QByteArray, date);
    QFETCH(QByteArray, time);
    QFETCH(QString, stamp);
    // The C locale, whatever the running language.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::AnyCountry));
    QCOMPARE(VersionInfo::buildStamp(date.constData(), time.constData()), stamp);
    QLocale::setDefault(before);
}

// One telemetry reply through the hub: the strip, and the record passed on to the pages.
void TestFCApp::statusStrip()
{
    QSignalSpy infoSpy(app, &FCApp::InfoRDDone);
    QPointer<FCProtocol::Task> task = infoTask(0, 3, board(0x30));
    deliver(task);

    QVERIFY(app->isConnected());
    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("Connected"));
    QCOMPARE(child<QLabel>("label_usb")->styleSheet(), kGreen);
    QCOMPARE(child<QCheckBox>("checkBox_usb")->checkState(), Qt::Checked);
    QCOMPARE(child<QLabel>("label_err")->text(), QStringLiteral("Gyroscope error"));
    QCOMPARE(child<QLabel>("label_err")->styleSheet(), kRed);
    QCOMPARE(child<QCheckBox>("checkBox_err")->checkState(), Qt::PartiallyChecked);

    QCOMPARE(infoSpy.count(), 1);
    const auto record = infoSpy.at(0).at(0).value<FCProtocol::DS_INFO_RD>();
    QCOMPARE(record.errorCode, quint8(3));
    QCOMPARE(record.boardWord, board(0x30));
    QCOMPARE(record.extra3, 3);
    QTRY_VERIFY(task.isNull());
}

void TestFCApp::failedTelemetry()
{
    deliver(infoTask(0, 3, board(0x30)));
    QSignalSpy infoSpy(app, &FCApp::InfoRDDone);
    QPointer<FCProtocol::Task> task = infoTask(0, 0, board(0x30), FCProtocol::Task::NoReply);
    deliver(task);

    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("Disconnected"));
    QCOMPARE(child<QLabel>("label_usb")->styleSheet(), kGrey);
    QCOMPARE(child<QCheckBox>("checkBox_usb")->checkState(), Qt::Unchecked);
    QCOMPARE(child<QCheckBox>("checkBox_err")->checkState(), Qt::Unchecked);
    QCOMPARE(child<QLabel>("label_err")->text(), QString());
    // Only the text goes; the colour of the last self-test stays.
    QCOMPARE(child<QLabel>("label_err")->styleSheet(), kRed);
    QCOMPARE(infoSpy.count(), 0);
    QTRY_VERIFY(task.isNull());
}

void TestFCApp::unsupportedBoard()
{
    deliver(infoTask(0, 0, board(0x10)));
    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("DISCONNECTED"));
    QCOMPARE(child<QLabel>("label_err")->text(), QStringLiteral("ERR"));
    QCOMPARE(app->lastInfo().boardWord, board(0x10));

    // Connected, then an unsupported board: strip unchanged, no page gets results.
    deliver(infoTask(0, 4, board(0x30)));
    app->delivered.clear();
    QPointer<FCProtocol::Task> task = infoTask(0, 0, board(0x99));
    deliver(task);
    // That reply itself was routed by the state before it; the ones after it are not.
    QCOMPARE(app->delivered.size(), 2);
    app->delivered.clear();
    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("Connected"));
    QCOMPARE(child<QLabel>("label_err")->text(), QStringLiteral("Compass error"));
    QCOMPARE(child<QCheckBox>("checkBox_err")->checkState(), Qt::PartiallyChecked);
    deliver(otherTask(FCProtocol::RC_RD));
    QCOMPARE(app->delivered, QStringList());
    QTRY_VERIFY(task.isNull());
}

void TestFCApp::routing_data()
{
    QTest::addColumn<bool>("connectedFirst");
    QTest::addColumn<bool>("bootloader");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("receivers");

    // Who receives what in which state: tst_linksupervisor; here, which page that is.
    QTest::newRow("connected: the shown page and the scope")
        << true << false << 2 << QStringList{QStringLiteral("pageFCRc"), QStringLiteral("pageFCScope")};
    QTest::newRow("not connected") << false << false << 0 << QStringList();
    QTest::newRow("bootloader, firmware page shown")
        << true << true << 4 << QStringList{QStringLiteral("pageFCFirmware")};
    QTest::newRow("bootloader, radio page shown") << true << true << 2 << QStringList();
}

void TestFCApp::routing()
{
    QFETCH(bool, connectedFirst);
    QFETCH(bool, bootloader);
    QFETCH(int, page);
    QFETCH(QStringList, receivers);

    if (connectedFirst)
        deliver(infoTask(0, 0, board(0x30)));
    child<QStackedWidget>("stackedWidget")->setCurrentIndex(page);
    if (bootloader)
        QVERIFY(QMetaObject::invokeMethod(app, "boot_state_changed", Q_ARG(bool, true)));
    app->delivered.clear();

    QPointer<FCProtocol::Task> task = otherTask(FCProtocol::PARA_RD);
    deliver(task);
    QCOMPARE(app->delivered, receivers);
    // Routed or not, every finished task is deleted.
    QTRY_VERIFY(task.isNull());
}

// The radio-only board has only the radio page (once per run: tst_linksupervisor).
void TestFCApp::radioOnlyBoardTrims()
{
    // The pages not shown first build their forms after the first paint.
    app->buildPages();
    auto* stack = child<QStackedWidget>("stackedWidget");
    QWidget* rcPage = stack->widget(2);
    auto* modeButtons = rcPage->findChild<QWidget*>(QStringLiteral("frame_mode_button"));
    QVERIFY2(modeButtons, "the radio page has no frame_mode_button");
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QVERIFY(!modeButtons->isHidden());

    // Leave the firmware page selected: trimming away from it resumes the page ticks.
    QTest::mouseClick(child<QRadioButton>("radioButton_page5"), Qt::LeftButton);
    QVERIFY(!app->pageTimer()->isActive());

    deliver(infoTask(0, 0, board(0x40)));
    QVERIFY(child<QRadioButton>("radioButton_page1")->isHidden());
    QVERIFY(child<QRadioButton>("radioButton_page4")->isHidden());
    QVERIFY(child<QRadioButton>("radioButton_page5")->isHidden());
    QVERIFY(!child<QRadioButton>("radioButton_page3")->isHidden());
    QVERIFY(child<QRadioButton>("radioButton_page3")->isChecked());
    QCOMPARE(stack->currentIndex(), 2);
    QVERIFY(modeButtons->isHidden());
    QVERIFY(app->pageTimer()->isActive());
}

void TestFCApp::navigation()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    app->pageTimer()->start();
    auto* stack = child<QStackedWidget>("stackedWidget");

    const QList<QPair<const char*, int>> buttons{
        {"radioButton_page3", 2}, {"radioButton_page4", 3}, {"radioButton_page1", 0}};
    for (const auto& [name, index] : buttons) {
        QTest::mouseClick(child<QRadioButton>(name), Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), index);
        QVERIFY(app->pageTimer()->isActive());
    }

    // Something running and three reads waiting: the firmware button drops the waiting ones.
    deliver(infoTask(0, 0, board(0x30))); // a controller has answered: the pages' reads go
    QTRY_VERIFY(window->idle());           // and the history's snapshot of its setup is taken
    VirtualFC::setFastTiming(false);
    VirtualFC::setFault(VirtualFC::Fault::NoAnswer, 1);
    QList<QPointer<FCProtocol::Task>> waiting;
    const int kinds[] = {FCProtocol::STATUS_RD, FCProtocol::RC_RD, FCProtocol::PARA_RD,
                         FCProtocol::SCOPE_DATA_RD};
    for (int kind : kinds) {
        auto* task = new FCProtocol::Task(kind, false);
        waiting << task;
        QVERIFY(QMetaObject::invokeMethod(app, "PreAddTask", Q_ARG(FCProtocol::Task*, task)));
    }
    QCOMPARE(app->controller()->waitingCount(), 3);
    QTest::mouseClick(child<QRadioButton>("radioButton_page5"), Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 4);
    QCOMPARE(app->controller()->waitingCount(), 0);
    QVERIFY(!app->pageTimer()->isActive());
    for (int i = 1; i < 4; ++i)
        QVERIFY(waiting[i].isNull());

    // Any other button resumes the ticks at 50 ms.
    QTest::mouseClick(child<QRadioButton>("radioButton_page4"), Qt::LeftButton);
    QCOMPARE(stack->currentIndex(), 3);
    QVERIFY(app->pageTimer()->isActive());
    QCOMPARE(app->pageTimer()->interval(), 50);
}

void TestFCApp::bootloaderLock()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QTest::mouseClick(child<QRadioButton>("radioButton_page5"), Qt::LeftButton);
    QObject* firmware = child<QStackedWidget>("stackedWidget")->widget(4);
    QVERIFY(QMetaObject::invokeMethod(firmware, "boot_state_changed", Q_ARG(bool, true)));
    QVERIFY(app->isBootloader());
    const QList<const char*> locked{"radioButton_page1", "radioButton_page3",
                                    "radioButton_page4", "radioButton_page5",
                                    "pushButton_default", "pushButton_storge"};
    for (const char* name : locked)
        QVERIFY2(!child<QAbstractButton>(name)->isEnabled(), name);
    // The page timer is navigation's business.
    QVERIFY(!app->pageTimer()->isActive());
    QTest::mouseClick(child<QRadioButton>("radioButton_page1"), Qt::LeftButton);
    QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), 4);

    QVERIFY(QMetaObject::invokeMethod(firmware, "boot_state_changed", Q_ARG(bool, false)));
    QVERIFY(!app->isBootloader());
    for (const char* name : locked)
        QVERIFY2(child<QAbstractButton>(name)->isEnabled(), name);
    QVERIFY(!app->pageTimer()->isActive());
}

void TestFCApp::fixedSize()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QCOMPARE(app->size(), QSize(800, 494));
    QCOMPARE(app->minimumSize(), QSize(800, 494));
    QCOMPARE(app->maximumSize(), QSize(800, 494));
    app->resize(1000, 700);
    QCOMPARE(app->size(), QSize(800, 494));
    QCOMPARE(child<QStackedWidget>("stackedWidget")->size(), QSize(780, 310));
}

void TestFCApp::roundedMask()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    app->repaint();
    QTRY_VERIFY(!app->mask().isEmpty());
    const QRegion mask = app->mask();
    for (const QPoint& corner : {QPoint(0, 0), QPoint(799, 0), QPoint(0, 493), QPoint(799, 493)})
        QVERIFY(!mask.contains(corner));
    for (const QPoint& inside : {QPoint(10, 10), QPoint(400, 0), QPoint(0, 247),
                                 QPoint(789, 483)})
        QVERIFY(mask.contains(inside));
}

void TestFCApp::dragging_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("moves");
    QTest::newRow("title strip") << QPoint(100, 15) << true;
    QTest::newRow("page buttons strip") << QPoint(500, 70) << false;
    QTest::newRow("page area") << QPoint(400, 250) << false;
    QTest::newRow("status strip") << QPoint(400, 470) << false;
}

void TestFCApp::dragging()
{
    QFETCH(QPoint, press);
    QFETCH(bool, moves);
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    app->move(100, 100);
    const QPoint start = app->pos();
    QVERIFY(child<QFrame>("frame_title")->geometry().contains(press) == moves);

    auto send = [this](QEvent::Type type, const QPoint& global, Qt::MouseButton button,
                       Qt::MouseButtons buttons) {
        const QPointF local = app->mapFromGlobal(global);
        QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(app, &event);
    };
    const QPoint global = app->mapToGlobal(press);
    send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, global + QPoint(30, 40), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(app->pos(), moves ? start + QPoint(30, 40) : start);
    send(QEvent::MouseButtonRelease, global + QPoint(30, 40), Qt::LeftButton, Qt::NoButton);

    // After the release a move with the button held (pressed elsewhere) drags nothing.
    const QPoint after = app->pos();
    send(QEvent::MouseMove, global + QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(app->pos(), after);
}

void TestFCApp::versionDialog()
{
    ModalScript answer({ModalScript::Ok});
    QTest::mouseClick(app, Qt::RightButton, Qt::NoModifier, QPoint(400, 250));
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.classes().value(0), QStringLiteral("DialogWarning"));
    QCOMPARE(answer.text(), VersionInfo::dialogText());
    QVERIFY(QRegularExpression(QStringLiteral("^version: v09_\\d{14}$"))
                .match(answer.text())
                .hasMatch());
    const QString stamp = answer.text().mid(13);
    QVERIFY(QDate::fromString(stamp.left(8), QStringLiteral("yyyyMMdd")).isValid());
    QVERIFY(QTime::fromString(stamp.mid(8), QStringLiteral("HHmmss")).isValid());
}

// A question without parent opens over the window that asks, within the screen (800 x 600, so
// centred it would reach past the right edge), and Esc is its Cancel.
void TestFCApp::dialogOverTheWindow()
{
    app->move(300, 60);
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QRect shown;
    ModalScript escape;
    escape.on<DialogWarning>([&](DialogWarning* question) {
        shown = question->geometry();
        QTest::keyClick(question, Qt::Key_Escape);
    });
    QTest::mouseClick(child<QPushButton>("pushButton_default"), Qt::LeftButton);
    QCOMPARE(escape.count(), 1);
    QCOMPARE(shown.center().y(), app->geometry().center().y());
    QCOMPARE(shown.right(), app->screen()->availableGeometry().right());
    QVERIFY(!app->controller()->isBusy() && app->controller()->waitingCount() == 0);
}

void TestFCApp::imageControlsNamed_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("English") << false;
    QTest::newRow("Chinese") << true;
}

// Every control that is only a picture has a name a screen reader says and a tool tip, in the
// running language; the lamps say their state. Tab goes round the window's controls, and the
// ring shows where the focus is.
void TestFCApp::imageControlsNamed()
{
    QFETCH(bool, chinese);
    QTranslator translator;
    if (chinese) {
        QVERIFY(translator.load(QStringLiteral(":/tr/FCApp.qm")));
        QCoreApplication::installTranslator(&translator);
    }
    window.reset();
    FCApp shell;
    shell.buildPages();
    DialogWarning warning;
    DialogSetupDiff diff;
    QStringList unnamed;
    const auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    // In the running language: Chinese words, or English ones (the language box says both).
    const QRegularExpression words(chinese ? QStringLiteral("\\p{Han}") : QStringLiteral("[A-Za-z]"));
    QList<QWidget*> controls{shell.findChild<QComboBox*>(QStringLiteral("comboBox_language"))};
    for (QWidget* top : QList<QWidget*>{&shell, &warning, &diff})
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>())
            // Qt's own parts of a widget (a table's corner button) have no name of ours.
            if (button->text().isEmpty() && !button->objectName().isEmpty())
                controls << button;
    for (QWidget* control : controls)
        if (name(control).isEmpty() || control->toolTip().isEmpty() || !name(control).contains(words))
            unnamed << control->objectName() + QStringLiteral(": ") + name(control);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(unnamed.join('\n'), QString());

    auto* usb = shell.findChild<QCheckBox*>(QStringLiteral("checkBox_usb"));
    QVERIFY(name(usb).endsWith(shell.findChild<QLabel*>(QStringLiteral("label_usb"))->text()));
    QVERIFY(name(usb) != name(shell.findChild<QCheckBox*>(QStringLiteral("checkBox_err"))));

    shell.show();
    shell.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&shell));
    // A group of radio buttons is one stop, at its checked button; the arrows move within it.
    QStringList reached;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &shell, Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && FocusRing::target() == focus);
        reached << focus->objectName();
    }
    QCOMPARE(reached, (QStringList{"comboBox_language", "pushButton_appMin", "pushButton_appClose", "radioButton_page1",
                                   "pushButton_HorizonCali", "pushButton_motorTest", "pushButton_default",
                                   "pushButton_storge", "comboBox_language"}));
}

// Counts the times a widget is shown.
class ShowCounter : public QObject
{
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

void TestFCApp::scopeKey()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QWidget* scope = app->scopeWindow();
    ShowCounter counter;
    scope->installEventFilter(&counter);

    QTest::keyClick(app, Qt::Key_A);
    QVERIFY(!scope->isVisible());
    QTest::keyClick(app, Qt::Key_S);
    QVERIFY(scope->isVisible());
    QCOMPARE(counter.shows, 1);
    QTest::keyClick(app, Qt::Key_S);
    QCOMPARE(counter.shows, 1);
    scope->close();
    QVERIFY(!scope->isVisible());
    QTest::keyClick(app, Qt::Key_S, Qt::ShiftModifier);
    QVERIFY(scope->isVisible());
    QCOMPARE(counter.shows, 2);
    scope->removeEventFilter(&counter);
}

void TestFCApp::closeClosesBoth()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QTest::keyClick(app, Qt::Key_S);
    QVERIFY(app->scopeWindow()->isVisible());
    QTest::mouseClick(child<QPushButton>("pushButton_appClose"), Qt::LeftButton);
    QVERIFY(!app->isVisible());
    QVERIFY(!app->scopeWindow()->isVisible());
}

// Closing the main window by the window manager leaves the scope window open, but the scope
// window alone must not keep the program running: the event loop must return.
void TestFCApp::windowManagerCloseEndsTheProgram()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QTest::keyClick(app, Qt::Key_S);
    QVERIFY(app->scopeWindow()->isVisible());

    QTimer::singleShot(0, app, [this] { app->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    watchdog.start(3000);
    const int result = QApplication::exec();
    watchdog.stop();
    app->scopeWindow()->close();
    QCOMPARE(result, 0);
}

void TestFCApp::minimiseRestore()
{
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    QTest::ignoreMessage(QtDebugMsg, "Qt::WindowMinimized");
    QTest::mouseClick(child<QPushButton>("pushButton_appMin"), Qt::LeftButton);
    QVERIFY(app->windowState() & Qt::WindowMinimized);
    QTest::ignoreMessage(QtDebugMsg, "Qt::WindowNoState");
    app->setWindowState(Qt::WindowNoState);
    QVERIFY(app->isVisible());
    QCOMPARE(app->windowState(), Qt::WindowNoState);
}

void TestFCApp::languageCombo_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("notice");
    QTest::newRow("English") << 1 << QStringLiteral("en")
                             << QStringLiteral(
                                    "Please restart to make the language settings take effect");
    QTest::newRow("Chinese") << 2 << QStringLiteral("zh")
                             << QStringLiteral("请重新启动软件使语言设置生效");
}

void TestFCApp::languageCombo()
{
    QFETCH(int, index);
    QFETCH(QString, stored);
    QFETCH(QString, notice);
    auto* combo = child<QComboBox>("comboBox_language");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("选择语言(Select Language)"));
    QCOMPARE(combo->itemText(1), QStringLiteral("English"));
    QCOMPARE(combo->itemText(2), QStringLiteral("简体中文"));
    QCOMPARE(combo->currentIndex(), 0);
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    QVERIFY(model);
    QVERIFY(!(model->item(0)->flags() & Qt::ItemIsSelectable));
    QVERIFY(model->item(1)->flags() & Qt::ItemIsSelectable);
    QCOMPARE(combo->font().family(), QStringLiteral("Noto Sans CJK SC"));
    QCOMPARE(combo->font().pointSize(), 11);
    QCOMPARE(combo->font().weight(), int(QFont::Bold));

    QSettings().setValue(QStringLiteral("main/language"), QStringLiteral("unset"));
    const QString titleBefore = app->windowTitle();
    ModalScript answer({ModalScript::Ok});
    combo->setCurrentIndex(index);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.classes().value(0), QStringLiteral("DialogLanguageSelect"));
    QCOMPARE(answer.text(), notice);
    QCOMPARE(QSettings().value(QStringLiteral("main/language")).toString(), stored);
    QCOMPARE(combo->currentIndex(), 0);
    // Nothing of the running window changes.
    QCOMPARE(app->windowTitle(), titleBefore);
    QCOMPARE(child<QLabel>("label_usb")->text(), QStringLiteral("DISCONNECTED"));
}

void TestFCApp::languageCaptionDoesNothing()
{
    QSettings().setValue(QStringLiteral("main/language"), QStringLiteral("unset"));
    ModalScript answer({ModalScript::Ok});
    // The slot runs any notice modally inside this call, where the answer would catch it.
    QVERIFY(QMetaObject::invokeMethod(app, "language_changed", Q_ARG(int, 0)));
    QCOMPARE(answer.count(), 0);
    QCOMPARE(QSettings().value(QStringLiteral("main/language")).toString(),
             QStringLiteral("unset"));
}

QTEST_MAIN(TestFCApp)
#include "tst_fcapp.moc"
