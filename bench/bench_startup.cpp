// Start-up time and CPU while connected, side by side with the floor: a minimal Qt widget
// program showing an empty 800 x 494 window.
//
//   build/bench/bench_startup [start-up runs, default 9] [seconds per CPU run, default 10]
//                             [CPU runs per view, default 3]
//
// Each measurement runs in a fresh child process (this program in another mode) under the
// offscreen platform; the runs of the different programs and views alternate, and medians are
// reported. Start-up: wall time from starting the child to the line it prints right after the
// first paint of its window. The application child runs the program's own start-up (identity,
// fonts, language, translation) and FCApp against the virtual flight controller with
// full-speed USB timing, exactly as the demo program does.
// CPU: process CPU time (every thread, the virtual controller's included) over the given
// seconds, once the window shows "Connected" and the view has been up for a second: on each
// page of the stack (each polls 20 times a second while shown, the firmware page reads the
// controller's version; the attitude and the sticks move) and with the scope window open over
// the status page, plotting eight moving channels. The machine's load average is printed with
// the figures: the figures are CPU time, not wall time, so other work on the machine changes
// them little, but it does change them.

#include "app/appstartup.h"
#include "app/fcapp.h"
#include "pages/pagefcscope.h"
#include "virtualfc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Prints "painted" once the watched window has handled its first paint event, then quits.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget* window)
        : window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window && event->type() == QEvent::Paint && !seen) {
            seen = true;
            // Queued: runs after this paint event has been handled.
            QTimer::singleShot(0, qApp, [] {
                std::puts("painted");
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget* window;
    bool seen = false;
};

int runFloor(int argc, char** argv)
{
    AppStartup::followScreenScale();
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 494);
    FirstPaint watch(&window);
    window.show();
    return app.exec();
}

// What a CPU run looks at.
struct View {
    const char* arg;
    const char* title;
    int stackIndex; // the page shown
    bool scope;     // the scope window open over it
};

const View kViews[] = {
    {"status", "status page (STATUS_RD 20/s, attitude moving)", 0, false},
    {"frame", "airframe page (no button; FRAME_RD 20/s)", 1, false},
    {"radio", "radio page (RC_RD 20/s, sticks moving)", 2, false},
    {"para", "parameter page (PARA_RD 20/s)", 3, false},
    {"firmware", "firmware page, idle (FW_INFO_RD 20/s)", 4, false},
    {"scope", "scope window, 8 channels, over the status page", 0, true},
};

const View* findView(const QString& arg)
{
    for (const View& view : kViews) {
        if (arg == QLatin1String(view.arg))
            return &view;
    }
    return nullptr;
}

int runAppStartup(int argc, char** argv)
{
    AppStartup::tuneAllocator();
    AppStartup::followScreenScale();
    QApplication app(argc, argv);
    AppStartup startup(app);
    FCApp window;
    FirstPaint watch(&window);
    window.show();
    return app.exec();
}

// The demo program's main up to the event loop, then the view, then the measurement.
int runAppIdle(int argc, char** argv, int idleSeconds, const View& view)
{
    AppStartup::tuneAllocator();
    AppStartup::followScreenScale();
    QApplication app(argc, argv);
    if (view.scope) {
        VirtualFC::setScopeNames({QStringLiteral("gyroX"), QStringLiteral("gyroY"), QStringLiteral("gyroZ"),
                                  QStringLiteral("accX"), QStringLiteral("accY"), QStringLiteral("accZ"),
                                  QStringLiteral("thr"), QStringLiteral("alt")});
    }
    AppStartup startup(app);
    FCApp window;
    window.show();

    // The navigation buttons by stack index; the airframe page has none.
    const char* const buttons[] = {"radioButton_page1", nullptr, "radioButton_page3", "radioButton_page4",
                                   "radioButton_page5"};
    if (const char* name = buttons[view.stackIndex]) {
        if (view.stackIndex != 0)
            window.findChild<QAbstractButton*>(QLatin1String(name))->click();
    } else {
        window.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->setCurrentIndex(view.stackIndex);
    }
    if (view.scope)
        window.scopeWindow()->show();

    auto* usb = window.findChild<QLabel*>(QStringLiteral("label_usb"));
    double cpuStart = -1;
    QElapsedTimer wall;
    QElapsedTimer settle;
    const auto finish = [&] {
        const double cpu = processCpuSeconds() - cpuStart;
        std::printf("cpu %.4f wall %.3f\n", cpu, wall.nsecsElapsed() / 1e9);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (usb->text() != FCApp::tr("Connected")) {
            settle.invalidate();
            return;
        }
        // A second to settle: the first replies, the scope's channel names.
        if (!settle.isValid())
            settle.start();
        if (settle.elapsed() < 1000)
            return;
        // From here on one timer ends the measurement: this program adds no wake-ups.
        poll.stop();
        cpuStart = processCpuSeconds();
        wall.start();
        QTimer::singleShot(idleSeconds * 1000, Qt::PreciseTimer, finish);
    });
    poll.start(100);
    return app.exec();
}

int runFloorIdle(int argc, char** argv, int idleSeconds)
{
    AppStartup::followScreenScale();
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 494);
    window.show();
    double cpuStart = 0;
    QElapsedTimer wall;
    // Measured from one second after showing, as the application views are.
    QTimer::singleShot(1000, [&] {
        cpuStart = processCpuSeconds();
        wall.start();
        QTimer::singleShot(idleSeconds * 1000, [&] {
            std::printf("cpu %.4f wall %.3f\n", processCpuSeconds() - cpuStart, wall.nsecsElapsed() / 1e9);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    });
    return app.exec();
}

QProcessEnvironment childEnvironment(const QString& configHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_DATA_HOME"), configHome + QStringLiteral("/data"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false;qt.qpa.*=false"));
    return env;
}

// Runs this program in `mode`; returns the wall time until its first output line, or -1.
double timeToFirstLine(const QStringList& args, const QString& configHome, QByteArray* line,
                       int timeoutMs)
{
    QProcess child;
    child.setProcessEnvironment(childEnvironment(configHome));
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), args);
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(timeoutMs)) {
            child.kill();
            child.waitForFinished();
            return -1;
        }
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    if (line)
        *line = child.readLine().trimmed();
    child.waitForFinished(5000);
    return ms;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    if (values.isEmpty())
        return -1;
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double idleCpuPercent(const QStringList& args, const QString& configHome, int idleSeconds)
{
    QByteArray line;
    if (timeToFirstLine(args, configHome, &line, (idleSeconds + 30) * 1000) < 0)
        return -1;
    double cpu = 0;
    double wall = 0;
    if (std::sscanf(line.constData(), "cpu %lf wall %lf", &cpu, &wall) != 2 || wall <= 0)
        return -1;
    return 100.0 * cpu / wall;
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("?");
}

QString spread(const QVector<double>& values)
{
    QStringList parts;
    for (double v : values)
        parts << QString::number(v, 'f', 2);
    return parts.join(QLatin1Char(' '));
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("--floor"))
        return runFloor(argc, argv);
    if (mode == QLatin1String("--app"))
        return runAppStartup(argc, argv);
    if (mode.startsWith(QLatin1String("--app-idle="))) {
        const View* view = findView(argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("status"));
        return view ? runAppIdle(argc, argv, mode.mid(11).toInt(), *view) : 2;
    }
    if (mode.startsWith(QLatin1String("--floor-idle=")))
        return runFloorIdle(argc, argv, mode.mid(13).toInt());

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLatin1(argv[1]).toInt()) : 9;
    const int idleSeconds = argc > 2 ? std::max(1, QString::fromLatin1(argv[2]).toInt()) : 10;
    const int idleRuns = argc > 3 ? std::max(1, QString::fromLatin1(argv[3]).toInt()) : 3;
    QTemporaryDir configHome;

    std::printf("load average at start: %s\n", loadAverage().constData());
    std::printf("start-up to first paint, offscreen platform, %d runs each, alternating\n", runs);
    // One unmeasured run each warms the file cache and writes the settings.
    timeToFirstLine({QStringLiteral("--floor")}, configHome.path(), nullptr, 30000);
    timeToFirstLine({QStringLiteral("--app")}, configHome.path(), nullptr, 30000);
    QVector<double> floorMs;
    QVector<double> appMs;
    for (int i = 0; i < runs; ++i) {
        floorMs << timeToFirstLine({QStringLiteral("--floor")}, configHome.path(), nullptr, 30000);
        appMs << timeToFirstLine({QStringLiteral("--app")}, configHome.path(), nullptr, 30000);
    }
    const double floorMedian = median(floorMs);
    const double appMedian = median(appMs);
    std::printf("  floor (empty 800x494 QWidget): median %7.1f ms  (min %.1f, max %.1f)\n",
                floorMedian, *std::min_element(floorMs.begin(), floorMs.end()),
                *std::max_element(floorMs.begin(), floorMs.end()));
    std::printf("  ORVANTE main window:           median %7.1f ms  (min %.1f, max %.1f)\n",
                appMedian, *std::min_element(appMs.begin(), appMs.end()),
                *std::max_element(appMs.begin(), appMs.end()));
    std::printf("  ratio main window / floor: %.2f  (goal <= 2)\n", appMedian / floorMedian);
    std::fflush(stdout);

    std::printf("CPU over %d s, %d runs each, alternating (process CPU time / wall time, %% of one core)\n",
                idleSeconds, idleRuns);
    const QString idleArg = QString::number(idleSeconds);
    QVector<double> floorIdle;
    QVector<QVector<double>> viewIdle(int(sizeof kViews / sizeof kViews[0]));
    for (int r = 0; r < idleRuns; ++r) {
        floorIdle << idleCpuPercent({QStringLiteral("--floor-idle=") + idleArg}, configHome.path(), idleSeconds);
        for (int v = 0; v < viewIdle.size(); ++v) {
            viewIdle[v] << idleCpuPercent({QStringLiteral("--app-idle=") + idleArg, QLatin1String(kViews[v].arg)},
                                          configHome.path(), idleSeconds);
        }
    }
    std::printf("  %-50s median %6.2f %%  (runs: %s)\n", "floor (empty window)", median(floorIdle),
                qPrintable(spread(floorIdle)));
    for (int v = 0; v < viewIdle.size(); ++v) {
        std::printf("  %-50s median %6.2f %%  (runs: %s)\n", kViews[v].title, median(viewIdle[v]),
                    qPrintable(spread(viewIdle[v])));
    }
    std::printf("load average at end: %s\n", loadAverage().constData());
    return 0;
}
