#include "keypad/controlaccepts.h"

#include "model/labels.h"

#include <QVector>

namespace {

// Mouse actions past this one are swipes and Like.
constexpr int kLastPointerAction = 10;

bool isAlias(const RecordLimits &record, int usage)
{
    return usage >= record.firstModifierAlias && usage <= record.lastModifierAlias;
}

// A usage a press list carries and brings back as it is.
bool isKeptUsage(const RecordLimits &record, uint8_t usage)
{
    return usage != 0 && !isAlias(record, usage);
}

int modifierCount(uint8_t modifiers)
{
    int count = 0;
    for (int bit = 0; bit < 8; ++bit)
        count += (modifiers >> bit) & 1;
    return count;
}

// The releases the keypad plays of these presses: last pressed, first let go.
bool releasedInReverse(const QVector<MacroStep> &steps, int presses, uint16_t delay)
{
    for (int i = 0; i < presses; ++i) {
        const MacroStep &release = steps[presses + i];
        if (release.action != 1 || release.keycode != steps[presses - 1 - i].keycode
            || release.delay != delay)
            return false;
    }
    return true;
}

// A macro the keypad plays back as it was given: its presses, then their
// releases in reverse order; a lone undelayed key reads back as a key.
bool keptAsPresses(const RecordLimits &record, const QVector<MacroStep> &steps)
{
    const int presses = steps.size() / 2;
    if (presses < 1 || steps.size() != 2 * presses)
        return false;
    if (!releasedInReverse(steps, presses, uint16_t(record.releaseDelay)))
        return false;
    if (presses == 1 && steps[0].delay == 0 && !isModifierUsage(steps[0].keycode))
        return false;
    int heldModifiers = 0;
    for (int i = 0; i < presses; ++i) {
        const MacroStep &press = steps[i];
        if (press.action != 0 || !isKeptUsage(record, press.keycode))
            return false;
        if (record.form == PressRecord::HeldPresses) {
            // One delay for all, modifiers first, each once and in the order
            // of their bits.
            if (press.delay != steps[0].delay)
                return false;
            if (isModifierUsage(press.keycode)) {
                if (i != heldModifiers || (i > 0 && press.keycode <= steps[i - 1].keycode))
                    return false;
                ++heldModifiers;
            }
        }
    }
    const int keys = presses - (record.form == PressRecord::HeldPresses ? heldModifiers : 0);
    return keys <= record.maxPresses;
}

bool keptCombination(const ControlAccepts &accepts, const KeyConfig &function)
{
    const RecordLimits &record = accepts.record;
    int keys = function.keycodes.size();
    if (record.form == PressRecord::Steps)
        return keys <= accepts.maxComboKeys;
    for (char usage : function.keycodes)
        if (!isKeptUsage(record, uint8_t(usage)))
            return false;
    // A press list counts the modifiers among its presses.
    if (record.form == PressRecord::TimedPresses)
        keys += modifierCount(function.modifiers);
    return keys <= accepts.maxComboKeys;
}

} // namespace

bool ControlAccepts::holds(const KeyConfig &function) const
{
    if (fixed)
        return false;
    const bool pressList = record.form != PressRecord::Steps;
    switch (function.type) {
    case KeyTypeEmpty:
        return true;
    case KeyTypeSingle:
        return singleKeys && (!pressList || isKeptUsage(record, function.keycode));
    case KeyTypeCombination:
        return combinations && keptCombination(*this, function);
    case KeyTypeMacro:
        return macros
            && (pressList ? keptAsPresses(record, function.macroSteps)
                          : function.macroSteps.size() <= maxMacroSteps);
    case KeyTypeMedia:
        return media && (!pressList || function.mediaCode != 0);
    case KeyTypeMouse:
        return mouse && function.mouseAction <= lastMouseAction;
    default:
        // A press list has no record for a type it does not know.
        return !pressList;
    }
}

ControlAccepts acceptsOf(const KeypadCapabilities &capabilities)
{
    ControlAccepts accepts;
    accepts.record = capabilities.record;
    accepts.media = capabilities.mediaKeys;
    accepts.lastMouseAction = qMin(capabilities.record.lastMouseAction,
                                   capabilities.mouseGestures ? 255 : kLastPointerAction);
    if (capabilities.record.form == PressRecord::Steps) {
        accepts.maxMacroSteps = capabilities.maxMacroSteps;
        accepts.maxComboKeys = capabilities.maxComboKeys;
    } else {
        // Macros and combinations both become the record's press list; a
        // held list keeps up to eight modifiers besides its keys.
        const int presses = capabilities.record.maxPresses;
        const int modifiers = capabilities.record.form == PressRecord::HeldPresses ? 8 : 0;
        accepts.maxMacroSteps = 2 * (presses + modifiers);
        accepts.maxComboKeys = presses;
    }
    return accepts;
}
