#pragma once

#include "model/keyboarddata.h"

#include <QVector>

// A save runs on a worker thread while the user keeps editing, and only the UI
// thread may touch KeyboardData. So a save goes in three steps:
//   1. UI thread:     SaveSnapshot snapshot = SaveSnapshot::ofAll(store);
//                     (or ofKeys for the keys-only save after a macro recording)
//   2. worker thread: SaveResult result = manager->saveSnapshot(snapshot);
//                     (the progress and finish signals come from here)
//   3. UI thread:     HIDManager::applySaveResult(store, result);
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

    static SaveSnapshot ofAll(const KeyboardData &store);
    static SaveSnapshot ofKeys(const KeyboardData &store);
    int itemCount() const { return keys.size() + lighting.size(); }
};

struct SaveResult {
    bool started = false;  // false: no device was open, nothing was signalled
    bool ok = false;
    QVector<SavedKey> writtenKeys;           // includes slots outside the model
    QVector<SavedLighting> writtenLighting;
};
