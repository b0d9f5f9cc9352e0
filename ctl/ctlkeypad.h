#pragma once

#include "ctl/ctlexit.h"

#include "device/hidmanager.h"
#include "keypad/connectedkeypad.h"
#include "model/keyboarddata.h"

#include <QString>
#include <memory>

// A keypad opened and read for one command: the link that holds it, what it
// is, and a store holding what it keeps, as the window's would after its
// connect read.
struct CtlKeypad {
    // Null when the window holds the keypad and answers for it.
    std::unique_ptr<HIDManager> link;
    HIDManager::KeypadNode node;
    ConnectedKeypad keypad;
    KeyboardData store;
    // Whether the last read brought back every layer and lighting record.
    bool readComplete = false;
};

// Opens the keypad `selector` names (its node path or its number in `list`,
// from 1; the first one when empty) and reads it. Without a keypad, `exit`
// says why and `message` in words.
struct CtlOpen {
    std::unique_ptr<CtlKeypad> keypad;
    CtlExit exit = CtlExit::Ok;
    QString message;
};
CtlOpen openCtlKeypad(const QString &selector);

// Reads the opened keypad's layers and lighting into its store again, as
// "View Settings" does; false when the read did not complete.
bool rereadCtlKeypad(CtlKeypad &keypad);
