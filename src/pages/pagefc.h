#pragma once

#include "protocol/dsinforrd.h"
#include "protocol/task.h"

#include <QWidget>

#include <functional>

// The contract of every page: tasks go out through AddTask, results come back through
// TaskDone, mainLoop is the 50 ms poll tick and InfoRDDone carries each telemetry record.
class PageFC : public QWidget
{
    Q_OBJECT

public:
    explicit PageFC(QWidget* parent = nullptr);

signals:
    void AddTask(FCProtocol::Task* task);

public slots:
    virtual void TaskDone(FCProtocol::Task* task) = 0;
    virtual void mainLoop() = 0;
    virtual void InfoRDDone(FCProtocol::DS_INFO_RD info) = 0;

protected:
    // Asks the user with the modal warning box; true only for OK (Enter means Cancel).
    static bool confirmed(const QString& text);
    // Starts `work` and runs the event loop until work calls the function it was given: for
    // the short exchanges a button must see finished before it goes on. The pilot's clicks
    // and keys wait meanwhile; the work must end (every task finishes or is dropped).
    static void waitFor(const std::function<void(std::function<void()> done)>& work);
};
