#pragma once

#include "engine/controllerid.h"
#include "protocol/dsinforrd.h"

#include <QObject>
#include <QPointer>

class DialogWarning;
class QWidget;
class SetupHistory;

// What the main window says about the setup history: the notice for a controller waiting in its
// bootloader (an interrupted update), which offers the firmware page and says whether the
// setup is safe in the history; and, once per run, that the history cannot be written. Both
// open over the window without blocking: never inside a task's completion.
class SetupNotices : public QObject
{
    Q_OBJECT

public:
    SetupNotices(const SetupHistory* history, QWidget* window);

    // One notice at a time; none while an earlier one is open. It claims a snapshot only when
    // one belongs to this very controller: a bootloader that reports another serial number, or
    // none, leaves the history unmentioned.
    void bootloaderWaiting(const FCProtocol::DS_INFO_RD& info, const ControllerId& controller);
    void historyUnwritable(const QString& folder, const QString& error);

signals:
    // The pilot answered the bootloader notice with OK.
    void openFirmwarePage();

private:
    const SetupHistory* history;
    QWidget* window;
    QPointer<DialogWarning> bootloaderNotice;
};
