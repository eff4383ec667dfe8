#pragma once

#include "app/fcapp.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QAbstractButton>
#include <QPointer>
#include <QtTest>

#include <functional>
#include <memory>

// The main window up over a freshly reset virtual controller with fast report timing. With a
// telemetry interval of 0 both timers are stopped and only the test's own tasks travel;
// otherwise the pages tick every 50 ms as in the product and the telemetry every
// `telemetryMs` (faster than the product's 500 ms keeps a test quick; the behaviour is the
// same). Shown unless asked not to: a shown firmware page reads the version on its own.
// `board` sets the controller up before the window opens (its first telemetry read goes out
// at once).
template <typename App = FCApp>
class MainWindowUp
{
public:
    explicit MainWindowUp(int telemetryMs = 0, bool shown = true, const std::function<void()>& board = {})
    {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        if (board)
            board();
        app = std::make_unique<App>();
        if (telemetryMs == 0) {
            app->infoTimer()->stop();
            app->pageTimer()->stop();
        } else {
            app->infoTimer()->setInterval(telemetryMs);
        }
        if (shown) {
            app->show();
            exposed = QTest::qWaitForWindowExposed(app.get());
        }
    }

    std::unique_ptr<App> app;
    bool exposed = false;

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        T* found = app->template findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("the main window has no %s", name);
        return found;
    }

    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    // A finished task handed to the window's hub, as the task run controller hands it.
    bool deliver(FCProtocol::Task* task)
    {
        return QMetaObject::invokeMethod(app.get(), "TaskDone", Qt::DirectConnection,
                                         Q_ARG(FCProtocol::Task*, task));
    }
    // A task queued through the window, as a page queues it.
    bool queue(FCProtocol::Task* task)
    {
        return QMetaObject::invokeMethod(app.get(), "PreAddTask", Qt::DirectConnection,
                                         Q_ARG(FCProtocol::Task*, task));
    }
    // Queued, answered by the controller, routed and deleted.
    bool run(FCProtocol::Task* task)
    {
        QPointer<FCProtocol::Task> watched(task);
        return queue(task) && QTest::qWaitFor([&] { return watched.isNull(); }, 5000);
    }
    // Nothing running, nothing waiting.
    bool idle() const { return !app->controller()->isBusy() && app->controller()->waitingCount() == 0; }
};
