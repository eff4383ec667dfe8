#pragma once

#include "protocol/dsinforrd.h"
#include "protocol/task.h"

#include <QWidget>

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
};
