#pragma once

#include "finishedtask.h"
#include "modalscript.h"

#include "pages/pagefcfirmware.h"
#include "protocol/task.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>
#include <vector>

// The firmware page on its own, ticked by hand; every task it emits is kept so that the
// caller can answer it as the controller would.
class FirmwarePageRun
{
public:
    PageFCFirmware page;
    QSignalSpy boot{&page, &PageFCFirmware::boot_state_changed};
    std::vector<std::unique_ptr<FCProtocol::Task>> all;

    FirmwarePageRun()
    {
        page.tickTimer()->stop();
        page.show();
    }

    // One tick of the page's own timer; the first task it emitted, if any.
    FCProtocol::Task* tick()
    {
        const size_t before = all.size();
        page.timeout();
        for (auto& task : takeTasks(added))
            all.push_back(std::move(task));
        return all.size() > before ? all[before].get() : nullptr;
    }

    void answer(FCProtocol::Task* task, const QByteArray& payload, int status = FCProtocol::Task::Success)
    {
        page.TaskDone(finish(task, payload, status));
    }
    // The version read's reply: `word` is the controller's identity.
    static QByteArray version(quint32 word) { return littleEndian(qint32(0), qint32(256 * 1024), qint32(word), qint32(0)); }

    // The controller answers the version read; true when the page has a working link.
    bool connectTo(quint32 word)
    {
        FCProtocol::Task* read = tick();
        if (!read || read->type != FCProtocol::FW_INFO_RD)
            return false;
        answer(read, version(word));
        return page.update()->linkOk();
    }

    // Presses Update (a ModalScript answers the questions); true when the update started.
    bool pressUpdate()
    {
        const int before = boot.count();
        page.findChild<QPushButton*>(QStringLiteral("pushButton_update"))->click();
        return boot.count() == before + 1 && boot.last().at(0).toBool();
    }

    QString text(const char* name) const { return page.findChild<QLabel*>(QLatin1String(name))->text(); }

private:
    QSignalSpy added{&page, &PageFC::AddTask};
};
