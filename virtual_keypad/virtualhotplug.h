#pragma once

// The bus's side of the hotplug listeners (virtualhotplug.cpp).

#include "virtualbus.h"

#include <vector>

namespace VirtualBus {

// One event per interface of `device`. Lock held.
std::vector<VirtualHotplugEvent> interfaceEvents(const Device &device,
                                                 VirtualHotplugEvent::Action action);

// Tells every listener; the bus lock must not be held.
void announce(const std::vector<VirtualHotplugEvent> &events);

} // namespace VirtualBus
