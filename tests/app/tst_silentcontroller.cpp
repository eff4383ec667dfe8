// The real main window against a controller that stops answering: each transaction then
// waits its whole reply wait while the pages keep polling. What the pilot sees, and that a
// command pressed meanwhile is not lost.
#include "mainwindowup.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QStackedWidget>

namespace {

// Counts the "Task Full!" lines, each a queue that overflowed and dropped waiting tasks, while
// it lives.
class OverflowCount
{
public:
    OverflowCount() { previous = qInstallMessageHandler(count); }
    ~OverflowCount() { qInstallMessageHandler(previous); }
    int value() const { return overflows; }

private:
    static void count(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (message == QLatin1String("Task Full!"))
            ++overflows;
        previous(type, context, message);
    }
    static inline int overflows = 0;
    static inline QtMessageHandler previous = nullptr;
};

} // namespace

class TestSilentController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void silentControllerShowsDisconnected_data();
    void silentControllerShowsDisconnected();
    void storeWaitingBehindPollsOutlivesSilence();

private:
    QLabel* label(const char* name) { return window->child<QLabel>(name); }

    std::unique_ptr<MainWindowUp<>> window;
};

void TestSilentController::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestSilentController::init()
{
    // The product's timers: pages every 50 ms, telemetry every 500 ms.
    window = std::make_unique<MainWindowUp<>>(500);
    QVERIFY(window->exposed);
}

void TestSilentController::cleanup()
{
    window.reset();
}

void TestSilentController::silentControllerShowsDisconnected_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("button");
    // Every page that polls while shown, with its navigation button.
    QTest::newRow("status") << 0 << "radioButton_page1";
    QTest::newRow("radio") << 2 << "radioButton_page3";
    QTest::newRow("parameter") << 3 << "radioButton_page4";
}

void TestSilentController::silentControllerShowsDisconnected()
{
    QFETCH(int, page);
    QFETCH(QString, button);
    window->click(qPrintable(button));
    QCOMPARE(window->child<QStackedWidget>("stackedWidget")->currentIndex(), page);
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 3000);

    // The controller stops answering while the page polls every 50 ms, twenty polls for
    // every transaction that waits out its second: the queue must not overflow and drop tasks.
    OverflowCount overflows;
    const int before = overflows.value();
    VirtualFC::setFault(VirtualFC::Fault::NoAnswer, -1);
    QElapsedTimer silent;
    silent.start();
    QTRY_VERIFY_WITH_TIMEOUT(label("label_usb")->text() == QLatin1String("Disconnected") || overflows.value() > before,
                             4000);
    QCOMPARE(overflows.value(), before);
    qInfo("\"Disconnected\" %lld ms after the controller fell silent", silent.elapsed());

    VirtualFC::clearFault(VirtualFC::Fault::NoAnswer);
    silent.restart();
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 4000);
    qInfo("\"Connected\" %lld ms after it answered again", silent.elapsed());
}

void TestSilentController::storeWaitingBehindPollsOutlivesSilence()
{
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 3000);
    QByteArray edited = VirtualFC::para();
    edited[10] = char(edited[10] ^ 0x55);
    VirtualFC::setPara(edited);

    // Silent: every transaction waits its second while the status page and the telemetry
    // keep asking. The store waits behind the running read.
    VirtualFC::setFault(VirtualFC::Fault::NoAnswer, -1);
    QTRY_VERIFY_WITH_TIMEOUT(window->app->controller()->waitingCount() >= 2, 3000);
    window->click("pushButton_storge");
    // Longer than a full queue took to fill with polls.
    const int before = VirtualFC::requests().size();
    QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::requests().size() >= before + 2, 5000);

    VirtualFC::clearFault(VirtualFC::Fault::NoAnswer);
    QTRY_COMPARE_WITH_TIMEOUT(label("label_usb")->text(), QStringLiteral("Connected"), 4000);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STORE), 1);
    QCOMPARE(VirtualFC::flashPara(), edited);
}

QTEST_MAIN(TestSilentController)
#include "tst_silentcontroller.moc"
