#pragma once

#include "device/deviceinfo.h"
#include "keypad/keypadfamilies.h"
#include "legacy/legacydescription.h"
#include "legacy/legacydeviceinfo.h"

// What the window knows of the keypad plugged in now. The connection flows
// keep it; the layer column, the pages and the selection read it.
struct DeviceState {
    bool connected = false;
    // The family of the keypad read last; null before any, or when the last
    // keypad answered neither protocol.
    const KeypadFamily *family = nullptr;
    // Whether `family` is that of the keypad connected now: set by its
    // connect read, cleared when it goes away.
    bool familyConnected = false;
    DeviceInfo info;
    LegacyDeviceInfo legacyInfo;
    // Layers the last keypad reported; stays after it is pulled out.
    int lastConnectedLayerCount = 0;

    // The connected keypad's family; the current family while none is known.
    const KeypadFamily &connectedFamily() const
    {
        return familyConnected && family ? *family : currentKeypadFamily();
    }
    const KeypadCapabilities &capabilities() const { return connectedFamily().capabilities(); }
    // The family of the last keypad read, connected or not.
    const KeypadFamily &lastFamily() const { return family ? *family : currentKeypadFamily(); }
    KeypadDescription description() const
    {
        return legacyInfo.valid ? legacyKeypadDescription(legacyInfo) : KeypadDescription{info, {}};
    }

    // Forgets the keypad that went away. How many layers it had and its
    // family stay: its picture stays until the next keypad is read, and
    // that picture's controls keep their numbering.
    void forgetKeypad()
    {
        connected = false;
        familyConnected = false;
        info = DeviceInfo();
        legacyInfo = LegacyDeviceInfo();
    }
};
