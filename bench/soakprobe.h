#pragma once

// What the soaks measure about this process and the set-up they share: the real main window,
// started as the demo program starts it, against the virtual flight controller at real
// (full-speed USB) timing, with a settings folder of its own.

#include "app/appstartup.h"
#include "app/fcapp.h"
#include "virtualfc.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace SoakProbe {

// Resident memory in KiB (/proc/self/statm).
inline long residentKiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline int openHandles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

inline int threads()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::NoDotAndDotDot | QDir::Dirs).size());
}

// Runs the event loop until `done` holds or `ms` pass, looking every `sliceMs` at most; false
// on time-out.
inline bool waitFor(const std::function<bool()>& done, int ms, int sliceMs = 5)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, sliceMs);
    }
    return true;
}

// The virtual controller keeps every report and frame for the tests (up to 50000 of each), some
// megabytes over a long run. A soak measures the window's memory, so it empties those records
// now and then with drain(), keeping their counts here.
struct LinkCounts {
    long requests = 0;
    long opens = 0;
    long closes = 0;
    long failedOpens = 0;

    // Forgets what happened before.
    void start()
    {
        VirtualFC::clearRecords();
        *this = LinkCounts();
    }

    void drain()
    {
        requests += VirtualFC::requests().size();
        opens += VirtualFC::openCount();
        closes += VirtualFC::closeCount();
        failedOpens += VirtualFC::failedOpenCount();
        VirtualFC::clearRecords();
    }
};

// The seconds a soak runs: the first argument, else `fallback`.
inline int seconds(int argc, char** argv, int fallback)
{
    const int s = argc > 1 ? std::atoi(argv[1]) : fallback;
    return s > 0 ? s : fallback;
}

// The application as main() builds it. Construct before anything else of Qt.
struct App {
    QTemporaryDir settings; // never the user's own settings
    std::unique_ptr<QApplication> app;
    std::unique_ptr<AppStartup> startup;
    std::unique_ptr<FCApp> window;

    App(int& argc, char** argv)
    {
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", (settings.path() + QStringLiteral("/data")).toLocal8Bit());
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The soak prints its own figures; the link's debug lines would drown them.
        qputenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false");
        VirtualFC::reset(); // realistic timing: 1 ms per report, 0.5 ms processing
        AppStartup::followScreenScale();
        app = std::make_unique<QApplication>(argc, argv);
        startup = std::make_unique<AppStartup>(*app);
        window = std::make_unique<FCApp>(nullptr);
        window->show();
    }

    QString strip() const
    {
        return window->findChild<QLabel*>(QStringLiteral("label_usb"))->text();
    }
    bool connected() const { return strip() == FCApp::tr("Connected"); }
    bool disconnected() const { return strip() == FCApp::tr("Disconnected"); }
};

} // namespace SoakProbe
