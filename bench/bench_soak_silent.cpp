// Soak: a controller that stops answering for a long time, against the real main window at
// real USB timing. Every transaction then waits its whole reply wait while the shown page and
// the telemetry keep asking; the pages take turns every minute (status, radio, parameter).
//
//   build/bench/bench_soak_silent [seconds, default 600]
//
// Prints the waiting queue's largest length (it must never exceed 10), resident memory at the
// start and the end of the silence (it must stay flat), open handles and threads, and how long
// the strip took to show "Disconnected" and, once the controller answers again, "Connected".
// Exit status 1 if the queue ever held more than 10 tasks or the strip did not follow.

#include "soakprobe.h"
#include "usb/trcontroller.h"

#include <QAbstractButton>
#include <QTimer>

#include <algorithm>

int main(int argc, char** argv)
{
    const int seconds = SoakProbe::seconds(argc, argv, 600);
    SoakProbe::App a(argc, argv);
    TRController* controller = a.window->controller();

    if (!SoakProbe::waitFor([&] { return a.connected(); }, 10000)) {
        std::printf("never connected\n");
        return 1;
    }
    SoakProbe::waitFor([] { return false; }, 3000); // settle: every page built, caches filled
    SoakProbe::LinkCounts link;
    link.start();

    const long rssStart = SoakProbe::residentKiB();
    const int handlesStart = SoakProbe::openHandles();
    const int threadsStart = SoakProbe::threads();
    std::printf("silent controller for %d s, real timing, pages cycling status/radio/parameter\n", seconds);
    std::printf("start: resident %ld KiB, %d open handles, %d threads\n", rssStart, handlesStart, threadsStart);
    std::fflush(stdout);

    VirtualFC::setFault(VirtualFC::Fault::NoAnswer, -1);
    QElapsedTimer silence;
    silence.start();
    qint64 disconnectedAfter = -1;
    int queueMax = 0;
    long rssMax = rssStart;
    long samples = 0;
    const char* pages[] = {"radioButton_page1", "radioButton_page3", "radioButton_page4"};
    int page = 0;
    qint64 nextReport = 60000;

    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        ++samples;
        queueMax = std::max(queueMax, controller->waitingCount());
        if (disconnectedAfter < 0 && a.disconnected())
            disconnectedAfter = silence.elapsed();
        if (silence.elapsed() >= nextReport) {
            nextReport += 60000;
            link.drain();
            const long rss = SoakProbe::residentKiB();
            rssMax = std::max(rssMax, rss);
            std::printf("%4lld s: queue max %d, resident %ld KiB, %d handles, %d threads, strip \"%s\"\n",
                        silence.elapsed() / 1000, queueMax, rss, SoakProbe::openHandles(),
                        SoakProbe::threads(), qPrintable(a.strip()));
            std::fflush(stdout);
            page = (page + 1) % 3;
            a.window->findChild<QAbstractButton*>(QLatin1String(pages[page]))->click();
        }
    });
    sampler.start(10);
    SoakProbe::waitFor([&] { return silence.elapsed() >= seconds * 1000LL; }, seconds * 1000 + 1000);
    sampler.stop();

    const long rssEnd = SoakProbe::residentKiB();
    const int handlesEnd = SoakProbe::openHandles();
    const int threadsEnd = SoakProbe::threads();
    link.drain();
    const long requestsSilent = link.requests;

    VirtualFC::clearFault(VirtualFC::Fault::NoAnswer);
    QElapsedTimer back;
    back.start();
    const bool reconnected = SoakProbe::waitFor([&] { return a.connected(); }, 5000);

    std::printf("end:   resident %ld KiB (%+ld KiB, largest %ld), %d open handles, %d threads\n", rssEnd,
                rssEnd - rssStart, rssMax, handlesEnd, threadsEnd);
    std::printf("queue: largest %d waiting tasks in %ld samples every 10 ms (bound 10)\n", queueMax, samples);
    std::printf("link:  %ld requests sent while silent (one per reply wait: about %d)\n", requestsSilent, seconds);
    std::printf("strip: \"Disconnected\" %lld ms after the silence began, \"Connected\" %s %lld ms after it answered again\n",
                disconnectedAfter, reconnected ? "" : "NOT", back.elapsed());
    const bool ok = queueMax <= TRController::kQueueCapacity && disconnectedAfter >= 0 && reconnected;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
