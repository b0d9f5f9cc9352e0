#pragma once

#include <QString>
#include <cstdint>

// What a screen reader says of a key of the on-screen keyboard, in the
// window's language: "Left Shift" and "Right Shift", "Keypad 1" beside "1",
// "Up Arrow" for the arrow drawn as "^". Every key of the keyboard has a
// name of its own; `label` is the key's legend, used where it says enough.
QString baseKeySpokenName(uint8_t usage, const char *label);
