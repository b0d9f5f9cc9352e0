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

QVector<MacroStep> r20WidePresses(const KeyConfig &key)
{
    QVector<MacroStep> presses;
    for (const R20WideDelayEntry &entry : r20WideDelayEntries(key))
        presses.append(pressAndRelease(entry.usage, entry.delay).first());
    return presses;
}

bool assignR20WidePresses(KeyboardData &store, QVector<MacroStep> presses)
{
    const KeyConfig *key = store.selectedConfig();
    if (!key || presses.size() > kR20WideDelaySlots || presses == r20WidePresses(*key))
        return false;
    // The keypad plays its presses in order and lets them all go at the
    // end, as a read of the key gives them back.
    QVector<MacroStep> steps;
    for (int i = 0; i < presses.size(); ++i) {
        // A press moved away from the front keeps the keypad's shortest wait.
        const int delay = i == 0 ? presses[i].delay
                                 : qMax<int>(presses[i].delay, kR20WideLaterMinDelay);
        steps += pressAndRelease(presses[i].keycode, delay).first();
    }
    for (int i = presses.size() - 1; i >= 0; --i)
        steps += pressAndRelease(presses[i].keycode, 0).last();
    store.updateSelectedKey([&steps](KeyConfig &record) {
        if (steps.isEmpty()) {
            record.clear();
            record.dirty = 1;
        } else {
            record.setMacro(steps);
        }
    });
    store.refreshSelectedTexts();
    return true;
}
