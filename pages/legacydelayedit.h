#pragma once

#include "model/keyconfig.h"

#include <QVector>
#include <cstdint>

class KeyboardData;

// The delay edits offered for the two older keypad families, which keep only
// the presses of a macro: the "Old" family one delay for all of them, the
// R20Wide family one delay per press.

constexpr int kMaxLegacyDelay = 60000;
// The release a delay edit adds after the press of a single key.
constexpr uint16_t kLegacyReleaseDelay = 20;

// "Old": the delay of the first press of the selected key's macro, else 0.
int oldFamilyDelay(const KeyConfig &key);
// "Old": gives every press of the selected key the delay `delay`; a single key
// becomes press and release. Returns whether the key changed.
bool applyOldFamilyDelay(KeyboardData &store, int delay);

constexpr int kR20WideDelaySlots = 18;

struct R20WideDelayEntry {
    uint8_t usage = 0;
    int delay = 0;
};

// R20Wide: one entry per press of the key, in order, at most 18; a single key
// is one entry without delay.
QVector<R20WideDelayEntry> r20WideDelayEntries(const KeyConfig &key);
// R20Wide: sets the delay of entry `slot` of the selected key. Returns whether
// the key changed.
bool applyR20WideDelay(KeyboardData &store, int slot, int delay);

// Every R20Wide press after the first waits at least this long.
constexpr int kR20WideLaterMinDelay = 50;

// R20Wide: the entries as one press step each, so the step edits of a
// written macro (delete, duplicate, move, delays) work on them.
QVector<MacroStep> r20WidePresses(const KeyConfig &key);
// R20Wide: gives the selected key these presses, each with its release, as
// one edit; none clears the key. Refused (false) past 18 presses or when
// nothing changes.
bool assignR20WidePresses(KeyboardData &store, QVector<MacroStep> presses);
