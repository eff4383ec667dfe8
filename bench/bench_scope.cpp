// The scope window over an hour of eight channels: the cost of taking one data reply, the
// time of one replot with the default 100 s window and with the whole hour in view (plain and
// with a selected graph), and the memory the recording holds. The replies are built as the
// transport leaves them (echoed frame id, float32 payload, padding, CRC) and handed to
// TaskDone; the page's clock is replaced by 50 ms steps so that an hour fits in seconds.
//
//   bench_scope [channels] [seconds]     (default 8 channels, 3600 s at 20 samples a second)
#include "pages/pagefcscope.h"
#include "protocol/frame.h"
#include "protocol/frameids.h"
#include "protocol/task.h"

#include <QApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>

#include <qcustomplot.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// The page on a clock that advances 50 ms per sample, as the page timer does.
class ReplayedScope : public PageFCScope
{
protected:
    double restartSampleClock() override { return 50; }
};

std::unique_ptr<FCProtocol::Task> finishedReply(int type, const QByteArray& payload)
{
    std::unique_ptr<FCProtocol::Task> task(new FCProtocol::Task(type, false));
    task->rxData = FCProtocol::Frame::finished(task->txData + payload);
    return task;
}

QByteArray samples(int channels, int n)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
    const double t = n * 0.05;
    for (int i = 0; i < channels; ++i) {
        // A slow swing with sensor noise: the worst case for drawing, every pixel column busy.
        const double noise = std::sin(n * 12.9898 + i * 78.233) * 43758.5453;
        stream << float((i + 1) * 10.0 * std::sin(t / (2.0 + i)) + (noise - std::floor(noise) - 0.5) * (i + 1));
    }
    return out;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Mean replotTime() of `rounds` immediate replots, and the mean wall time of the replot call.
void replots(QCustomPlot* plot, int rounds, double* replotMs, double* wallMs)
{
    plot->replot(QCustomPlot::rpImmediateRefresh); // buffers sized, caches warm
    double sum = 0;
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < rounds; ++i) {
        plot->replot(QCustomPlot::rpImmediateRefresh);
        sum += plot->replotTime();
    }
    *wallMs = wall.nsecsElapsed() / 1e6 / rounds;
    *replotMs = sum / rounds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int channels = argc > 1 ? QByteArray(argv[1]).toInt() : 8;
    const int seconds = argc > 2 ? QByteArray(argv[2]).toInt() : 3600;
    const int points = seconds * 20;
    constexpr int kRounds = 20;

    ReplayedScope page;
    page.show();
    QCoreApplication::processEvents();
    auto* plot = page.findChild<QCustomPlot*>(QStringLiteral("plot"));

    QByteArray names;
    for (int i = 0; i < channels; ++i)
        names += "channel" + QByteArray::number(i) + '\0';
    page.TaskDone(finishedReply(FCProtocol::SCOPE_NAME_RD, names + '\0').get());
    const long rssBefore = residentKiB();

    // Every reply as the transport leaves it; only the page's TaskDone is timed.
    qint64 takeNs = 0, lastThousandNs = 0;
    QElapsedTimer clock;
    for (int n = 0; n < points; ++n) {
        auto reply = finishedReply(FCProtocol::SCOPE_DATA_RD, samples(channels, n));
        clock.start();
        page.TaskDone(reply.get());
        const qint64 ns = clock.nsecsElapsed();
        takeNs += ns;
        if (n >= points - 1000)
            lastThousandNs += ns;
    }
    QCoreApplication::processEvents(); // the one queued replot
    const long rssAfter = residentKiB();

    // One reply at the end of the hour, its queued replot included, whole hour in view.
    plot->xAxis->setRange(0, seconds);
    clock.start();
    for (int i = 0; i < kRounds; ++i) {
        auto reply = finishedReply(FCProtocol::SCOPE_DATA_RD, samples(channels, points + i));
        page.TaskDone(reply.get());
        QCoreApplication::processEvents();
    }
    const double liveReplyMs = clock.nsecsElapsed() / 1e6 / kRounds;

    std::printf("scope benchmark: %d channels x %d points (%d s at 20 samples/s), device pixel ratio %.1f\n",
                channels, points, seconds, plot->devicePixelRatioF());
    std::printf("  take one data reply (TaskDone, replot queued): %.2f us mean, %.2f us over the last 1000\n",
                takeNs / 1e3 / points, lastThousandNs / 1e3 / 1000);
    std::printf("  one data reply with its replot, whole hour in view: %.2f ms\n", liveReplyMs);

    // The window at its initial size and enlarged; replotTime() in ms, the call's wall time in brackets.
    for (const QSize size : {page.size(), QSize(1600, 900)}) {
        page.resize(size);
        QCoreApplication::processEvents();
        double replot, wall;
        std::printf("  window %dx%d (plot %dx%d px):\n", size.width(), size.height(), plot->width(), plot->height());
        plot->setPlottingHint(QCP::phFastPolylines, true);
        plot->xAxis->setRange(0, 100);
        replots(plot, kRounds, &replot, &wall);
        std::printf("    replot, default 100 s window:       %6.2f ms (%.2f)\n", replot, wall);
        plot->xAxis->setRange(0, seconds);
        replots(plot, kRounds, &replot, &wall);
        std::printf("    replot, whole hour visible:         %6.2f ms (%.2f)\n", replot, wall);
        // A selected graph is drawn with the thicker selection pen.
        QCPGraph* graph = plot->graph(0);
        graph->setSelection(QCPDataSelection(graph->data()->dataRange()));
        replots(plot, kRounds, &replot, &wall);
        std::printf("    replot, whole hour, graph selected: %6.2f ms (%.2f)\n", replot, wall);
        plot->setPlottingHint(QCP::phFastPolylines, false);
        replots(plot, kRounds, &replot, &wall);
        std::printf("      same without fast polylines:      %6.2f ms (%.2f)\n", replot, wall);
        plot->setPlottingHint(QCP::phFastPolylines, true);
        graph->setSelection(QCPDataSelection());
        plot->setNotAntialiasedElements(QCP::aePlottables);
        replots(plot, kRounds, &replot, &wall);
        std::printf("      whole hour, graphs not antialiased (as while dragging): %6.2f ms\n", replot);
        plot->setNotAntialiasedElements(QCP::aeNone);
        for (int i = 0; i < plot->graphCount(); ++i)
            plot->graph(i)->setAdaptiveSampling(false);
        replots(plot, 3, &replot, &wall);
        std::printf("      whole hour without adaptive sampling: %6.2f ms\n", replot);
        for (int i = 0; i < plot->graphCount(); ++i)
            plot->graph(i)->setAdaptiveSampling(true);
    }

    const qint64 held = qint64(channels) * points * qint64(sizeof(QCPGraphData))
        + qint64(points) * qint64(sizeof(double) + sizeof(quint32));
    std::printf("  memory: recording holds %.1f MiB of samples and times; resident set grew by %.1f MiB\n",
                held / 1048576.0, (rssAfter - rssBefore) / 1024.0);
    std::printf("  goal: each replot under 10 ms\n");
    return 0;
}
