// The device work of the window's background tasks. Worker threads only:
// nothing here sees the window or its key store.

#include "keypad/connectresult.h"

DeviceReadResult readConnectedKeypad(HIDManager &link)
{
    DeviceReadResult result;
    static_cast<KeypadConnectRead &>(result) = identifyAndReadKeypad(link);
    return result;
}

DeviceReadResult readKeypadConfiguration(HIDManager &link, const KeypadFamily &family)
{
    DeviceReadResult result;
    static_cast<KeypadContents &>(result) = family.read(link);
    return result;
}
