#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/devicestate.h"
#include "model/keypadfile.h"

#include <QString>
#include <optional>

// Between the window's names of the controls and the file's: "Knob 1 turn
// left" is "knob 1 turn left" in a keypad file. The window's pictures have
// no extra keys, so a file's extras name no control of the window.
ControlRole roleOf(const ControlIdentity &control);
std::optional<ControlIdentity> identityOf(const ControlRole &role);

// Layers the connected keypad keeps.
int keptLayerCount(const DeviceState &state);

// The name the window shows for a control with a function text: "Key 3: A".
QString controlText(const ControlRole &role, const QString &function);
