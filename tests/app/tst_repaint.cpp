// The main window at rest draws nothing: with the polls and the telemetry going on but no
// news in them, not one widget of the window is painted again. A laptop on battery pays for
// every repaint of a window that shows the same picture.
#include "app/fcapp.h"
#include "protocol/frameids.h"
#include "virtualfc.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Counts the paint events of every widget in one window.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* window)
        : window(window)
    {
        qApp->installEventFilter(this);
    }
    ~PaintCounter() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == window)
            ++count;
        return false;
    }

    int count = 0;

private:
    QWidget* window;
};

} // namespace

class TestRepaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nothingNewNothingPainted_data();
    void nothingNewNothingPainted();
    void movingPartsLeaveNoTrace_data();
    void movingPartsLeaveNoTrace();
};

void TestRepaint::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestRepaint::nothingNewNothingPainted_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("pageButton"); // empty: the status page, shown first
    QTest::addColumn<int>("poll");
    // Every telemetry read fails alike: the strip says "Disconnected" again and again.
    QTest::newRow("no controller") << false << QStringLiteral("Disconnected") << QString() << -1;
    // The page's polls and telemetry answered with the same values every time.
    QTest::newRow("status page, controller standing still")
        << true << QStringLiteral("Connected") << QString() << int(FCProtocol::STATUS_RD);
    QTest::newRow("radio page, sticks still")
        << true << QStringLiteral("Connected") << QStringLiteral("radioButton_page3") << int(FCProtocol::RC_RD);
    QTest::newRow("parameter page")
        << true << QStringLiteral("Connected") << QStringLiteral("radioButton_page4") << int(FCProtocol::PARA_RD);
}

void TestRepaint::nothingNewNothingPainted()
{
    QFETCH(bool, plugged);
    QFETCH(QString, shown);
    QFETCH(QString, pageButton);
    QFETCH(int, poll);
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setPlugged(plugged);
    VirtualFC::setAttitude(VirtualFC::attitude()); // a set attitude stays where it is
    VirtualFC::setRcMoving(false);

    FCApp app; // the product's timers: status page polls every 50 ms, telemetry every 500 ms
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    if (!pageButton.isEmpty())
        app.findChild<QAbstractButton*>(pageButton)->click();
    auto* usb = app.findChild<QLabel*>(QStringLiteral("label_usb"));
    QTRY_COMPARE(usb->text(), shown);
    // Two telemetry ticks later the news of the first replies has long been drawn.
    QSignalSpy ticks(app.infoTimer(), &QTimer::timeout);
    QTRY_VERIFY(ticks.count() >= 2);

    PaintCounter paints(&app);
    const int polls = VirtualFC::requestCount(poll);
    QElapsedTimer second;
    second.start();
    QVERIFY(QTest::qWaitFor([&] { return second.elapsed() >= 1000; }, 5000));
    QCOMPARE(usb->text(), shown);
    if (plugged) // the page went on polling meanwhile, and was answered
        QVERIFY(VirtualFC::requestCount(poll) > polls + 5);
    QCOMPARE(paints.count, 0);
}

void TestRepaint::movingPartsLeaveNoTrace_data()
{
    QTest::addColumn<QString>("pageButton");
    QTest::addColumn<int>("poll");
    QTest::newRow("status page: compass and horizon") << QString() << int(FCProtocol::STATUS_RD);
    QTest::newRow("radio page: bars and stick dots")
        << QStringLiteral("radioButton_page3") << int(FCProtocol::RC_RD);
}

// Moving parts repaint only the areas they changed. Once they stop, the picture on the
// screen must be the one a whole repaint of the window draws: no stale digit, chunk or dot.
void TestRepaint::movingPartsLeaveNoTrace()
{
    QFETCH(QString, pageButton);
    QFETCH(int, poll);
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setAttitudeMoving(true);
    VirtualFC::setRcMoving(true);
    VirtualFC::setRecognitionMs(0);

    FCApp app;
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    if (!pageButton.isEmpty())
        app.findChild<QAbstractButton*>(pageButton)->click();
    const auto answeredAfter = [&](int more) {
        const int until = VirtualFC::requestCount(poll) + more;
        return QTest::qWaitFor([&] { return VirtualFC::requestCount(poll) >= until; }, 10000);
    };
    QVERIFY(answeredAfter(30)); // a second and a half of moving sticks and attitude
    VirtualFC::setAttitude(VirtualFC::attitude());
    VirtualFC::setRc(VirtualFC::rc());
    QVERIFY(answeredAfter(4));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();

    auto* stack = app.findChild<QWidget*>(QStringLiteral("stackedWidget"));
    const QRect page(stack->mapTo(&app, QPoint()), stack->size());
    // The screen's copy is in device pixels, at any scale.
    const qreal ratio = app.devicePixelRatioF();
    const QRect devicePage(page.topLeft() * ratio, page.size() * ratio);
    const QImage shown =
        app.windowHandle()->screen()->grabWindow(app.winId(), 0, 0, app.width(), app.height()).toImage().copy(devicePage);
    const QImage whole = app.grab(page).toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), whole.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestRepaint)
#include "tst_repaint.moc"
