#pragma once

#include "device/deviceinfo.h"

#include <QVector>

// Which of the 25 key slots a keypad of the current family has. The keypad
// numbers its slots from 0: its keys, then three per knob (turn left, turn
// right, press), then its extra keys. A slot at or past the count is not
// there: the keypad cannot store it and a save never writes it.

// Key slots of the keypad: keys + 3 per knob + extra keys, at most 25; 25
// while no description is known (or it reports no keys).
int keySlotCountOf(const DeviceInfo &info);

// The slots 0..24 the keypad did not report, for
// KeyboardData::setUnwritableSlots while it is connected. A picture that
// shows more controls than the keypad has (no picture matches its
// description) must leave these alone.
QVector<int> slotsBeyondKeypad(const DeviceInfo &info);
