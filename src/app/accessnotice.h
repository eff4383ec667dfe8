#pragma once

#include <QObject>

class QtUsbHID;

// Tells the pilot, once per run, that the controller is plugged in but this user may not open
// it (on Linux: its hidraw node lacks the udev rule), and how to fix that. A controller that is
// simply unplugged is never reported: "Disconnected" says enough.
class AccessNotice : public QObject
{
    Q_OBJECT

public:
    explicit AccessNotice(const QtUsbHID* transport, QObject* parent = nullptr);

    // A telemetry read failed with a link failure. Called between transactions (from the
    // finished task's TaskDone), when the usb layer may be asked without racing the transport.
    void linkFailed();

    bool shown() const { return wasShown; }

    // What the message says, in the running language.
    static QString text();
    // After a failed open: why, when another ORVANTE program holds the controller's lock (a
    // one-line hint naming its process); else empty. Read between transactions.
    static QString lockHint(const QtUsbHID* transport);

    // Consecutive refusals before the message: a freshly plugged node is listed a moment before
    // udev has handed it to the user.
    static constexpr int kRefusalsBeforeNotice = 2;

private:
    void show();

    const QtUsbHID* transport;
    int refusals = 0;
    bool wasShown = false;
};
