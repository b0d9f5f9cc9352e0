#pragma once

#include "keypad/controlmap.h"
#include "keypad/devicestate.h"
#include "model/keyboarddata.h"
#include "model/keypadfile.h"

#include <QStringList>
#include <QVector>

// Between the key store and a keypad file: what an export writes, and what
// an import would change on the connected keypad before anything changes.

// What the window holds for the connected keypad, every layer it keeps and
// their lighting, unsaved edits included, each control named as `controls`
// names it. A control the keypad cannot change is marked fixed; lighting the
// keypad cannot report is left out. `source` names the keypad.
KeypadFile keypadFileOf(const KeyboardData &store, const DeviceState &state,
                        const ControlMap &controls, const KeypadFileSource &source);

// One layer of the file as it would land on this keypad.
struct LayerImport {
    int layer = 0;
    // Every slot's record once applied (marks not yet set); slots the
    // keypad cannot store keep what they hold.
    KeyLayer records;
    // "Key 3: A → Ctrl+C" for each control whose function changes.
    QStringList changes;
    bool hasLighting = false;
    LedLayerConfig lighting;
    bool lightingChanges = false;
};

struct ImportPlan {
    QVector<LayerImport> layers;
    // What the keypad cannot hold, one line each; skipped on import.
    QStringList notHeld;
};

// A file's controls land on the controls of this keypad's picture of the same
// name; its fixed controls change nothing.
ImportPlan planImport(const KeypadFile &file, const KeyboardData &store, const DeviceState &state,
                      const ControlMap &controls);

// What the user chose to take: a flag per planned layer (in plan order) and
// one for the lighting of all of them.
struct ImportChoice {
    QVector<bool> layers;
    bool lighting = true;
};

// Makes the chosen layers exactly as planned; what changes is marked unsaved.
void layImport(const ImportPlan &plan, const ImportChoice &choice, KeyboardData &store);
