#include "app/setupnotices.h"

#include "engine/setuphistory.h"
#include "widgets/dialogwarning.h"

#include <QCoreApplication>

namespace {

// Shown by the main window, so translated in its context.
QString fcAppText(const char* source)
{
    return QCoreApplication::translate("FCApp", source);
}

} // namespace

SetupNotices::SetupNotices(const SetupHistory* history, QWidget* window)
    : QObject(window)
    , history(history)
    , window(window)
{
}

void SetupNotices::bootloaderWaiting(const FCProtocol::DS_INFO_RD& info, const ControllerId& controller)
{
    if (bootloaderNotice)
        return;
    const std::optional<SetupHistory::Snapshot> kept = controller.hasSerial()
        ? history->newest({info.boardWord, controller.serial})
        : std::nullopt;
    const QString text = kept
        ? fcAppText(QT_TRANSLATE_NOOP("FCApp", "The controller is waiting in its bootloader for a firmware image: its "
                                               "last update did not finish. Its setup is safe in the history (%1). "
                                               "Open the firmware page?"))
              .arg(kept->time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
        : fcAppText(QT_TRANSLATE_NOOP("FCApp", "The controller is waiting in its bootloader for a firmware image: its "
                                               "last update did not finish. Open the firmware page?"));
    bootloaderNotice = DialogWarning::openOver(window, text);
    connect(bootloaderNotice, &QDialog::accepted, this, &SetupNotices::openFirmwarePage);
}

void SetupNotices::historyUnwritable(const QString& folder, const QString& error)
{
    DialogWarning::openOver(window, fcAppText(QT_TRANSLATE_NOOP("FCApp", "The setup history cannot be written to %1 "
                                                                         "(%2). ORVANTE works on without it."))
                                        .arg(folder, error));
}
