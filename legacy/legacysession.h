#pragma once

#include "device/savesnapshot.h"
#include "legacy/legacydeviceinfo.h"
#include "legacy/legacyprobe.h"
#include "model/keylayers.h"

class HIDManager;

// The legacy work of the connect and save tasks, each run as one device
// session of the device link: `busy` is set and the presence probe stays off
// the handle for the whole exchange.

struct LegacyConnectResult {
    bool legacyOk = false;      // a legacy keypad answered the probe
    LegacyProbeOutcome outcome = LegacyProbeOutcome::NoDevice;
    LegacyDeviceInfo info;
    bool readComplete = false;  // every layer was read
    KeyLayers layers;
    LedLayers lighting;         // four records after a successful R20Wide read, else empty
};

// Probe, then read the layers and (R20Wide) the lighting. Worker thread.
// An outcome of CurrentKeypad means the description should be read again.
LegacyConnectResult legacyConnectRead(HIDManager &manager);

// A legacy save of `snapshot` on the manager's device. Worker thread; the
// result goes back to the store on the UI thread.
SaveResult legacySaveSession(HIDManager &manager, const LegacyDeviceInfo &info,
                             const SaveSnapshot &snapshot);
