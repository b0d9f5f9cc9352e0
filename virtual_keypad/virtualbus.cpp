// The emulated bus and the control interface tests and the demo use on it.

#include "virtualbus.h"

#include "currentfirmware.h"
#include "virtualhotplug.h"

#include <algorithm>

namespace VirtualBus {

State &state()
{
    static State *const bus = new State; // deliberately never destroyed
    return *bus;
}

void record(State &s, VirtualReportRecord::Direction direction, const Device &device,
            const std::string &path, const uint8_t *bytes, std::size_t length)
{
    if (!s.keepRecords)
        return;
    VirtualReportRecord r;
    r.direction = direction;
    r.time = Clock::now();
    r.device = device.id;
    r.path = path;
    r.bytes.assign(bytes, bytes + length);
    // A demo left running must not grow without end; tests stay far below.
    constexpr std::size_t MaxRecords = 200000;
    if (s.records.size() >= MaxRecords)
        s.records.erase(s.records.begin(), s.records.begin() + MaxRecords / 2);
    s.records.push_back(std::move(r));
}

void queueToHost(State &s, Device &device, int interfaceIndex, std::vector<VirtualReport> &&reports)
{
    if (reports.empty())
        return;
    const auto receives = [&](const hid_device *handle) {
        if (handle->device.get() != &device || !handle->alive())
            return false;
        const auto &itf = device.config.interfaces[handle->interfaceIndex];
        return interfaceIndex >= 0 ? handle->interfaceIndex == interfaceIndex : itf.speaksProtocol;
    };
    // The last receiver (almost always the only one) takes the reports
    // themselves, the others copies: a read of a layer is dozens of replies,
    // and each copy is an allocation.
    hid_device *last = nullptr;
    for (hid_device *handle : s.handles)
        if (receives(handle))
            last = handle;
    // One report per latency: a stream of replies arrives spread out, as over
    // a real interrupt endpoint.
    const Clock::time_point now = Clock::now();
    for (VirtualReport &report : reports) {
        device.lineFreeAt = std::max(now, device.lineFreeAt) + device.latency;
        for (hid_device *handle : s.handles)
            if (handle != last && receives(handle))
                handle->pending.push_back({device.lineFreeAt, report});
        if (last)
            last->pending.push_back({device.lineFreeAt, std::move(report)});
    }
    s.changed.notify_all();
}

void unplugLocked(State &s, Device &device)
{
    device.plugged = false;
    for (hid_device *handle : s.handles) {
        if (handle->device.get() == &device)
            handle->pending.clear();
    }
    s.changed.notify_all();
}

bool processOutputReport(State &s, Device &device, int interfaceIndex, const VirtualReport &report)
{
    VirtualFirmware &firmware = *device.firmware;
    const int command = firmware.commandOf(report);

    bool drop = false, nak = false, stale = false, unplugAfter = false, failWrite = false,
         forget = false, alter = false;
    uint8_t nakStatus = 0;
    std::vector<int> corrupt;
    for (ActiveFault &active : device.faults) {
        const VirtualFault &f = active.fault;
        if (f.command != VirtualKeypad::AnyCommand && f.command != command)
            continue;
        ++active.seen;
        if (active.seen < f.nth || active.seen >= static_cast<long long>(f.nth) + f.count)
            continue;
        switch (f.kind) {
        case VirtualFault::Kind::DropReply: drop = true; break;
        case VirtualFault::Kind::Nak: nak = true; nakStatus = f.status; break;
        case VirtualFault::Kind::CorruptChecksum: corrupt.push_back(f.replyIndex); break;
        case VirtualFault::Kind::StaleAckFirst: stale = true; break;
        case VirtualFault::Kind::UnplugAfterWrite: unplugAfter = true; break;
        case VirtualFault::Kind::FailWrite: failWrite = true; break;
        case VirtualFault::Kind::ForgetWrite: forget = true; break;
        case VirtualFault::Kind::StoreAltered: alter = true; break;
        }
    }
    device.faults.erase(std::remove_if(device.faults.begin(), device.faults.end(),
                                       [](const ActiveFault &a) {
                                           // spent: no later request can fall in its range
                                           return a.seen >= static_cast<long long>(a.fault.nth) + a.fault.count - 1;
                                       }),
                        device.faults.end());
    if (failWrite)
        return false;
    if (device.silent)
        return true;

    std::vector<VirtualReport> replies;
    if (nak) {
        replies = firmware.refuse(report, nakStatus);
    } else {
        const bool handled = s.hook && s.hook(device.id, report, replies);
        if (!handled) {
            std::unique_ptr<VirtualFirmware> before = forget ? firmware.clone() : nullptr;
            replies = firmware.handle(report);
            if (alter)
                firmware.alterStored(report);
            if (before)
                device.firmware = std::move(before);
        }
    }
    for (int index : corrupt) {
        for (std::size_t i = 0; i < replies.size(); ++i) {
            if (index < 0 || std::size_t(index) == i)
                device.firmware->corruptChecksum(replies[i]);
        }
    }
    if (stale) {
        VirtualReport leftover = device.firmware->staleAck(report);
        if (!leftover.empty())
            replies.insert(replies.begin(), std::move(leftover));
    }
    if (device.paddedReplies) {
        constexpr std::size_t PaddedSize = 64;
        for (VirtualReport &reply : replies)
            if (reply.size() < PaddedSize)
                reply.resize(PaddedSize, 0);
    }
    if (unplugAfter) {
        unplugLocked(s, device);
        return true;
    }
    if (!drop)
        queueToHost(s, device, interfaceIndex, std::move(replies));
    return true;
}

} // namespace VirtualBus

using namespace VirtualBus;

namespace {

// The keypad a control call means; null when there is none. Lock held.
std::shared_ptr<Device> find(State &s, int device)
{
    if (device == VirtualKeypad::FirstDevice)
        return s.devices.empty() ? nullptr : s.devices.begin()->second;
    auto it = s.devices.find(device);
    return it == s.devices.end() ? nullptr : it->second;
}

} // namespace

void VirtualKeypad::reset()
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    std::vector<VirtualHotplugEvent> removed;
    for (auto &entry : s.devices) {
        if (entry.second->plugged) {
            const auto events = interfaceEvents(*entry.second, VirtualHotplugEvent::Action::Remove);
            removed.insert(removed.end(), events.begin(), events.end());
        }
        entry.second->present = false;
        entry.second->plugged = false;
    }
    s.devices.clear();
    for (hid_device *handle : s.handles)
        handle->pending.clear();
    s.records.clear();
    s.keepRecords = true;
    s.hook = nullptr;
    s.enumerateCount = s.openPathCount = s.closeCount = s.writeCount = 0;
    s.openCounts.clear();
    s.changed.notify_all();
    lock.unlock();
    announce(removed);
}

int VirtualKeypad::plug(const VirtualKeypadConfig &config)
{
    return plug(config, std::make_unique<CurrentFirmware>(config.model));
}

int VirtualKeypad::plug(const VirtualKeypadConfig &config, std::unique_ptr<VirtualFirmware> firmware)
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    auto device = std::make_shared<Device>();
    device->id = s.nextId++;
    device->config = config;
    device->firmware = std::move(firmware);
    if (device->config.serialNumber.empty())
        device->config.serialNumber = L"VK" + std::to_wstring(device->id);
    for (std::size_t i = 0; i < device->config.interfaces.size(); ++i) {
        auto &itf = device->config.interfaces[i];
        if (itf.path.empty())
            itf.path = "virtual-keypad/" + std::to_string(device->id) + "/" + std::to_string(i);
    }
    s.devices[device->id] = device;
    s.changed.notify_all();
    const auto added = interfaceEvents(*device, VirtualHotplugEvent::Action::Add);
    lock.unlock();
    announce(added);
    return device->id;
}

void VirtualKeypad::unplug(int device)
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    if (!d || !d->plugged)
        return;
    unplugLocked(s, *d);
    const auto removed = interfaceEvents(*d, VirtualHotplugEvent::Action::Remove);
    lock.unlock();
    announce(removed);
}

void VirtualKeypad::plugBack(int device)
{
    State &s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    if (!d || d->plugged)
        return;
    d->plugged = true;
    ++d->generation;
    d->lineFreeAt = Clock::time_point{};
    s.changed.notify_all();
    const auto added = interfaceEvents(*d, VirtualHotplugEvent::Action::Add);
    lock.unlock();
    announce(added);
}

void VirtualKeypad::setOpenable(bool openable, int error, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device)) {
        for (VirtualHidInterface &itf : d->config.interfaces) {
            itf.openable = openable;
            itf.openErrno = error;
        }
    }
}

bool VirtualKeypad::isPlugged(int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    return d && d->plugged;
}

std::vector<int> VirtualKeypad::devices()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<int> ids;
    for (const auto &entry : s.devices)
        ids.push_back(entry.first);
    return ids;
}

VirtualKeypadConfig VirtualKeypad::config(int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    return d ? d->config : VirtualKeypadConfig();
}

std::vector<std::string> VirtualKeypad::paths(int device)
{
    std::vector<std::string> out;
    for (const auto &itf : config(device).interfaces)
        out.push_back(itf.path);
    return out;
}

void VirtualKeypad::setReplyLatency(std::chrono::microseconds latency, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->latency = std::max(latency, std::chrono::microseconds(0));
}

VirtualKeySlot VirtualKeypad::key(int layer, int slot, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    VirtualKeySlot out;
    if (auto d = find(s, device))
        d->firmware->key(layer, slot, out);
    return out;
}

void VirtualKeypad::setKey(int layer, int slot, const VirtualKeySlot &value, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->firmware->setKey(layer, slot, value);
}

void VirtualKeypad::clearAllKeys(int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->firmware->clearAllKeys();
}

VirtualLighting VirtualKeypad::lighting(int layer, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    VirtualLighting out;
    if (auto d = find(s, device))
        d->firmware->lighting(layer, out);
    return out;
}

void VirtualKeypad::setLighting(int layer, const VirtualLighting &value, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->firmware->setLighting(layer, value);
}

bool VirtualKeypad::withFirmware(int device, const std::function<void(VirtualFirmware &)> &fn)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    if (!d)
        return false;
    fn(*d->firmware);
    return true;
}

void VirtualKeypad::addFault(const VirtualFault &fault, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->faults.push_back({fault, 0});
}

void VirtualKeypad::clearFaults(int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device)) {
        d->faults.clear();
        d->silent = false;
    }
}

namespace {

// A fault of `kind` on the nth request with the command code `command`.
void addCommandFault(VirtualFault::Kind kind, int command, int nth, int device)
{
    VirtualFault f;
    f.kind = kind;
    f.command = command;
    f.nth = nth;
    VirtualKeypad::addFault(f, device);
}

} // namespace

void VirtualKeypad::dropReply(int command, int nth, int device)
{
    addCommandFault(VirtualFault::Kind::DropReply, command, nth, device);
}

void VirtualKeypad::nakNext(uint8_t status, int count, int command, int device)
{
    VirtualFault f;
    f.kind = VirtualFault::Kind::Nak;
    f.command = command;
    f.count = count;
    f.status = status;
    addFault(f, device);
}

void VirtualKeypad::corruptReplyChecksum(int command, int nth, int replyIndex, int device)
{
    VirtualFault f;
    f.kind = VirtualFault::Kind::CorruptChecksum;
    f.command = command;
    f.nth = nth;
    f.replyIndex = replyIndex;
    addFault(f, device);
}

void VirtualKeypad::staleAckFirst(int command, int nth, int device)
{
    addCommandFault(VirtualFault::Kind::StaleAckFirst, command, nth, device);
}

void VirtualKeypad::unplugAfterWrite(int nth, int device)
{
    VirtualFault f;
    f.kind = VirtualFault::Kind::UnplugAfterWrite;
    f.nth = nth;
    addFault(f, device);
}

void VirtualKeypad::failWrite(int command, int nth, int device)
{
    addCommandFault(VirtualFault::Kind::FailWrite, command, nth, device);
}

void VirtualKeypad::forgetWrite(int command, int nth, int device)
{
    addCommandFault(VirtualFault::Kind::ForgetWrite, command, nth, device);
}

void VirtualKeypad::alterStored(int command, int nth, int device)
{
    addCommandFault(VirtualFault::Kind::StoreAltered, command, nth, device);
}

void VirtualKeypad::setSilent(bool silent, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->silent = silent;
}

void VirtualKeypad::setPaddedReplies(bool padded, int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto d = find(s, device))
        d->paddedReplies = padded;
}

void VirtualKeypad::injectInputReport(const std::vector<uint8_t> &report, int device)
{
    if (report.empty() || report.size() > 4096)
        return;
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto d = find(s, device);
    if (d && d->plugged)
        queueToHost(s, *d, -1, {report});
}

void VirtualKeypad::setReplyHook(const ReplyHook &hook)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.hook = hook;
}

std::vector<VirtualReportRecord> VirtualKeypad::records()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.records;
}

void VirtualKeypad::clearRecords()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.records.clear();
}

void VirtualKeypad::setKeepRecords(bool keep)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.keepRecords = keep;
}

std::vector<std::vector<uint8_t>> VirtualKeypad::writtenReports(int device)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<std::vector<uint8_t>> out;
    auto d = find(s, device);
    if (!d)
        return out;
    for (const VirtualReportRecord &r : s.records) {
        if (r.direction != VirtualReportRecord::Direction::HostToDevice || r.device != d->id)
            continue;
        const auto &itfs = d->config.interfaces;
        const bool toProtocol = std::any_of(itfs.begin(), itfs.end(), [&](const VirtualHidInterface &i) {
            return i.path == r.path && i.speaksProtocol;
        });
        if (toProtocol)
            out.push_back(r.bytes);
    }
    return out;
}

int VirtualKeypad::requestCount(int command, int device)
{
    int count = 0;
    for (const auto &report : writtenReports(device)) {
        if (report.size() > 1 && (command == AnyCommand || report[1] == command))
            ++count;
    }
    return count;
}

int VirtualKeypad::enumerateCount()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.enumerateCount;
}

int VirtualKeypad::openPathCount()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.openPathCount;
}

int VirtualKeypad::openCount(const std::string &path)
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.openCounts.find(path);
    return it == s.openCounts.end() ? 0 : it->second;
}

int VirtualKeypad::closeCount()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.closeCount;
}

int VirtualKeypad::writeCount()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.writeCount;
}

int VirtualKeypad::openHandleCount()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return int(s.handles.size());
}

void VirtualKeypad::clearCounters()
{
    State &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.enumerateCount = s.openPathCount = s.closeCount = s.writeCount = 0;
    s.openCounts.clear();
}
