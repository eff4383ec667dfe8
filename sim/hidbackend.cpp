// The hidapi C functions, served by the virtual flight controller instead of a hidraw node.

#include "virtualdevice.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <thread>

namespace {

using Clock = VirtualDevice::Clock;

VirtualDevice& device()
{
    return VirtualDevice::instance();
}

wchar_t* wideCopy(const wchar_t* text)
{
    const size_t n = wcslen(text) + 1;
    auto* copy = static_cast<wchar_t*>(malloc(n * sizeof(wchar_t)));
    wmemcpy(copy, text, n);
    return copy;
}

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
    {
        std::lock_guard<std::mutex> lock(device().mutex);
        const bool wanted = (vendor_id == 0 || vendor_id == VirtualFC::kVendorId)
            && (product_id == 0 || product_id == VirtualFC::kProductId);
        if (!wanted || !device().onBus())
            return nullptr;
    }
    auto* info = static_cast<hid_device_info*>(calloc(1, sizeof(hid_device_info)));
    info->path = strdup("virtual-fc:0");
    info->vendor_id = VirtualFC::kVendorId;
    info->product_id = VirtualFC::kProductId;
    info->serial_number = wideCopy(L"0001");
    info->release_number = 0x0100;
    info->manufacturer_string = wideCopy(L"ORVANTE");
    info->product_string = wideCopy(L"Virtual flight controller");
    info->usage_page = 0xFF00;
    info->usage = 0x01;
    info->interface_number = 0;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs)
{
    while (devs) {
        hid_device_info* next = devs->next;
        free(devs->path);
        free(devs->serial_number);
        free(devs->manufacturer_string);
        free(devs->product_string);
        free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t* serial_number)
{
    std::lock_guard<std::mutex> lock(device().mutex);
    if (serial_number && wcscmp(serial_number, L"0001") != 0) {
        device().globalError = L"virtual controller: no such device";
        return nullptr;
    }
    return device().open(vendor_id, product_id);
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    Clock::time_point doneAt;
    int result;
    {
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
        {
            std::lock_guard<std::mutex> lock(device().mutex);
            result = device().read(dev, data, length, &wakeAt);
        }
        if (result != 0 || milliseconds == 0)
            return result;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return 0;
        // Look again when a report is due, and now and then for changes made by the tests.
        std::this_thread::sleep_until(
            std::min({wakeAt, deadline, now + std::chrono::milliseconds(5)}));
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
    std::lock_guard<std::mutex> lock(device().mutex);
    return device().setNonblocking(dev, nonblock);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev)
{
    if (!dev)
        return;
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
