#pragma once

#include "device/deviceinfo.h"
#include "device/savesnapshot.h"
#include "legacy/legacydeviceinfo.h"
#include "model/keyboarddata.h"

class HIDManager;

// What a background read of the keypad hands back to the window. The tasks
// below run on the global thread pool and touch nothing but the device link
// and their own copies; the window loads the result on the UI thread.
struct DeviceReadResult {
    int connectionSerial = 0;  // the window's connection the read belongs to
    bool readComplete = false; // every layer and lighting record was read
    bool infoOk = false;       // the current-protocol description was read
    bool legacyOk = false;     // a legacy keypad answered the probe
    DeviceInfo info;
    LegacyDeviceInfo legacyInfo;
    KeyLayers layers;
    LedLayers lighting;
};

// After a keypad was plugged in: its description, then its configuration,
// through the current protocol or, when the description goes unanswered,
// through the legacy probe and reads.
DeviceReadResult readConnectedKeypad(HIDManager &link);

// "View Settings" and the like: the configuration again, by the protocol the
// connected keypad speaks.
DeviceReadResult readKeypadConfiguration(HIDManager &link, bool legacy);

// Writes a snapshot of the store's changes, by the keypad's protocol. The
// current protocol reports its end through operationFinished as well.
SaveResult saveToKeypad(HIDManager &link, bool legacy, const LegacyDeviceInfo &legacyInfo,
                        const SaveSnapshot &snapshot);
