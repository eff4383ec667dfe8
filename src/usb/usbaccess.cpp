#include "usb/usbaccess.h"

#include <hidapi/hidapi.h>

#include <string>

namespace UsbAccess {

Reach probe(unsigned short vendorId, unsigned short productId)
{
    hid_device_info* listed = hid_enumerate(vendorId, productId);
    if (!listed)
        return Reach::Absent;
    const std::string path = listed->path ? listed->path : "";
    hid_free_enumeration(listed);

    hid_device* device = hid_open_path(path.c_str());
    if (!device)
        return Reach::Refused;
    hid_close(device);
    return Reach::Open;
}

QVector<Listed> list(unsigned short vendorId, unsigned short productId)
{
    QVector<Listed> found;
    hid_device_info* listed = hid_enumerate(vendorId, productId);
    for (const hid_device_info* d = listed; d; d = d->next) {
        found.push_back({d->path ? QByteArray(d->path) : QByteArray(),
                         d->serial_number ? QString::fromWCharArray(d->serial_number) : QString()});
    }
    hid_free_enumeration(listed);
    return found;
}

bool presentButClosed(unsigned short vendorId, unsigned short productId)
{
    return probe(vendorId, productId) == Reach::Refused;
}

} // namespace UsbAccess
