#pragma once

#include "legacy/legacydeviceinfo.h"

#include <hidapi/hidapi.h>

// How a probe ended. Only Answered means a legacy keypad is on the line.
enum class LegacyProbeOutcome {
    Answered,
    NoDevice,
    RequestFailed,
    NoResponse,
    // A reply of the current protocol came back (typically a late answer to
    // the device-information request): the keypad is a current one and should
    // be asked for its description again, never treated as a legacy keypad.
    CurrentKeypad,
};

// Asks an open device whether it is one of the two legacy families and fills
// `info` from its answer. Returns true when a legacy keypad answered; `info`
// then has `valid` set. Call inside HIDManager::DeviceSession.
bool legacyProbe(hid_device *device, LegacyDeviceInfo &info,
                 LegacyProbeOutcome *outcome = nullptr);
