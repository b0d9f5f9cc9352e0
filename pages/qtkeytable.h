#pragma once

#include <cstdint>

// The HID keyboard usage of the key behind a Qt key code, read as on a US
// layout; the recorder falls back on it for events that carry no key
// position (scancodetable.h). Shifted characters give the key that produces
// them ("!" is the key 1), and the modifiers are always the left ones, since
// Qt does not tell left from right. Returns 0 for a key the keypad cannot play.
uint8_t usageForQtKey(int qtKey);
