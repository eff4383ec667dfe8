// Firmware update soak: updates in a row through the main window against the virtual flight
// controller, with faults drawn from a fixed seed: lost replies, bad CRCs, refused blocks and
// the board dropping off the bus in the middle of a block. Every update writes a new image; it
// counts when it ends with "Update success" and the controller's flash equal to the image.
//
//   build/bench/bench_flashsoak [updates, default 50] [seed, default 20261208]

#include "flashrun.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace FlashBench;
using VirtualFC::Fault;

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (config.path() + QStringLiteral("/data")).toLocal8Bit());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    const int updates = argc > 1 ? qMax(1, atoi(argv[1])) : 50;
    const quint32 seed = argc > 2 ? quint32(strtoul(argv[2], nullptr, 10)) : 20261208u;

    constexpr int kBlocks = 16; // 32 KiB
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setBusDropTiming(50, 300);
    std::printf("%d updates of %d KiB, seed %u, fast link timing; faults: 3%% replies lost, 3%% bad "
                "CRC, 3%% blocks refused, 1%% of blocks with the bus dropping for 500 ms\n\n",
                updates, kBlocks * 2, seed);

    const QString path = config.filePath(QStringLiteral("fw.bin"));
    FlashApp window;
    if (!window.openFirmwarePage()) {
        std::printf("no controller\n");
        return 1;
    }
    VirtualFC::setRandomSeed(seed);
    VirtualFC::setFaultChance(Fault::NoAnswer, 3);
    VirtualFC::setFaultChance(Fault::BadCrc, 3);
    VirtualFC::setFaultChance(Fault::RefuseBlock, 3, 0, FCProtocol::BLOCK_PROG);
    VirtualFC::setFaultChance(Fault::BusDrop, 1, 500, FCProtocol::BLOCK_PROG);

    int good = 0;
    double longest = 0;
    double total = 0;
    for (int n = 1; n <= updates; ++n) {
        const QByteArray image = imageOf(kBlocks, 100 + n);
        storeImage(path, 0xF0300100 + quint32(n), image);
        window.resetTimeline();
        if (!window.pressUpdate()) {
            std::printf("%3d  did not start\n", n);
            continue;
        }
        waitFor([&] { return window.ended() && window.page->update()->step() == FirmwareUpdate::Idle; },
                                  300000);
        const double seconds = window.clock.nsecsElapsed() / 1e9;
        const bool done = window.succeeded();
        const bool flashed = VirtualFC::flash() == image;
        good += done && flashed;
        longest = qMax(longest, seconds);
        total += seconds;
        std::printf("%3d  %-7s flash %s  %6.1f s  %3d blocks sent\n", n, done ? "success" : "STUCK",
                    flashed ? "= image" : "WRONG  ", seconds, window.blockRequests);
        std::fflush(stdout);
    }
    std::printf("\n%d of %d updates ended with flash equal to the image; longest %.1f s, mean %.1f s\n",
                good, updates, longest, total / updates);
    return good == updates ? 0 : 1;
}
