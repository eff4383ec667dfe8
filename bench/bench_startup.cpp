// Start-up time and idle CPU of the main window, side by side with the floor: a minimal Qt
// widget program showing an empty 800 x 494 window.
//
//   build/bench/bench_startup [runs, default 7] [idle seconds, default 10]
//
// Each measurement runs in a fresh child process (this program in another mode) under the
// offscreen platform. Start-up: wall time from starting the child to the line it prints right
// after the first paint of its window. The application child runs the program's own start-up
// (identity, fonts, language, translation) and FCApp against the virtual flight controller with
// full-speed USB timing, exactly as the demo program does. Idle: process CPU time over the
// given seconds once the window shows "Connected", on the status page (which polls and draws
// 20 times a second) and on the parameter page (which does not poll, so only the shell's own
// telemetry runs).

#include "app/appstartup.h"
#include "app/fcapp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
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
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 494);
    FirstPaint watch(&window);
    window.show();
    return app.exec();
}

// The demo program's main up to the event loop; `page` is the stack index to idle on
// (0 status, 3 parameter), chosen through its navigation button.
int runApp(int argc, char** argv, bool idle, int idleSeconds, int page = 0)
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    AppStartup startup(app);
    FCApp window;
    if (!idle) {
        FirstPaint watch(&window);
        window.show();
        return app.exec();
    }

    window.show();
    if (page != 0) {
        if (auto* button = window.findChild<QAbstractButton*>(
                QStringLiteral("radioButton_page%1").arg(page == 3 ? 4 : page + 1)))
            button->click();
    }
    auto* usb = window.findChild<QLabel*>(QStringLiteral("label_usb"));
    QTimer poll;
    double cpuStart = -1;
    QElapsedTimer wall;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (cpuStart < 0) {
            if (usb->text() != FCApp::tr("Connected"))
                return;
            cpuStart = processCpuSeconds();
            wall.start();
            return;
        }
        if (wall.elapsed() < idleSeconds * 1000)
            return;
        const double cpu = processCpuSeconds() - cpuStart;
        std::printf("cpu %.4f wall %.3f\n", cpu, wall.elapsed() / 1000.0);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    poll.start(100);
    return app.exec();
}

int runFloorIdle(int argc, char** argv, int idleSeconds)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 494);
    window.show();
    const double cpuStart = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(idleSeconds * 1000, [&] {
        std::printf("cpu %.4f wall %.3f\n", processCpuSeconds() - cpuStart,
                    wall.elapsed() / 1000.0);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}

QProcessEnvironment childEnvironment(const QString& configHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
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
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

double idleCpuPercent(const QStringList& args, const QString& configHome, int idleSeconds)
{
    QByteArray line;
    if (timeToFirstLine(args, configHome, &line, (idleSeconds + 20) * 1000) < 0)
        return -1;
    double cpu = 0;
    double wall = 0;
    if (std::sscanf(line.constData(), "cpu %lf wall %lf", &cpu, &wall) != 2 || wall <= 0)
        return -1;
    return 100.0 * cpu / wall;
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("--floor"))
        return runFloor(argc, argv);
    if (mode == QLatin1String("--app"))
        return runApp(argc, argv, false, 0);
    if (mode.startsWith(QLatin1String("--app-idle=")))
        return runApp(argc, argv, true, mode.mid(11).toInt(),
                      argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0);
    if (mode.startsWith(QLatin1String("--floor-idle=")))
        return runFloorIdle(argc, argv, mode.mid(13).toInt());

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLatin1(argv[1]).toInt()) : 7;
    const int idleSeconds = argc > 2 ? std::max(1, QString::fromLatin1(argv[2]).toInt()) : 10;
    QTemporaryDir configHome;

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
    std::printf("  ratio main window / floor: %.2f\n", appMedian / floorMedian);

    std::printf("idle CPU over %d s (process CPU time / wall time, %% of one core)\n",
                idleSeconds);
    const QString idleArg = QString::number(idleSeconds);
    const double floorIdle = idleCpuPercent({QStringLiteral("--floor-idle=") + idleArg},
                                            configHome.path(), idleSeconds);
    const double statusIdle = idleCpuPercent(
        {QStringLiteral("--app-idle=") + idleArg, QStringLiteral("0")}, configHome.path(),
        idleSeconds);
    const double paraIdle = idleCpuPercent(
        {QStringLiteral("--app-idle=") + idleArg, QStringLiteral("3")}, configHome.path(),
        idleSeconds);
    std::printf("  floor (empty window):                                     %5.2f %%\n",
                floorIdle);
    std::printf("  ORVANTE connected, status page (polls 20/s, draws):        %5.2f %%  "
                "(goal < 5 %%)\n",
                statusIdle);
    std::printf("  ORVANTE connected, parameter page (telemetry only, 2/s):   %5.2f %%\n",
                paraIdle);
    return 0;
}
