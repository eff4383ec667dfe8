#pragma once

#include "usb/devicelock.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The locks by which a transport keeps its controller to itself. The controller's own lock,
// named after its identity (DeviceLock::fileFor), is taken at the first open and kept through
// every close and reopen until released, so a link failure or a board re-enumerating never
// opens a gap for another program. While an update runs the controller re-enumerates as its
// bootloader and back, and a bootloader may describe itself otherwise (another serial number,
// or none): what the device then reports is held as well, and the model's update guard keeps
// every other program from claiming a controller it does not hold yet, since such a bootloader
// cannot be told from another board. Used from one thread at a time (the transaction's).
class ControllerClaim
{
public:
    ControllerClaim() = default;
    Q_DISABLE_COPY(ControllerClaim)

    // The device just opened, as hidapi describes it (serial empty: none; path empty: unknown;
    // both empty: hidapi could not describe it). Taken: the controller is held, now or
    // already; Unavailable: no lock file can be made, so the caller goes on unguarded; Held:
    // another program has it, or updates a controller of this model (holder() names it), and
    // the device must be closed. Outside an update, a device of another identity than the one
    // held is another controller: it replaces the one held once its lock is taken.
    DeviceLock::Result claim(unsigned short vendorId, unsigned short productId, const QString& serial,
                             const QByteArray& path);

    // An update starts or ends. While it runs, every identity the device shows is this
    // controller's, and the model's update guard is held (if another program updating a
    // controller of the model holds it, the update goes on without it).
    void setUpdating(bool on, unsigned short vendorId, unsigned short productId);
    bool isUpdating() const { return updating; }

    // Lets go of every lock: the controller is free for other programs.
    void release();

    bool isHeld() const { return !locks.empty(); }
    // Who holds what the last claim found Held (0 if it did not say).
    qint64 holder() const { return holderPid; }

private:
    DeviceLock::Result take(const QString& file, bool replacing);

    std::vector<std::pair<QString, std::unique_ptr<DeviceLock>>> locks;
    DeviceLock guard;
    bool updating = false;
    qint64 holderPid = 0;
};
