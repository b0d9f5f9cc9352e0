#pragma once

#include "keypad/controlmap.h"
#include "keypad/devicestate.h"
#include "keypad/keypadfamilies.h"
#include "keypad/layoutcatalogue.h"

// A keypad read after it was plugged in, as every program sees it: its
// state, the picture the window draws of it and that picture's controls.
struct ConnectedKeypad {
    DeviceState state;
    LayoutSpec layout;
    ControlMap controls;
};

// What the read says of the keypad; `read.family` is null when it answered
// neither protocol, and then the state is of no family.
ConnectedKeypad describeConnectedKeypad(const KeypadConnectRead &read);
