#pragma once

#include "device/saveverification.h"
#include "legacy/legacydeviceinfo.h"

#include <hidapi/hidapi.h>

// How a legacy save reads back what it wrote: the layer reads, the R20Wide
// lighting read (the Old keypads have none, so their lighting is taken as
// kept), and records compared as the keypad stores them. Call inside
// HIDManager::DeviceSession, after the commit.
SaveReadBack legacyReadBack(hid_device *device, const LegacyDeviceInfo &info);
