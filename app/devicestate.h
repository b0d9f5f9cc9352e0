#pragma once

#include "device/deviceinfo.h"
#include "legacy/legacydeviceinfo.h"

// What the window knows of the keypad plugged in now. The connection flows
// keep it; the layer column, the pages and the selection read it.
struct DeviceState {
    bool connected = false;
    bool legacyActive = false;
    bool legacyR20Wide = false;
    bool legacyOld = false;
    DeviceInfo info;
    LegacyDeviceInfo legacyInfo;
    // Layers the last keypad reported; stays after it is pulled out.
    int lastConnectedLayerCount = 0;

    bool r20WideActive() const { return connected && legacyActive && legacyR20Wide; }
    bool oldActive() const { return connected && legacyActive && legacyOld; }

    // Forgets the keypad that went away. How many layers it had and its
    // family stay: its picture stays until the next keypad is read, and
    // that picture's controls keep their numbering.
    void forgetKeypad()
    {
        connected = false;
        legacyActive = false;
        info = DeviceInfo();
        legacyInfo = LegacyDeviceInfo();
    }
};
