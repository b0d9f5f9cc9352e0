// hidapi's C API over the virtual keypads of virtualbus.cpp, with the
// behaviour of hidapi-hidraw 0.13 where the program can see it: input reports
// start with their report id, a read on an unplugged device fails with -1, a
// failing call leaves a text for hid_error.

#include "virtualbus.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

using namespace VirtualBus;

namespace {

// Texts for hid_error; literals only (see hid_device_::lastError).
constexpr const wchar_t *ErrUnplugged = L"Device unplugged (virtual keypad)";
constexpr const wchar_t *ErrNoDevice = L"No such device (virtual keypad)";
constexpr const wchar_t *ErrOpenDenied = L"Permission denied (virtual keypad)";
constexpr const wchar_t *ErrOpenFailed = L"Device cannot be opened (virtual keypad)";
constexpr const wchar_t *ErrBadArgument = L"Invalid argument (virtual keypad)";
constexpr const wchar_t *ErrTooLong = L"Report too long (virtual keypad)";
constexpr const wchar_t *ErrWriteFailed = L"Output report not accepted (virtual keypad)";
constexpr const wchar_t *ErrNotSupported = L"Not supported on this device (virtual keypad)";
constexpr const wchar_t *ErrNone = L"Success";

constexpr std::size_t MaxOutputReport = 65; // report id + 64 bytes

std::atomic<const wchar_t *> globalError{nullptr};

int fail(hid_device *dev, const wchar_t *text)
{
    if (dev)
        dev->lastError.store(text);
    else
        globalError.store(text);
    return -1;
}

char *copyString(const std::string &text)
{
    char *out = static_cast<char *>(std::malloc(text.size() + 1));
    if (out)
        std::memcpy(out, text.c_str(), text.size() + 1);
    return out;
}

wchar_t *copyWide(const std::wstring &text)
{
    wchar_t *out = static_cast<wchar_t *>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (out)
        std::wmemcpy(out, text.c_str(), text.size() + 1);
    return out;
}

bool matches(const Device &d, unsigned short vendorId, unsigned short productId)
{
    return d.plugged && (vendorId == 0 || d.config.vendorId == vendorId)
           && (productId == 0 || d.config.productId == productId);
}

void fillInfo(hid_device_info &info, const Device &d, const VirtualHidInterface &itf)
{
    info.vendor_id = d.config.vendorId;
    info.product_id = d.config.productId;
    info.release_number = d.config.releaseNumber;
    info.usage_page = itf.usagePage;
    info.usage = itf.usage;
    info.interface_number = itf.interfaceNumber;
    info.bus_type = HID_API_BUS_USB;
    info.next = nullptr;
}

// Opens interface `index` of `d`. Lock held.
hid_device *openLocked(State &s, const std::shared_ptr<Device> &d, std::size_t index)
{
    const VirtualHidInterface &itf = d->config.interfaces[index];
    if (!itf.openable) {
        fail(nullptr, itf.openErrno == EACCES ? ErrOpenDenied : ErrOpenFailed);
        errno = itf.openErrno;
        return nullptr;
    }
    auto *dev = new hid_device_;
    dev->device = d;
    dev->interfaceIndex = int(index);
    dev->generation = d->generation;
    dev->path = itf.path;
    dev->manufacturer = d->config.manufacturer;
    dev->product = d->config.product;
    dev->serialNumber = d->config.serialNumber;
    fillInfo(dev->info, *d, itf);
    dev->info.path = const_cast<char *>(dev->path.c_str());
    dev->info.manufacturer_string = const_cast<wchar_t *>(dev->manufacturer.c_str());
    dev->info.product_string = const_cast<wchar_t *>(dev->product.c_str());
    dev->info.serial_number = const_cast<wchar_t *>(dev->serialNumber.c_str());
    s.handles.insert(dev);
    ++s.openCounts[itf.path];
    globalError.store(nullptr);
    return dev;
}

int copyToCaller(hid_device *dev, const std::wstring &text, wchar_t *string, size_t maxlen)
{
    if (!string || maxlen == 0)
        return fail(dev, ErrBadArgument);
    const std::size_t n = std::min(text.size(), maxlen - 1);
    std::wmemcpy(string, text.c_str(), n);
    string[n] = L'\0';
    return 0;
}

} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return 0;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                    unsigned short product_id)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.enumerateCount;
    hid_device_info *first = nullptr;
    hid_device_info **tail = &first;
    for (const auto &entry : s.devices) {
        const Device &d = *entry.second;
        if (!matches(d, vendor_id, product_id))
            continue;
        for (const VirtualHidInterface &itf : d.config.interfaces) {
            auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
            if (!info)
                return first;
            fillInfo(*info, d, itf);
            info->path = copyString(itf.path);
            info->serial_number = copyWide(d.config.serialNumber);
            info->manufacturer_string = copyWide(d.config.manufacturer);
            info->product_string = copyWide(d.config.product);
            *tail = info;
            tail = &info->next;
        }
    }
    return first;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                const wchar_t *serial_number)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (const auto &entry : s.devices) {
        const Device &d = *entry.second;
        if (!matches(d, vendor_id, product_id))
            continue;
        if (serial_number && d.config.serialNumber != serial_number)
            continue;
        if (!d.config.interfaces.empty())
            return openLocked(s, entry.second, 0);
    }
    fail(nullptr, ErrNoDevice);
    return nullptr;
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.openPathCount;
    if (!path) {
        fail(nullptr, ErrBadArgument);
        return nullptr;
    }
    for (const auto &entry : s.devices) {
        if (!entry.second->plugged)
            continue;
        const auto &itfs = entry.second->config.interfaces;
        for (std::size_t i = 0; i < itfs.size(); ++i) {
            if (itfs[i].path == path)
                return openLocked(s, entry.second, i);
        }
    }
    fail(nullptr, ErrNoDevice);
    return nullptr;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.writeCount;
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    if (!dev->alive())
        return fail(dev, ErrUnplugged);
    if (!data || length == 0)
        return fail(dev, ErrBadArgument);
    if (length > MaxOutputReport)
        return fail(dev, ErrTooLong);
    Device &device = *dev->device;
    if (device.config.interfaces[dev->interfaceIndex].speaksProtocol
        && !processOutputReport(s, device, dev->interfaceIndex, VirtualReport(data, data + length)))
        return fail(dev, ErrWriteFailed);
    record(s, VirtualReportRecord::Direction::HostToDevice, device, dev->path, data, length);
    // Accepted even when the keypad is pulled right after taking it.
    dev->lastError.store(nullptr);
    return int(length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data, size_t length,
                                                 int milliseconds)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    if (!data || length == 0)
        return fail(dev, ErrBadArgument);
    const bool forever = milliseconds < 0;
    // One clock reading per pass: a layer read polls dozens of times.
    Clock::time_point now = Clock::now();
    const Clock::time_point deadline = now + std::chrono::milliseconds(std::max(milliseconds, 0));
    for (bool first = true;; first = false) {
        if (!dev->alive())
            return fail(dev, ErrUnplugged);
        if (!first)
            now = Clock::now();
        if (!dev->pending.empty() && dev->pending.front().readyAt <= now) {
            PendingReport report = std::move(dev->pending.front());
            dev->pending.pop_front();
            // A buffer shorter than the report gets its beginning, as from hidraw.
            const std::size_t n = std::min(length, report.bytes.size());
            std::memcpy(data, report.bytes.data(), n);
            record(s, VirtualReportRecord::Direction::DeviceToHost, *dev->device, dev->path,
                   report.bytes.data(), n);
            dev->lastError.store(nullptr);
            return int(n);
        }
        if (!forever && now >= deadline)
            return 0;
        if (dev->pending.empty()) {
            if (forever)
                s.changed.wait(lock);
            else
                s.changed.wait_until(lock, deadline);
        } else {
            const Clock::time_point wake = dev->pending.front().readyAt;
            s.changed.wait_until(lock, forever ? wake : std::min(wake, deadline));
        }
    }
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    bool nonblocking;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        nonblocking = dev->nonblocking;
    }
    return hid_read_timeout(dev, data, length, nonblocking ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    std::lock_guard<std::mutex> lock(state().mutex);
    dev->nonblocking = nonblock != 0;
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *dev, const unsigned char *, size_t)
{
    return fail(dev, ErrNotSupported);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *dev, unsigned char *, size_t)
{
    return fail(dev, ErrNotSupported);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *dev, unsigned char *, size_t)
{
    return fail(dev, ErrNotSupported);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    if (!dev)
        return;
    {
        State &s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.handles.erase(dev);
        ++s.closeCount;
        // Replies still on their way to the last open handle go with it; the
        // next one opened finds an idle line, not their schedule.
        const bool lastHandle = std::none_of(s.handles.begin(), s.handles.end(),
                                             [dev](hid_device *h) { return h->device == dev->device; });
        if (lastHandle && dev->device)
            dev->device->lineFreeAt = Clock::time_point{};
    }
    delete dev;
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    return copyToCaller(dev, dev->manufacturer, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    return copyToCaller(dev, dev->product, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!dev)
        return fail(nullptr, ErrBadArgument);
    return copyToCaller(dev, dev->serialNumber, string, maxlen);
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    if (!dev) {
        fail(nullptr, ErrBadArgument);
        return nullptr;
    }
    return &dev->info;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *dev, int, wchar_t *, size_t)
{
    return fail(dev, ErrNotSupported);
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *dev)
{
    const wchar_t *text = dev ? dev->lastError.load() : globalError.load();
    return text ? text : ErrNone;
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void)
{
    // The program's About box shows this: it is the virtual keypad that
    // answers, speaking the API of the hidapi headers it was built with.
    return HID_API_VERSION_STR " (virtual keypad)";
}

} // extern "C"
