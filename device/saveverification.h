#pragma once

#include "device/savesnapshot.h"

#include <functional>

// A keypad may acknowledge a write and still not keep it (a firmware fault, a
// worn memory, a reset at the wrong moment). So a save reads back the layers
// and lighting records it wrote and compares them with what it sent; only
// what the keypad holds as sent counts as saved.
struct SaveReadBack {
    // Reads one layer's keys from the keypad; false when it did not answer.
    std::function<bool(int layer, KeyLayer &keys)> readKeys;
    // Reads one layer's lighting; null when the family has no lighting read,
    // and then written lighting is taken as kept.
    std::function<bool(int layer, LedLayerConfig &lighting)> readLighting;
    // Whether a record read back is the one sent, as the keypad stores it.
    std::function<bool(const KeyConfig &sent, const KeyConfig &read)> sameKey;
    std::function<bool(const LedLayerConfig &sent, const LedLayerConfig &read)> sameLighting;
    // Why a read failed: the keypad went away, or it did not answer.
    std::function<SaveFailure()> readFailure;
};

// Reads back every layer `result` wrote keys to and every lighting record it
// wrote, and takes out of `result` what the keypad does not hold as sent (those
// stay marked unsaved): counted as not kept, or, when the read itself failed,
// as the save's failure. `result.ok` is false afterwards if anything was taken.
void verifySavedItems(SaveResult &result, const SaveReadBack &readBack);
