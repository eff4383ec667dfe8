// Link throughput and CPU cost against the virtual flight controller with full-speed USB
// timing (1 ms per 64-byte report, 0.5 ms processing), and CRC-16 throughput.
//
//   build/bench/bench_link [seconds per run, default 3]
//
// Runs the receive loop side by side in the ways it can wait: polling without pausing,
// polling with a pause between empty reads, and the transport's own way (sleeping in
// hid_read_timeout, polling only the last part of a millisecond).

#include "protocol/crc16.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct LinkFigures {
    double transactionsPerSecond;
    double cpuPercent;
    int failures;
};

// Keeps the controller saturated with INFO_RD tasks for `seconds`.
LinkFigures saturate(bool blockingWait, int idlePollMicros, double seconds)
{
    QtUsbHID::setBlockingWait(blockingWait);
    QtUsbHID::setIdlePollMicros(idlePollMicros);
    TRController controller;
    int completed = 0;
    int failures = 0;
    bool running = true;
    QEventLoop loop;

    std::function<void()> issue = [&] {
        auto* task = new FCProtocol::Task(FCProtocol::INFO_RD, false);
        QObject::connect(task, &FCProtocol::Task::TaskDone, [&](FCProtocol::Task* done) {
            ++completed;
            if (done->status != 0)
                ++failures;
            done->deleteLater();
            if (running)
                issue();
            else
                loop.quit();
        });
        controller.AddTask(task);
    };

    // Warm up: open the device outside the measured window.
    issue();
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    const int warmup = completed;

    QElapsedTimer wall;
    wall.start();
    const double cpuStart = processCpuSeconds();
    QTimer::singleShot(int(seconds * 1000), [&] { running = false; });
    loop.exec();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double cpu = processCpuSeconds() - cpuStart;
    return {(completed - warmup) / elapsed, 100.0 * cpu / elapsed, failures};
}

double crcMegabytesPerSecond()
{
    QByteArray buffer(1 << 20, '\0');
    for (int i = 0; i < buffer.size(); ++i)
        buffer[i] = char((i * 131) ^ (i >> 7));
    QElapsedTimer timer;
    timer.start();
    int rounds = 0;
    volatile quint16 sink = 0;
    while (timer.elapsed() < 1000) {
        sink = sink ^ FCProtocol::crc16(buffer.constData(), 0, buffer.size());
        ++rounds;
    }
    return rounds / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? QByteArray(argv[1]).toDouble() : 3.0;
    qSetMessagePattern(QStringLiteral("%{if-warning}%{message}%{endif}%{if-critical}%{message}%{endif}"));

    const int reportMicros = 1000;
    const int processingMicros = 500;
    VirtualFC::reset();
    VirtualFC::setTiming(reportMicros, processingMicros);

    // One report out, the board's processing, one report in, then the 10 ms of silence that
    // ends every reply: no receive loop can finish a transaction sooner.
    const double ceiling =
        1e6 / (reportMicros + processingMicros + reportMicros + QtUsbHID::kEndOfReplyGapMs * 1000.0);

    std::printf("Conditions: virtual controller, 1000 us per 64-byte report, 500 us processing,\n"
                "            INFO_RD stream through TRController, %.1f s per run\n", seconds);
    std::printf("Protocol ceiling: %.1f transactions/s\n\n", ceiling);
    std::printf("%-28s %12s %12s %14s %9s\n", "receive loop", "trans/s", "of ceiling",
                "CPU % of core", "failures");

    const int defaultPause = QtUsbHID::idlePollMicros();
    struct Way {
        bool blocking;
        int pause;
    };
    for (const Way way : {Way{false, 0}, Way{false, 100}, Way{false, 250}, Way{false, 400}, Way{false, 1000},
                          Way{true, defaultPause}}) {
        const LinkFigures figures = saturate(way.blocking, way.pause, seconds);
        const QString name = way.blocking ? QStringLiteral("blocking wait (transport)")
            : way.pause == 0             ? QStringLiteral("busy poll (no pause)")
                                         : QStringLiteral("poll, pause %1 us").arg(way.pause);
        std::printf("%-28s %12.1f %11.1f%% %14.1f %9d\n", qPrintable(name),
                    figures.transactionsPerSecond, 100 * figures.transactionsPerSecond / ceiling,
                    figures.cpuPercent, figures.failures);
    }
    std::printf("\nCRC-16/MODBUS over 1 MiB buffers: %.1f MB/s\n", crcMegabytesPerSecond());
    QtUsbHID::setIdlePollMicros(defaultPause);
    QtUsbHID::setBlockingWait(true);
    return 0;
}
