#pragma once

#include "device/savesnapshot.h"

class KeyboardData;

// The store's side of a save (see device/savesnapshot.h): what is marked
// goes into the snapshot, and what reached the keypad loses its mark.
SaveSnapshot saveSnapshotOf(const KeyboardData &store, SaveKind kind);
void applySaveResult(KeyboardData &store, const SaveResult &result);
