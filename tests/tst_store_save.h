#pragma once

#include "keypad/storesave.h"
#include "device/hidmanager.h"
#include "legacy/legacywrite.h"
#include "model/keyboarddata.h"

// A whole save on the test's own thread: the snapshot of what is marked,
// the write, and the marks of what reached the keypad cleared.
inline bool saveAll(HIDManager &manager, KeyboardData &store)
{
    const SaveResult result = manager.saveSnapshot(saveSnapshotOf(store, SaveKind::All));
    applySaveResult(store, result);
    return result.started && result.ok;
}

inline bool saveKeys(HIDManager &manager, KeyboardData &store)
{
    const SaveResult result = manager.saveSnapshot(saveSnapshotOf(store, SaveKind::KeysOnly));
    applySaveResult(store, result);
    return result.started && result.ok;
}

inline bool legacySave(hid_device *device, const LegacyDeviceInfo &info, KeyboardData &store)
{
    const SaveResult result = legacySave(device, info, saveSnapshotOf(store, SaveKind::All));
    applySaveResult(store, result);
    return result.started && result.ok;
}
