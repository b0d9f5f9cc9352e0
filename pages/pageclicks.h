#pragma once

#include <cstdint>

class KeyboardData;

// What a choice on an assignment page does to the selected key. The pages
// say what was chosen; the page host hands it over to these.

// A key of the on-screen keyboard or of the Ext Keys page: its usage goes to
// KeyboardData::appendBaseKey.
void chooseBaseKey(KeyboardData &data, uint8_t usage);

// A MultiMedia button: its consumer usage replaces the selected key.
void chooseMedia(KeyboardData &data, uint16_t code);

// A Mouse button: its action replaces the selected key. Keypads of the "Old"
// family cannot store gestures, so those are refused there.
void chooseMouseAction(KeyboardData &data, uint8_t action, bool legacyOldConnected);
