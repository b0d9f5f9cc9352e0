#pragma once

#include <QString>

// Which control of the keypad picture a button is: a key, or one part of a
// knob. `number` counts from 1, as the panel shows it.
enum class ControlPart { Key, TurnLeft, TurnRight, Press, PressTurnRight, PressTurnLeft };

struct ControlIdentity {
    ControlPart part = ControlPart::Key;
    int number = 0;
};

// What a screen reader says of a control: "Key 3: Ctrl+C", "Knob 1 turn
// left: Vol-", or "... not assigned" without a function. `functionText` is
// the whole function text; rich text (a macro's arrows) is read as plain.
QString accessibleControlName(const ControlIdentity &control, const QString &functionText);

// The control's own name: "Key 3", "Knob 1 press"; the pattern is the
// English text with the control's number as %1.
QString controlTitle(const ControlIdentity &control);
const char *controlTitlePattern(ControlPart part);

// How the control is used from the keyboard.
QString accessibleControlDescription(const ControlIdentity &control);
