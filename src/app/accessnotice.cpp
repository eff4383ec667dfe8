#include "app/accessnotice.h"

#include "widgets/dialogwarning.h"
#include "usb/qtusbhid.h"
#include "usb/usbaccess.h"

#include <QCoreApplication>
#include <QTimer>

AccessNotice::AccessNotice(const QtUsbHID* transport, QObject* parent)
    : QObject(parent)
    , transport(transport)
{
}

QString AccessNotice::text()
{
    // Shown by the main window, so translated in its context.
    return QCoreApplication::translate(
        "FCApp",
        "This user may not open the plugged-in controller. Install the ORVANTE package or its "
        "udev rule 70-orvante.rules, then plug the controller in again.");
}

QString AccessNotice::lockHint(const QtUsbHID* transport)
{
    if (!transport->lockRefused())
        return QString();
    return transport->lockHolder() > 0
        ? QCoreApplication::translate("FCApp", "The controller is in use by another ORVANTE program (process %1).")
              .arg(transport->lockHolder())
        : QCoreApplication::translate("FCApp", "The controller is in use by another ORVANTE program.");
}

void AccessNotice::linkFailed()
{
    // A transport that still holds the device failed after the open, or another ORVANTE
    // program holds it: not an access problem.
    if (wasShown || transport->isOpen() || transport->lockRefused())
        return;
    if (!UsbAccess::presentButClosed()) {
        refusals = 0;
        return;
    }
    if (++refusals < kRefusalsBeforeNotice)
        return;
    wasShown = true;
    // Out of the task's completion, so the queue goes on while the message is open.
    QTimer::singleShot(0, this, &AccessNotice::show);
}

void AccessNotice::show()
{
    DialogWarning::tell(text());
}
