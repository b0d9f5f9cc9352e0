#pragma once

#include "legacy/legacydeviceinfo.h"
#include "model/ledlayerconfig.h"

#include <QVector>
#include <cstdint>

// Numbering and code tables of the two legacy families.

// Answers to one layer read: one key record per report.
constexpr int kR20WidePacketCount = 25;
constexpr int kOldPacketCount = 24;
int legacyPacketCount(int format);

// The key slot (0..24) that answer `packet` of a layer read fills.
int legacySlotOfPacket(int format, int packet);

// The keypad's own number of a key slot in a key write, or -1 when the family
// has no way to write that slot (Old: slots 15 and 19..24).
int legacyWireKey(int format, int slot);

// Whether a change to `slot` can reach a keypad of the family. The window uses
// this to refuse assignments an "Old" keypad could never store.
inline bool legacyWritableSlot(int format, int slot) { return legacyWireKey(format, slot) >= 0; }
// Every slot 0..24 the family cannot write, for KeyboardData::setUnwritableSlots.
QVector<int> legacyUnwritableSlots(int format);

// Report fields of a mouse action. `kind` is written by the R20Wide family
// only; `modifier` is in the family's own code (R20Wide 0xF1.., Old 1, 2, 4)
// or, for a gesture, the gesture number 1..5.
struct LegacyMouseFields {
    uint8_t kind;
    uint8_t modifier;
    uint8_t buttons;
    uint8_t wheel;
};
constexpr uint8_t kLegacyMouseKindPointer = 1;
constexpr uint8_t kLegacyMouseKindGesture = 4;
constexpr uint8_t kLegacyLastGesture = 15;   // actions 11..15: swipes and Like
constexpr uint8_t kLegacyGestureBase = 10;   // gesture number = action - 10

LegacyMouseFields legacyMouseFields(uint8_t action, int format);

// The pointer action (0..10) whose buttons, wheel and modifier code are those
// given, or -1. Gestures are not in this table.
int legacyMouseActionOf(uint8_t buttons, uint8_t wheel, uint8_t modifier, int format);

// The Old family keeps one colour per layer, from a palette of seven; V packs
// the palette entry and the effect into one byte.
constexpr int kOldPaletteSize = 7;
constexpr uint8_t kOldMaxEffect = 5;
int oldPaletteIndex(const RgbColor &color);
uint8_t oldLightingValue(const LedLayerConfig &lighting);

// R20Wide entries carry modifiers as 0xF1..0xF8 instead of 0xE0..0xE7.
constexpr uint8_t kR20WideFirstModifierCode = 0xF1;
constexpr uint8_t kR20WideLastModifierCode = 0xF8;
