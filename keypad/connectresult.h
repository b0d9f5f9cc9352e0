#pragma once

#include "keypad/keypadfamilies.h"

class HIDManager;

// What a background read of the keypad hands back to the window. The tasks
// below run on the global thread pool and touch nothing but the device link
// and their own copies; the window loads the result on the UI thread.
struct DeviceReadResult : KeypadConnectRead {
    int connectionSerial = 0; // the window's connection the read belongs to
};

// After a keypad was plugged in: which family it is, its description, then
// its configuration.
DeviceReadResult readConnectedKeypad(HIDManager &link);

// "View Settings" and the like: the configuration again, by the connected
// keypad's family.
DeviceReadResult readKeypadConfiguration(HIDManager &link, const KeypadFamily &family);
