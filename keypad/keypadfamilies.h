#pragma once

#include "device/keypadfamily.h"
#include "legacy/legacydeviceinfo.h"

#include <QVector>

// Every keypad family Zentrik speaks, and how a newly plugged keypad is told.

// The families in the order they are asked to claim a keypad.
const QVector<const KeypadFamily *> &keypadFamilies();

// The family of a keypad so described, or null when none claims it.
const KeypadFamily *keypadFamilyOf(const KeypadDescription &description);

// The current protocol's family; what the window offers while no keypad is
// known.
const KeypadFamily &currentKeypadFamily();

// The connect read's result: which family answered and what it holds.
struct KeypadConnectRead : KeypadContents {
    const KeypadFamily *family = nullptr; // null when the keypad answered neither protocol
    bool infoOk = false;   // the current-protocol description was read
    bool legacyOk = false; // a legacy keypad answered the probe
    DeviceInfo info;
    LegacyDeviceInfo legacyInfo;
};

// After a keypad was plugged in: its description, then its configuration,
// through the current protocol or, when the description goes unanswered,
// through the legacy probe (whose answer tells the older family) and reads.
// Worker thread.
KeypadConnectRead identifyAndReadKeypad(HIDManager &link);
