#pragma once

#include "model/keyconfig.h"

#include <QVector>

// The edits of a written macro, on its list of steps: each takes the steps
// and the selected step indices (ascending) and gives the new steps and the
// steps selected afterwards. None makes a macro longer than a key holds;
// such an edit gives the steps back unchanged.

struct MacroEditResult {
    QVector<MacroStep> steps;
    QVector<int> selection;
};

// Step indices sorted, without repeats and inside the macro.
QVector<int> normalizedSelection(const QVector<int> &selection, int stepCount);

// A click on `step` with the selection `selected`: with `extend` (Shift)
// everything from `anchor` to it, with `toggle` (Ctrl) the step added or
// taken away, else the step alone. A click that does not extend moves the
// anchor to the step.
QVector<int> clickedSelection(const QVector<int> &selected, int &anchor, int step, bool extend,
                              bool toggle);

MacroEditResult deleteSteps(const QVector<MacroStep> &steps, const QVector<int> &selection);
// The copies follow the last selected step, in their order, and are selected.
MacroEditResult duplicateSteps(const QVector<MacroStep> &steps, const QVector<int> &selection);
// Moves the selected steps, kept in their order, so the first of them lands
// at `target` among the steps that are not moved.
MacroEditResult moveStepsTo(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            int target);
// One place earlier (-1) or later (+1).
MacroEditResult moveStepsBy(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            int offset);
MacroEditResult setStepDelays(const QVector<MacroStep> &steps, const QVector<int> &selection,
                              uint16_t delay);
// Inserts `added` after the last selected step (at the end without a
// selection); the inserted steps are selected.
MacroEditResult insertSteps(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            const QVector<MacroStep> &added);
MacroStep macroStep(uint8_t action, uint8_t usage, uint16_t delay);
// The press and the release of one key, each after `delay` ms.
QVector<MacroStep> keyTap(uint8_t usage, uint16_t delay);

// Keys a macro leaves held, and keys it releases that were not held.
struct MacroBalance {
    QVector<uint8_t> neverReleased;
    QVector<uint8_t> neverPressed;
    bool isBalanced() const { return neverReleased.isEmpty() && neverPressed.isEmpty(); }
};
MacroBalance macroBalance(const QVector<MacroStep> &steps);
// Releases the held keys at the end, last pressed first, and drops the
// releases of keys that were not held. Never longer than a key holds: the
// releases that do not fit are left out.
QVector<MacroStep> withMissingReleases(const QVector<MacroStep> &steps, uint16_t delay);

// How long the keypad takes to play the macro, in ms.
int macroRunningTime(const QVector<MacroStep> &steps);
