#pragma once

#include "device/deviceinfo.h"

#include <QString>
#include <QVector>

// The pictures the window can draw of a keypad, and how one is chosen: a
// start-up preset while no keypad is there, the keypad's own description
// once one has connected.

// The start-up picture, chosen before any keypad has described itself.
enum StartupLayoutPreset : int {
    Preset16K3E = 0,
    Preset6K1E = 1,
    Preset0K1E = 2,
    Preset5K2E = 3,
    Preset1K0E = 4,
};

// Catalogue ids, as the device-description table yields them.
enum LayoutId : int {
    Layout16K3E_S0 = 0,
    Layout16K3E_S1 = 1,
    Layout16K3E_S2 = 2,
    Layout16K3E_S3 = 3,
    Layout6K1E = 4,
    Layout6K0E = 5,
    Layout1K0E = 6,
    Layout0K1E = 7,
    Layout0K1E_P1S1 = 8,
    Layout5K2E = 9,
};
constexpr int kLayoutCount = 10;

// One knob of a picture: it edits control slots baseSlot .. baseSlot + 2
// (turn left, turn right, press); five parts mean the single-knob display
// with its two pressed-turn pictures.
struct KnobSpec {
    int baseSlot = 0;
    int partCount = 3;

    // Buttons of a turn-and-press knob that show: at most the three.
    int shownParts() const { return partCount < 1 ? 1 : partCount > 3 ? 3 : partCount; }
};

// A picture of one keypad model. Sizes are pixels at the design window size
// of 1500 x 1100; the window scales them.
struct LayoutSpec {
    int id = Layout16K3E_S0;
    QString name;
    int rows = 1;
    int columns = 1;
    int keyCount = 0;       // keys in the grid, row by row; at most 16 shown
    int keySize = 80;       // side of a key button
    int keySpacing = 8;     // gap between two key cells
    int keyNumberFontPx = 14;
    int knobPartSize = 80;  // side of one knob part
    int knobPartGap = 6;    // gap between the parts of one knob
    int knobGroupGap = 20;  // gap between two knobs
    int knobsPerRow = 1;    // knobs side by side before the next row starts
    int extraTurnKnobs = 0; // knobs drawn as turn-only pairs in slots 5..8
    bool topToBottom = false; // keys above knobs instead of beside them
    int horizontalShift = 0;
    int topOffset = 10;     // top margin of the key and knob group; -1 keeps 20
    QVector<KnobSpec> knobs;

    bool isSingleKnob() const { return knobs.size() == 1 && knobs.first().partCount == 5; }
    // Grid rows that actually hold a key.
    int usedRows() const;
};

// The catalogue entry for an id; ids outside the catalogue give entry 0.
LayoutSpec layoutById(int id);

// The start-up picture for a preset; unknown values give the 16-key pad.
LayoutSpec layoutForPreset(int preset);

// The catalogue id for a keypad's description. A keypad of a family that
// reports only its counts (the older ones) is first recognised by its key
// and knob counts alone.
int layoutIdForDevice(const DeviceInfo &info, bool layoutFromCounts);
LayoutSpec layoutForDevice(const DeviceInfo &info, bool layoutFromCounts);
