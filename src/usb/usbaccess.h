#pragma once

// Whether the controller is on the bus and whether this user may open it: the question behind
// a link that fails at the open. On Linux a controller listed by the system but closed to the
// user is a /dev/hidraw* node without the udev rule that hands it to the logged-in user.
#include <QByteArray>
#include <QString>
#include <QVector>

namespace UsbAccess {

constexpr unsigned short kVendorId = 0x0483;
constexpr unsigned short kProductId = 0x5750;

enum class Reach {
    Absent,  // no device with these ids is listed (unplugged, or re-enumerating)
    Open,    // listed, and this user can open it
    Refused, // listed, but opening it fails: present but closed to us
};

// Lists the HID devices with these ids and tries to open (and at once closes) the first one.
// Uses the hidapi library's global state, so it must not run while a transaction is on its
// way; an absent device costs one enumeration and no open attempt.
Reach probe(unsigned short vendorId = kVendorId, unsigned short productId = kProductId);

// A device with these ids as the system lists it: where it is plugged in and who it is.
struct Listed {
    QByteArray path; // the device node, on Linux "/dev/hidrawN"
    QString serial;  // its USB serial number; empty when it reports none
};

// Every HID device with these ids, in the system's order. Uses the hidapi library's global
// state, like probe().
QVector<Listed> list(unsigned short vendorId = kVendorId, unsigned short productId = kProductId);

// probe() == Reach::Refused.
bool presentButClosed(unsigned short vendorId = kVendorId, unsigned short productId = kProductId);

} // namespace UsbAccess
