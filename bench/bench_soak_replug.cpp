// Soak: the controller unplugged and plugged in again, over and over, against the real main
// window at real USB timing (the status page shown).
//
//   build/bench/bench_soak_replug [cycles, default 100]
//
// Each cycle unplugs, waits for "Disconnected", holds a second, plugs in, waits for
// "Connected" and holds a second. Prints the slowest and mean time the strip took to follow
// (bound: one second), and open handles (/proc/self/fd), threads and resident memory after
// the first cycle and after the last (no growth). Exit status 1 if the strip missed the
// bound or a handle or thread was left behind.

#include "soakprobe.h"

#include <algorithm>

int main(int argc, char** argv)
{
    const int cycles = SoakProbe::seconds(argc, argv, 100);
    SoakProbe::App a(argc, argv);
    if (!SoakProbe::waitFor([&] { return a.connected(); }, 10000)) {
        std::printf("never connected\n");
        return 1;
    }
    SoakProbe::waitFor([] { return false; }, 2000);
    SoakProbe::LinkCounts link;
    link.start();
    std::printf("%d unplug/replug cycles, real timing, status page\n", cycles);
    std::fflush(stdout);

    qint64 slowestOff = 0, slowestOn = 0, totalOff = 0, totalOn = 0;
    int late = 0;
    long rssFirst = 0;
    int handlesFirst = 0, threadsFirst = 0;
    QElapsedTimer clock;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        VirtualFC::setPlugged(false);
        clock.start();
        if (!SoakProbe::waitFor([&] { return a.disconnected(); }, 5000)) {
            std::printf("cycle %d: still \"%s\" 5 s after unplugging\n", cycle, qPrintable(a.strip()));
            return 1;
        }
        const qint64 off = clock.elapsed();
        SoakProbe::waitFor([] { return false; }, 1000);

        VirtualFC::setPlugged(true);
        clock.start();
        if (!SoakProbe::waitFor([&] { return a.connected(); }, 5000)) {
            std::printf("cycle %d: still \"%s\" 5 s after plugging in\n", cycle, qPrintable(a.strip()));
            return 1;
        }
        const qint64 on = clock.elapsed();
        SoakProbe::waitFor([] { return false; }, 1000);

        slowestOff = std::max(slowestOff, off);
        slowestOn = std::max(slowestOn, on);
        totalOff += off;
        totalOn += on;
        if (off > 1000 || on > 1000)
            ++late;
        link.drain();
        if (cycle == 1) {
            rssFirst = SoakProbe::residentKiB();
            handlesFirst = SoakProbe::openHandles();
            threadsFirst = SoakProbe::threads();
        }
        if (cycle == 1 || cycle % 10 == 0) {
            std::printf("cycle %3d: Disconnected after %lld ms, Connected after %lld ms; resident %ld KiB, %d handles, %d threads\n",
                        cycle, off, on, SoakProbe::residentKiB(), SoakProbe::openHandles(), SoakProbe::threads());
            std::fflush(stdout);
        }
    }
    const long rssLast = SoakProbe::residentKiB();
    const int handlesLast = SoakProbe::openHandles();
    const int threadsLast = SoakProbe::threads();
    std::printf("strip: \"Disconnected\" slowest %lld ms, mean %lld ms; \"Connected\" slowest %lld ms, mean %lld ms; %d of %d cycles over 1 s\n",
                slowestOff, totalOff / cycles, slowestOn, totalOn / cycles, late, cycles);
    std::printf("after cycle 1: %d handles, %d threads, resident %ld KiB\n", handlesFirst, threadsFirst, rssFirst);
    std::printf("after cycle %d: %d handles, %d threads, resident %ld KiB (%+ld KiB)\n", cycles, handlesLast,
                threadsLast, rssLast, rssLast - rssFirst);
    std::printf("virtual controller: %ld opens, %ld closes, %ld refused opens\n", link.opens, link.closes,
                link.failedOpens);
    const bool ok = late == 0 && handlesLast <= handlesFirst && threadsLast <= threadsFirst;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
