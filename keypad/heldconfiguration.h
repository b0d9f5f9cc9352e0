#pragma once

#include "device/savesnapshot.h"
#include "model/keylayers.h"

class KeyboardData;

// What the keypad holds as far as this program knows: what its last complete
// read found, with what saves since then wrote and read back laid over it.
// Unsaved edits never enter it, so it is what a history entry keeps.
class HeldConfiguration
{
public:
    // A read's layers; an incomplete read leaves nothing known.
    void read(const KeyLayers &layers, bool complete);
    // A full set of lighting as read.
    void readLighting(const LedLayers &lighting);
    // What a save wrote and checked.
    void confirm(const SaveResult &result);
    void forget();

    bool known() const { return m_known; }
    // Loads the held records into `store`, nothing marked.
    void fill(KeyboardData &store) const;

private:
    KeyLayers m_layers;
    LedLayers m_lighting;
    bool m_known = false;
};
