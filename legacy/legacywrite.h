#pragma once

#include "device/savesnapshot.h"
#include "legacy/legacydeviceinfo.h"
#include "model/keylayers.h"

#include <hidapi/hidapi.h>

// Writes and saves of a legacy keypad. The keypad never acknowledges: a report
// counts as delivered when hid_write took all of it, and nothing is kept
// until the commit report arrives. Call inside HIDManager::DeviceSession.

// Writes the record of `key` to slot `slot` of layer `layer`. A slot the family
// cannot address is skipped (logged) and counts as done here; a save leaves
// such a slot marked and reports it (SaveFailure::NotOnKeypad).
bool legacyWriteKey(hid_device *device, const LegacyDeviceInfo &info, int layer, int slot,
                    const KeyConfig &key);

// Writes each changed lighting record of `changed` the keypad has a layer for,
// and lists in `written` those that went out.
bool legacyWriteLighting(hid_device *device, const LegacyDeviceInfo &info,
                         const QVector<SavedLighting> &changed, QVector<SavedLighting> &written);

// The worker-thread part of a save: writes the snapshot's changed keys of the
// keypad's layers, then its changed lighting, then the commit. The result
// lists what reached the keypad's memory, whose marks the store clears on the
// UI thread. Until the commit went out nothing
// is kept by the keypad, so a save that stops earlier lists nothing.
SaveResult legacySave(hid_device *device, const LegacyDeviceInfo &info,
                      const SaveSnapshot &snapshot);
