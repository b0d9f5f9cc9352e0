#pragma once

#include "device/keypadfamily.h"
#include "model/keyconfig.h"

// What one control of a keypad can be given: the kinds of function, how
// long a macro or combination may be, and whether it can be changed at all.
struct ControlAccepts {
    bool singleKeys = true;
    bool combinations = true;
    bool macros = true;
    bool media = true;
    bool mouse = true;
    int maxMacroSteps = 0;  // steps of a macro; the older records count presses
    int maxComboKeys = 0;   // keys of a combination besides its modifiers
    int lastMouseAction = 0;
    bool fixed = false;     // the keypad cannot store this control
    RecordLimits record;

    // Whether the control can keep this function exactly as it is; a key or
    // combination also fits when the keypad plays the same keys back.
    bool holds(const KeyConfig &function) const;
};

// What every control of a keypad of these capabilities can be given.
ControlAccepts acceptsOf(const KeypadCapabilities &capabilities);
