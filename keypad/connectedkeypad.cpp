#include "keypad/connectedkeypad.h"

#include <QtGlobal>

ConnectedKeypad describeConnectedKeypad(const KeypadConnectRead &read)
{
    ConnectedKeypad keypad;
    DeviceState &state = keypad.state;
    state.connected = true;
    state.family = read.family;
    state.familyConnected = true;
    if (read.infoOk) {
        state.info = read.info;
    } else if (read.legacyOk) {
        state.legacyInfo = read.legacyInfo;
        state.info = deviceInfoFromLegacy(read.legacyInfo);
    }
    state.lastConnectedLayerCount = qBound(1, int(state.info.layerCount), 3);
    const KeypadCapabilities &capabilities = state.capabilities();
    keypad.layout = layoutForDevice(state.info, capabilities.layoutFromCounts);
    keypad.controls = ControlMap::of(state, keypad.layout);
    return keypad;
}
