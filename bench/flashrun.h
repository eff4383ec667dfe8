#pragma once

// What the firmware benchmarks share: a .bin file, the main window on its firmware page with a
// timeline of the update, and OK for every question the update asks.

#include "app/fcapp.h"
#include "pages/pagefcfirmware.h"
#include "protocol/crc16.h"
#include "protocol/task.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDataStream>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace FlashBench {

inline double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline QByteArray imageOf(int blocks, int seed)
{
    QByteArray image(blocks * 2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 31 + seed * 17 + i / 2048) & 0xFF);
    return image;
}

// Writes the .bin for `image` and stores it as the firmware page's file.
inline bool storeImage(const QString& path, quint32 version, const QByteArray& image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(0x1234ABCD) << version << FCProtocol::crc16(image.constData(), 0, image.size())
        << qint32(image.size());
    bytes += image;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    QSettings().setValue(QStringLiteral("firmware/path"), path);
    return true;
}

// Runs the event loop until `done` holds or `ms` pass; true if it held. Looks every 5 ms and
// sleeps in between, so the figures measure the program, not this loop.
inline bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer look;
    look.setInterval(5);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (done() || clock.elapsed() > ms)
            loop.quit();
    });
    look.start();
    if (!done())
        loop.exec();
    return done();
}

// The main window with a record of when the update reached each point.
class FlashApp : public FCApp
{
public:
    FlashApp()
    {
        page = findChild<PageFCFirmware*>(QStringLiteral("pageFCFirmware"));
        QObject::connect(page, &PageFCFirmware::boot_state_changed, [this](bool start) {
            if (!start)
                endedAt = clock.nsecsElapsed();
        });
        QObject::connect(page, &PageFC::AddTask, [this](FCProtocol::Task* task) {
            if (task->type == FCProtocol::BLOCK_PROG) {
                ++blockRequests;
                blockSentAt = clock.nsecsElapsed();
                sends.push_back(blockSentAt);
                infoSinceSend = false;
            }
            if (task->type == FCProtocol::VERIFY && verifyAt < 0)
                verifyAt = clock.nsecsElapsed();
        });
        // OK to every question on the way.
        answerer.setInterval(5);
        QObject::connect(&answerer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        answerer.start();
    }

    PageFCFirmware* page;
    QElapsedTimer clock;
    qint64 confirmAt = -1;    // the jump into the bootloader confirmed
    qint64 firstBlockAt = -1; // the first block confirmed by the bootloader
    qint64 verifyAt = -1;     // the first VERIFY request
    qint64 endedAt = -1;      // the page released the main window
    int blockRequests = 0;
    qint64 blockSentAt = -1;
    qint64 roundTrips = 0;    // sum over confirmed blocks of request-to-confirmation time
    int confirmedBlocks = 0;
    // For the trace: when each block request went out, each confirmed block's round trip, and
    // how many of those waited for a telemetry read that finished before them.
    std::vector<qint64> sends;
    std::vector<qint64> trips;
    int tripsBehindInfo = 0;
    bool infoSinceSend = false;

    void resetTimeline()
    {
        clock.start();
        confirmAt = firstBlockAt = verifyAt = endedAt = blockSentAt = -1;
        blockRequests = confirmedBlocks = tripsBehindInfo = 0;
        roundTrips = 0;
        sends.clear();
        trips.clear();
        infoSinceSend = false;
    }

    // The update has ended, in success or failure.
    bool ended() const { return endedAt >= 0; }
    bool succeeded() const { return ended() && page->update()->progressState() == 4; }

    bool openFirmwarePage()
    {
        show();
        if (!waitFor([this] { return isConnected(); }, 10000))
            return false;
        findChild<QRadioButton*>(QStringLiteral("radioButton_page5"))->click();
        return waitFor([this] { return page->update()->linkOk(); }, 10000);
    }

    bool pressUpdate()
    {
        if (!waitFor([this] { return page->update()->linkOk(); }, 20000))
            return false;
        page->findChild<QPushButton*>(QStringLiteral("pushButton_update"))->click();
        return page->update()->step() != FirmwareUpdate::Idle;
    }

    QString progressText() const
    {
        return page->findChild<QLabel*>(QStringLiteral("label_progress_info"))->text();
    }

protected:
    void deliverTask(PageFC* to, FCProtocol::Task* task) override
    {
        // A confirmation may send the next block at once, from inside the delivery.
        const qint64 sentAt = blockSentAt;
        FCApp::deliverTask(to, task);
        if (to != page)
            return;
        const qint64 now = clock.nsecsElapsed();
        if (confirmAt < 0 && page->update()->step() == FirmwareUpdate::Program)
            confirmAt = now;
        if (firstBlockAt < 0 && task->type == FCProtocol::BLOCK_PROG && page->update()->blockIndex() > 0)
            firstBlockAt = now;
        if (task->type == FCProtocol::BLOCK_PROG && task->status == 0 && sentAt >= 0) {
            roundTrips += now - sentAt;
            ++confirmedBlocks;
            trips.push_back(now - sentAt);
            tripsBehindInfo += infoSinceSend ? 1 : 0;
        }
        if (task->type == FCProtocol::INFO_RD)
            infoSinceSend = true;
    }

public:
    // One line on where the time between block requests goes: the round trips (all, and those
    // that did not wait for a telemetry read) and how many ticks apart the requests went out.
    QString traceLine() const
    {
        auto ms = [](qint64 ns) { return QString::number(ns / 1e6, 'f', 1); };
        std::vector<qint64> sorted = trips;
        std::sort(sorted.begin(), sorted.end());
        const auto over = std::count_if(trips.begin(), trips.end(), [](qint64 t) { return t > 50000000; });
        int ticks[4] = {0, 0, 0, 0};
        qint64 minGap = -1, maxGap = -1;
        for (size_t i = 1; i < sends.size(); ++i) {
            const qint64 gap = sends[i] - sends[i - 1];
            ++ticks[std::min<qint64>(3, std::max<qint64>(0, (gap + 25000000) / 50000000 - 1))];
            if (gap < 75000000) {
                minGap = minGap < 0 ? gap : std::min(minGap, gap);
                maxGap = std::max(maxGap, gap);
            }
        }
        QString line = QStringLiteral("round trip");
        if (!sorted.empty())
            line += QStringLiteral(" min %1 median %2 max %3 ms, %4 over 50 ms, %5 behind telemetry;")
                        .arg(ms(sorted.front()), ms(sorted[sorted.size() / 2]), ms(sorted.back()))
                        .arg(over)
                        .arg(tripsBehindInfo);
        line += QStringLiteral(" requests 1/2/3/4+ ticks apart: %1/%2/%3/%4, one-tick gaps %5..%6 ms")
                    .arg(ticks[0]).arg(ticks[1]).arg(ticks[2]).arg(ticks[3])
                    .arg(ms(minGap), ms(maxGap));
        return line;
    }

private:
    QTimer answerer;
};

} // namespace FlashBench
