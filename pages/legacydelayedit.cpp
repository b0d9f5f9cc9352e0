#include "pages/legacydelayedit.h"

#include "model/keyboarddata.h"

namespace {

// The presses the older families play; releases and empty usages are not
// stored by them.
bool isPlayedPress(const MacroStep &step)
{
    return step.action == 0 && step.keycode != 0;
}

QVector<MacroStep> pressAndRelease(uint8_t usage, int delay)
{
    MacroStep press;
    press.action = 0;
    press.keycode = usage;
    press.delay = uint16_t(delay);
    MacroStep release;
    release.action = 1;
    release.keycode = usage;
    release.delay = kLegacyReleaseDelay;
    return {press, release};
}

} // namespace

int oldFamilyDelay(const KeyConfig &key)
{
    if (key.type != KeyTypeMacro)
        return 0;
    for (const MacroStep &step : key.macroSteps) {
        if (isPlayedPress(step))
            return step.delay;
    }
    return 0;
}

bool applyOldFamilyDelay(KeyboardData &store, int delay)
{
    const KeyConfig *key = store.selectedConfig();
    if (!key || key->isEmpty())
        return false;
    delay = qBound(0, delay, kMaxLegacyDelay);

    if (key->type == KeyTypeMacro) {
        QVector<MacroStep> steps = key->macroSteps;
        bool changed = false;
        for (MacroStep &step : steps) {
            if (isPlayedPress(step) && step.delay != delay) {
                step.delay = uint16_t(delay);
                changed = true;
            }
        }
        if (changed)
            store.assignMacro(steps);
        return changed;
    }
    if (key->type == KeyTypeSingle && key->keycode != 0) {
        store.assignMacro(pressAndRelease(key->keycode, delay));
        return true;
    }
    return false;
}

QVector<R20WideDelayEntry> r20WideDelayEntries(const KeyConfig &key)
{
    QVector<R20WideDelayEntry> entries;
    if (key.type == KeyTypeSingle && key.keycode != 0) {
        entries.append({key.keycode, 0});
    } else if (key.type == KeyTypeMacro) {
        for (const MacroStep &step : key.macroSteps) {
            if (entries.size() >= kR20WideDelaySlots)
                break;
            if (isPlayedPress(step))
                entries.append({step.keycode, step.delay});
        }
    }
    return entries;
}

bool applyR20WideDelay(KeyboardData &store, int slot, int delay)
{
    const KeyConfig *key = store.selectedConfig();
    if (!key || slot < 0 || slot >= kR20WideDelaySlots)
        return false;
    delay = qBound(0, delay, kMaxLegacyDelay);

    if (key->type == KeyTypeSingle && key->keycode != 0) {
        if (slot != 0)
            return false;
        store.assignMacro(pressAndRelease(key->keycode, delay));
        return true;
    }
    if (key->type != KeyTypeMacro)
        return false;

    int press = 0;
    for (int i = 0; i < key->macroSteps.size(); ++i) {
        if (!isPlayedPress(key->macroSteps[i]))
            continue;
        if (press++ == slot) {
            store.updateSelectedKey([i, delay](KeyConfig &record) {
                record.macroSteps[i].delay = uint16_t(delay);
                record.dirty = 1;
            });
            store.refreshSelectedTexts();
            return true;
        }
    }
    return false;
}
