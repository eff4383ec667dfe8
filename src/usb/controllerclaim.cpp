#include "usb/controllerclaim.h"

#include <QDebug>

DeviceLock::Result ControllerClaim::claim(unsigned short vendorId, unsigned short productId, const QString& serial,
                                          const QByteArray& path)
{
    holderPid = 0;
    // A device that left the bus right after the open cannot be described: the one held, if any.
    if (serial.isEmpty() && path.isEmpty() && isHeld())
        return DeviceLock::Result::Taken;
    const QString file = DeviceLock::fileFor(vendorId, productId, serial, path);
    for (const auto& held : locks) {
        if (held.first == file)
            return DeviceLock::Result::Taken;
    }
    // The controller held, back from a jump under another description: held under it too.
    if (updating && isHeld())
        return take(file, false);
    // A controller not held yet: none while another program updates one of this model.
    if (!updating) {
        qint64 updater = 0;
        if (DeviceLock::probe(DeviceLock::updateGuardFor(vendorId, productId), &updater)
            == DeviceLock::Result::Held) {
            holderPid = updater;
            return DeviceLock::Result::Held;
        }
    }
    return take(file, true);
}

DeviceLock::Result ControllerClaim::take(const QString& file, bool replacing)
{
    auto lock = std::make_unique<DeviceLock>();
    const DeviceLock::Result result = lock->take(file);
    if (result == DeviceLock::Result::Held) {
        holderPid = lock->holder();
        return result;
    }
    if (replacing)
        locks.clear();
    if (result == DeviceLock::Result::Taken)
        locks.emplace_back(file, std::move(lock));
    return result;
}

void ControllerClaim::setUpdating(bool on, unsigned short vendorId, unsigned short productId)
{
    if (on == updating)
        return;
    updating = on;
    if (!on) {
        guard.release();
        return;
    }
    const QString file = DeviceLock::updateGuardFor(vendorId, productId);
    if (guard.take(file) == DeviceLock::Result::Held)
        qDebug() << "USB Update Guard Held!" << guard.holder();
}

void ControllerClaim::release()
{
    locks.clear();
}
