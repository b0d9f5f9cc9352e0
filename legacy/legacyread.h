#pragma once

#include "legacy/legacydeviceinfo.h"
#include "model/keylayers.h"

#include <hidapi/hidapi.h>

// Reads of a legacy keypad, run right after a successful probe. The keypad
// answers a layer read with one key record per report and no header, so the
// k-th report after the request is packet k: call these inside
// HIDManager::DeviceSession, or the presence probe could take a report and
// shift every later key into the wrong slot.

// Reads layer `layer` into `keys` (always 25 slots afterwards, marks clear).
// Stops at the first missing answer; the slots read so far stay.
bool legacyReadLayer(hid_device *device, const LegacyDeviceInfo &info, int layer, KeyLayer &keys);

// Reads every layer the keypad has (three) into `layers`, which gets four
// entries; a layer not read has no slots, so loadLayers leaves it alone.
bool legacyReadAllLayers(hid_device *device, const LegacyDeviceInfo &info, KeyLayers &layers);

// R20Wide only: the lighting of each layer into `lighting` (four records,
// defaults where a layer did not answer). True when at least one layer was read.
bool legacyReadLighting(hid_device *device, const LegacyDeviceInfo &info, LedLayers &lighting);
