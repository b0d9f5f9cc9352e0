// The bus's hotplug listeners: what a program watching the system's device
// events would hear when a keypad is plugged in or pulled out.

#include "virtualhotplug.h"

#include <map>
#include <mutex>

namespace VirtualBus {

namespace {

struct Listeners
{
    // Held while a listener runs, so one removed is never called after.
    std::mutex mutex;
    std::map<int, VirtualKeypad::HotplugListener> byId;
    int nextId = 1;
};

Listeners &listeners()
{
    static Listeners *const all = new Listeners; // lives as long as the bus
    return *all;
}

} // namespace

std::vector<VirtualHotplugEvent> interfaceEvents(const Device &device,
                                                 VirtualHotplugEvent::Action action)
{
    std::vector<VirtualHotplugEvent> events;
    for (std::size_t i = 0; i < device.config.interfaces.size(); ++i) {
        VirtualHotplugEvent event;
        event.action = action;
        event.path = device.config.interfaces[i].path;
        event.vendorId = device.config.vendorId;
        event.productId = device.config.productId;
        event.device = device.id;
        event.interfaceIndex = int(i);
        events.push_back(event);
    }
    return events;
}

void announce(const std::vector<VirtualHotplugEvent> &events)
{
    Listeners &all = listeners();
    std::lock_guard<std::mutex> lock(all.mutex);
    for (const VirtualHotplugEvent &event : events)
        for (const auto &entry : all.byId)
            entry.second(event);
}

} // namespace VirtualBus

int VirtualKeypad::addHotplugListener(const HotplugListener &listener)
{
    auto &all = VirtualBus::listeners();
    std::lock_guard<std::mutex> lock(all.mutex);
    const int id = all.nextId++;
    all.byId[id] = listener;
    return id;
}

void VirtualKeypad::removeHotplugListener(int id)
{
    auto &all = VirtualBus::listeners();
    std::lock_guard<std::mutex> lock(all.mutex);
    all.byId.erase(id);
}

// Tells the device library that hidapi is this bus, so it does not watch the
// machine's udev for keypads that live here (see udevwatcher.cpp).
extern "C" int zentrik_virtual_hid_bus(void)
{
    return 1;
}
