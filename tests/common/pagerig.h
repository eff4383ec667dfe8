#pragma once

#include "pages/pagefc.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QtTest>

// A page bound to a task run controller over the virtual flight controller, as the main
// window binds it: its tasks are queued, their results come back to the page, and the
// finished tasks are deleted. The page is shown, so it polls on mainLoop().
template <typename Page>
struct PageRig {
    TRController controller;
    Page page;

    PageRig()
    {
        QObject::connect(&page, &PageFC::AddTask, &controller, [this](FCProtocol::Task* task) {
            QObject::connect(task, &FCProtocol::Task::TaskDone, &page, &Page::TaskDone);
            QObject::connect(task, &FCProtocol::Task::TaskDone, task, &QObject::deleteLater);
            controller.AddTask(task);
        });
        page.show();
    }

    // One tick of the page, answered by the controller and handed back; false on time-out.
    bool poll()
    {
        const int before = VirtualFC::answeredCount();
        page.mainLoop();
        return QTest::qWaitFor([&] {
            return VirtualFC::answeredCount() > before && !controller.isBusy()
                && controller.waitingCount() == 0;
        }, 3000);
    }
};
