#pragma once

#include "model/keylayers.h"

#include <QVector>

// A save runs on a worker thread while the user keeps editing, and only the UI
// thread may touch the key store. So a save goes in three steps:
//   1. UI thread:     a snapshot of the marked records (SaveSnapshot::of)
//                     (all of them, or the keys only after a macro recording)
//   2. worker thread: SaveResult result = manager->saveSnapshot(snapshot);
//                     (the progress and finish signals come from here)
//   3. UI thread:     the store clears the marks of what the result lists.
// Step 3 clears the mark of a written item only when the store still holds
// exactly what was written, so an edit made during the save keeps its mark and
// goes with the next save.

enum class SaveKind {
    All,       // changed keys and changed lighting ("Save Settings")
    KeysOnly,  // changed keys only (after a macro recording)
};

struct SavedKey {
    int layer = 0;
    int key = 0;
    KeyConfig record;
};

struct SavedLighting {
    int layer = 0;
    LedLayerConfig record;
};

struct SaveSnapshot {
    SaveKind kind = SaveKind::All;
    QVector<SavedKey> keys;          // changed slots, by layer then slot
    QVector<SavedLighting> lighting; // changed lighting records, by layer

    // The marked records of these layers; lighting only for SaveKind::All.
    static SaveSnapshot of(SaveKind kind, const KeyLayers &layers, const LedLayers &lighting);
    int itemCount() const { return keys.size() + lighting.size(); }
};

// Why a save did not get everything onto the keypad; the first failure of a
// save names it, except that a pulled cable always wins (every item after it
// fails too, and plugging in again is what the user has to do).
enum class SaveFailure {
    None,
    Refused,       // the keypad answered with a refusal (NAK or a failure status)
    NoAnswer,      // no acknowledgement before the deadline, on every attempt
    Unplugged,     // the keypad went away during the save (or was not there)
    NotSent,       // the report could not be written to the keypad
    NotOnKeypad,   // a changed slot the keypad has no place for; never written
    CannotEncode,  // an assignment the keypad's records cannot hold
    NotKept,       // acknowledged, but read back the keypad holds something else
};

struct SaveResult {
    bool started = false;  // false: no device was open, nothing was signalled
    bool ok = false;
    SaveFailure failure = SaveFailure::None;  // set whenever ok is false after a start
    QVector<SavedKey> writtenKeys;           // only what reached the keypad and was read back
    QVector<SavedLighting> writtenLighting;
    // Items the keypad acknowledged and then did not hold when read back.
    int notKeptKeys = 0;
    int notKeptLighting = 0;
    // Lighting records sent to a keypad that cannot report its lighting:
    // counted as written, but nothing checked them.
    int uncheckedLighting = 0;
};

// Records the failure of one item into `result` (see SaveFailure for which
// failure names the save).
void noteSaveFailure(SaveResult &result, SaveFailure failure);
