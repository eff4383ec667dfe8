// Soak: the link saturated for a long time while 1% of the replies come corrupted (wrong CRC,
// wrong echo or wrong length), 1% are lost and 1% come late (after the reply wait), against
// the real main window at real USB timing (the status page polling, the telemetry running).
//
//   build/bench/bench_soak_faults [seconds, default 600]
//
// Besides the window's own polls, a chain of parameter writes keeps the queue from ever
// running empty: each write carries a record of its own (a sequence number and a gain made
// from it), and the controller answers with the record it stored. Every successful reply is
// checked against its own request: the echoed frame id, and for the writes the whole record.
// Prints the count of each status code, the faults injected and the desynchronisations
// (replies accepted for another request): there must be none. Exit status 1 otherwise.

#include "soakprobe.h"
#include "pages/pagefc.h"
#include "protocol/dspara.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"

#include <QRandomGenerator>
#include <QTimer>

#include <map>
#include <set>

namespace {

using FCProtocol::Task;

struct Soak {
    SoakProbe::App& app;
    TRController* controller;
    QRandomGenerator random{20261208};
    std::map<int, long> statuses;       // over every checked transaction
    std::map<int, long> writeStatuses;  // the chain's writes alone
    long checked = 0;
    long desynchronised = 0;
    long corruptions = 0, losses = 0, lates = 0;
    long dropped = 0;
    quint16 sequence = 0;
    std::set<Task*> chain; // writes issued and not finished yet
    // The context of every connection made here: they end with the soak, before the window
    // deletes the tasks still waiting.
    QObject context;

    explicit Soak(SoakProbe::App& app)
        : app(app)
        , controller(app.window->controller())
    {
    }

    static bool echoes(const Task* task)
    {
        return task->rxData.size() >= task->headLength
            && (quint8(task->rxData[0]) & 0x7F) == quint8(task->txData[0])
            && task->rxData.mid(1, task->headLength - 1) == task->txData.mid(1, task->headLength - 1);
    }

    // After every transaction: arm one fault for the next with 1% each.
    void maybeInjectFault()
    {
        const quint32 roll = random.bounded(100u);
        if (roll == 0) {
            static const VirtualFC::Fault kinds[] = {VirtualFC::Fault::BadCrc, VirtualFC::Fault::BadEcho,
                                                     VirtualFC::Fault::BadLength};
            VirtualFC::setFault(kinds[random.bounded(3u)], 1);
            ++corruptions;
        } else if (roll == 1) {
            VirtualFC::setFault(VirtualFC::Fault::NoAnswer, 1);
            ++losses;
        } else if (roll == 2) {
            // 1000 ms reply wait + 100 ms: the reply arrives after the host gave up on it.
            VirtualFC::setFault(VirtualFC::Fault::LateReply, 1, 1100);
            ++lates;
        }
    }

    void check(Task* task)
    {
        ++checked;
        ++statuses[task->status];
        if (task->status == Task::Success && !echoes(task)) {
            ++desynchronised;
            std::printf("desynchronised: type %d got %s\n", task->type, task->rxData.left(8).toHex().constData());
        }
        maybeInjectFault();
    }

    // Every task a page emits is checked as well: the page's link to the main window is routed
    // through here, so the check is attached before the window queues the task (the queue may
    // delete a repeated poll at once).
    void watchPage(PageFC* page)
    {
        QObject::disconnect(page, &PageFC::AddTask, app.window.get(), nullptr);
        QObject::connect(page, &PageFC::AddTask, &context, [this](Task* task) {
            QObject::connect(task, &Task::TaskDone, &context, [this](Task* t) { check(t); });
            QMetaObject::invokeMethod(app.window.get(), "PreAddTask", Qt::DirectConnection,
                                      Q_ARG(FCProtocol::Task*, task));
        });
    }

    void issueWrite()
    {
        FCProtocol::DS_PARA record;
        ++sequence;
        record.avxy_max = qint16(sequence);
        record.simple_avx = qint16(sequence ^ 0x5A5A);
        record.expert_avx_p = float(sequence) / 64.0f;
        auto* task = new Task(FCProtocol::PARA_WR, false);
        record.write(task->txStream);
        chain.insert(task);
        QObject::connect(task, &Task::TaskDone, &context, [this, record](Task* t) {
            chain.erase(t);
            check(t);
            ++writeStatuses[t->status];
            if (t->status == Task::Success) {
                FCProtocol::DS_PARA echoed;
                if (!FCProtocol::DS_PARA::decode(t->rxData.mid(t->headLength), &echoed) || echoed != record) {
                    ++desynchronised;
                    std::printf("desynchronised: write %u answered with another record\n", unsigned(quint16(record.avxy_max)));
                }
            }
            t->deleteLater();
            issueWrite();
        });
        // A write the queue deleted never finishes: the chain goes on without it.
        QObject::connect(task, &QObject::destroyed, &context, [this, task] {
            if (chain.erase(task)) {
                ++dropped;
                QTimer::singleShot(0, &context, [this] { issueWrite(); });
            }
        });
        controller->AddTask(task);
    }
};

} // namespace

int main(int argc, char** argv)
{
    const int seconds = SoakProbe::seconds(argc, argv, 600);
    SoakProbe::App a(argc, argv);
    if (!SoakProbe::waitFor([&] { return a.connected(); }, 10000)) {
        std::printf("never connected\n");
        return 1;
    }
    Soak soak(a);
    for (PageFC* page : a.window->findChildren<PageFC*>())
        soak.watchPage(page);
    SoakProbe::LinkCounts link;
    link.start();
    const long rssStart = SoakProbe::residentKiB();
    std::printf("saturated link for %d s, real timing, 1%% corrupted, 1%% lost, 1%% late\n", seconds);
    std::fflush(stdout);

    QElapsedTimer clock;
    clock.start();
    soak.issueWrite();
    qint64 nextReport = 60000;
    qint64 nextDrain = 5000;
    SoakProbe::waitFor([&] {
        if (clock.elapsed() >= nextDrain) {
            nextDrain += 5000;
            link.drain();
        }
        if (clock.elapsed() >= nextReport) {
            nextReport += 60000;
            std::printf("%4lld s: %ld transactions checked, %ld desynchronised, resident %ld KiB\n",
                        clock.elapsed() / 1000, soak.checked, soak.desynchronised, SoakProbe::residentKiB());
            std::fflush(stdout);
        }
        return clock.elapsed() >= seconds * 1000LL;
    }, seconds * 1000 + 1000);
    const qint64 elapsed = clock.elapsed();
    link.drain();
    const long requests = link.requests;

    std::printf("requests sent: %ld (%.1f per second), %ld checked (the window's own telemetry reads are not)\n",
                requests, requests * 1000.0 / elapsed, soak.checked);
    std::printf("faults armed: %ld corrupted, %ld lost, %ld late\n", soak.corruptions, soak.losses, soak.lates);
    std::printf("status codes of the checked transactions:");
    for (const auto& entry : soak.statuses)
        std::printf("  %d: %ld", entry.first, entry.second);
    std::printf("\nstatus codes of the parameter writes:      ");
    for (const auto& entry : soak.writeStatuses)
        std::printf("  %d: %ld", entry.first, entry.second);
    std::printf("\nwrites deleted unfinished by the queue: %ld\n", soak.dropped);
    std::printf("resident %ld KiB at the start, %ld KiB at the end\n", rssStart, SoakProbe::residentKiB());
    std::printf("desynchronised replies: %ld\n", soak.desynchronised);
    const bool ok = soak.desynchronised == 0 && soak.statuses[Task::Success] > 0;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
