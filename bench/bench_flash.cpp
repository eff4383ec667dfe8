// Firmware update throughput: a 256 KiB image (128 blocks) written through the main window,
// the task run controller and the transport into the virtual flight controller with full-speed
// USB timing (1 ms per 64-byte report, 0.5 ms processing, the board off the bus for 300 ms when
// it restarts). The page sends at most one block per 50 ms tick, so 128 blocks take at least
// 128 x 50 ms; the figures say how close the update comes to that bound.
//
//   build/bench/bench_flash [runs, default 3]
//
// With BENCH_FLASH_TRACE set, each run also prints its timeline and where the time between
// blocks goes: round trips, those that waited for a telemetry read, and how many ticks apart
// the blocks went out.

#include "flashrun.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace FlashBench;

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // The setup history too: a bench never writes into the user's own folders.
    qputenv("XDG_DATA_HOME", (config.path() + QStringLiteral("/data")).toLocal8Bit());
    // And the controller's lock: the virtual controller of a bench run beside it is another.
    qputenv("XDG_RUNTIME_DIR", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 3;

    constexpr int kBlocks = 128;
    constexpr double kBoundMs = kBlocks * 50.0;
    VirtualFC::reset();
    VirtualFC::setFastTiming(false);
    std::printf("image %d KiB (%d blocks), report 1000 us, processing 500 us, telemetry every 500 ms\n",
                kBlocks * 2, kBlocks);
    std::printf("bound: one block per 50 ms tick = %.0f ms\n\n", kBoundMs);
    std::printf("run  confirm->VERIFY  ratio  first block->VERIFY  ratio(127 ticks)  blocks sent  block round trip  update  CPU\n");

    const QString path = config.filePath(QStringLiteral("fw.bin"));
    FlashApp window;
    if (!window.openFirmwarePage()) {
        std::printf("no controller\n");
        return 1;
    }
    int failures = 0;
    for (int run = 1; run <= runs; ++run) {
        const QByteArray image = imageOf(kBlocks, run);
        storeImage(path, 0xF0300106 + quint32(run), image);
        window.resetTimeline();
        const double cpuStart = processCpuSeconds();
        if (!window.pressUpdate()) {
            std::printf("%3d  the update did not start\n", run);
            ++failures;
            continue;
        }
        waitFor([&] { return window.ended() && window.page->update()->step() == FirmwareUpdate::Idle; },
                                  120000);
        const double wallMs = window.clock.nsecsElapsed() / 1e6;
        const double cpu = processCpuSeconds() - cpuStart;
        const bool done = window.succeeded();
        const bool flashed = VirtualFC::flash() == image;
        if (!done || !flashed || window.confirmAt < 0 || window.verifyAt < 0) {
            std::printf("%3d  failed (done %d, flash %d)\n", run, done, flashed);
            ++failures;
            continue;
        }
        if (qEnvironmentVariableIsSet("BENCH_FLASH_TRACE"))
            std::printf("     confirm %.0f  first block %.0f  verify %.0f  end %.0f ms\n", window.confirmAt / 1e6,
                        window.firstBlockAt / 1e6, window.verifyAt / 1e6, window.endedAt / 1e6);
        if (qEnvironmentVariableIsSet("BENCH_FLASH_TRACE"))
            std::printf("     %s\n", qPrintable(window.traceLine()));
        const double fromConfirm = (window.verifyAt - window.confirmAt) / 1e6;
        const double fromFirst = (window.verifyAt - window.firstBlockAt) / 1e6;
        std::printf("%3d  %10.0f ms  %5.3f  %14.0f ms  %12.3f  %11d  %13.1f ms  %5.1f s  %4.1f%%\n", run,
                    fromConfirm, fromConfirm / kBoundMs, fromFirst, fromFirst / ((kBlocks - 1) * 50.0),
                    window.blockRequests, window.roundTrips / 1e6 / qMax(1, window.confirmedBlocks),
                    wallMs / 1000, 100.0 * cpu / (wallMs / 1000));
    }
    return failures ? 1 : 0;
}
