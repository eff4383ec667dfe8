#pragma once

#include "protocol/dsinforrd.h"
#include "protocol/task.h"

#include <QWidget>

#include <functional>

// The contract of every page: tasks go out through AddTask, results come back through
// TaskDone, mainLoop is the 50 ms poll tick and InfoRDDone carries each telemetry record.
// A page's form can be built when the page is made, or later: a window that shows one page
// at first draws it without decoding the skin of the others.
class PageFC : public QWidget
{
    Q_OBJECT

public:
    // When the form is built: at construction, or at the latest when the page is first shown.
    enum class Build { Now, Later };

    explicit PageFC(QWidget* parent = nullptr);

    // Builds the form now if it is not built yet; the page is the same page before and after.
    void ensureBuilt();
    bool isBuilt() const { return built; }

    // A page shown for the first time builds its form first.
    void setVisible(bool visible) override;

    // Starts `work` and runs the event loop until work calls the function it was given: for
    // the short exchanges a button must see finished before it goes on. The pilot's clicks
    // and keys wait meanwhile; the work must end (every task finishes or is dropped).
    static void waitFor(const std::function<void(std::function<void()> done)>& work);

signals:
    void AddTask(FCProtocol::Task* task);

public slots:
    virtual void TaskDone(FCProtocol::Task* task) = 0;
    virtual void mainLoop() = 0;
    virtual void InfoRDDone(FCProtocol::DS_INFO_RD info) = 0;

protected:
    // The form and what hangs on it; run once, by ensureBuilt().
    virtual void build() = 0;
    // At the end of a page's constructor.
    void buildIf(Build when)
    {
        if (when == Build::Now)
            ensureBuilt();
    }

    // Asks the user with the modal warning box; true only for OK (Enter means Cancel).
    static bool confirmed(const QString& text);

private:
    bool built = false;
};
