// The hidapi C functions, served by the virtual flight controller instead of a hidraw node.

#include "virtualdevice.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cwchar>
#include <thread>

namespace {

using Clock = VirtualDevice::Clock;

VirtualDevice& device()
{
    return VirtualDevice::instance();
}

// Tells the reads waiting for the board of a change once the calling function has released
// its lock.
struct AnnounceChange {
    ~AnnounceChange() { device().reads.changed(); }
};

} // namespace

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return 0;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    std::wstring serial;
    {
        std::lock_guard<std::mutex> lock(device().mutex);
        const bool wanted = (vendor_id == 0 || vendor_id == VirtualFC::kVendorId)
            && (product_id == 0 || product_id == VirtualFC::kProductId);
        if (!wanted || !device().onBus())
            return nullptr;
        serial = device().serialNumber();
    }
    return VirtualDevice::newDeviceInfo(serial);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs)
{
    while (devs) {
        hid_device_info* next = devs->next;
        VirtualDevice::freeDeviceInfo(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t* serial_number)
{
    AnnounceChange announce;
    std::lock_guard<std::mutex> lock(device().mutex);
    if (serial_number && device().serialNumber() != serial_number) {
        device().globalError = L"virtual controller: no such device";
        return nullptr;
    }
    return device().open(vendor_id, product_id);
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path)
{
    AnnounceChange announce;
    std::lock_guard<std::mutex> lock(device().mutex);
    return device().openPath(path);
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device* dev)
{
    std::lock_guard<std::mutex> lock(device().mutex);
    return device().deviceInfo(dev);
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    Clock::time_point doneAt;
    int result;
    {
        AnnounceChange announce;
        std::lock_guard<std::mutex> lock(device().mutex);
        result = device().write(dev, data, length, &doneAt);
    }
    // The report takes its time on the link; the lock is not held meanwhile.
    std::this_thread::sleep_until(doneAt);
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                                 int milliseconds)
{
    const Clock::time_point deadline = milliseconds < 0
        ? Clock::time_point::max()
        : Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        Clock::time_point wakeAt;
        int result;
        unsigned ticket;
        {
            std::lock_guard<std::mutex> lock(device().mutex);
            ticket = device().reads.ticket();
            result = device().read(dev, data, length, &wakeAt);
        }
        if (result != 0 || milliseconds == 0)
            return result;
        if (Clock::now() >= deadline)
            return 0;
        // Look again when a report is due, or at once when something changed meanwhile.
        device().reads.wait(ticket, std::min(wakeAt, deadline));
    }
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    bool nonblocking = false;
    {
        std::lock_guard<std::mutex> lock(device().mutex);
        if (!device().handles.count(dev))
            return -1;
        nonblocking = dev->nonblocking;
    }
    return hid_read_timeout(dev, data, length, nonblocking ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int nonblock)
{
    AnnounceChange announce;
    std::lock_guard<std::mutex> lock(device().mutex);
    return device().setNonblocking(dev, nonblock);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev)
{
    if (!dev)
        return;
    AnnounceChange announce;
    std::lock_guard<std::mutex> lock(device().mutex);
    device().close(dev);
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev)
{
    std::lock_guard<std::mutex> lock(device().mutex);
    if (dev && device().handles.count(dev))
        return dev->lastError;
    return device().globalError;
}
