#pragma once

#include <QString>
#include <cstdint>

// The HID keyboard usage of the key at the position a native scan code
// names, whatever the computer's keyboard layout makes it type. The keypad
// plays positions too, so a macro recorded this way types on the computer
// what was typed while recording. Returns 0 for a code that names no key the
// keypad can play (and for 0, which carries no position).
//
// The code is an XKB keycode: the Linux input event code + 8, as X11 and
// Wayland hand it over.
uint8_t usageForXkbKeycode(quint32 keycode);

// Whether a key event's native scan code is such an XKB keycode on the
// platform of this name. Elsewhere the code means something else (and the
// offscreen platform and synthetic events carry none at all).
bool scanCodesArePositions(const QString &platformName);
