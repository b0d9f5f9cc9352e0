#include "model/keyconfig.h"

#include "model/labels.h"

void KeyConfig::clear()
{
    *this = KeyConfig();
}

void KeyConfig::setSingleKey(uint8_t usage)
{
    clear();
    type = KeyTypeSingle;
    keycode = usage;
    dirty = 1;
}

void KeyConfig::setCombination(uint8_t mask, const QByteArray &usages)
{
    clear();
    type = KeyTypeCombination;
    modifiers = mask;
    for (char c : usages) {
        if (keycodes.size() >= kMaxCombinationKeys)
            break;
        const uint8_t usage = uint8_t(c);
        if (usage == 0 || isModifierUsage(usage) || keycodes.contains(char(usage)))
            continue;
        keycodes.append(char(usage));
    }
    dirty = 1;
}

void KeyConfig::setMacro(const QVector<MacroStep> &steps)
{
    clear();
    type = KeyTypeMacro;
    macroSteps = steps;
    dirty = 1;
}

void KeyConfig::setMedia(uint16_t code)
{
    clear();
    type = KeyTypeMedia;
    mediaCode = code;
    dirty = 1;
}

void KeyConfig::setMouseAction(uint8_t code)
{
    clear();
    type = KeyTypeMouse;
    dirty = 1;
    mouseAction = code;
}

bool KeyConfig::sameAssignment(const KeyConfig &o) const
{
    return type == o.type && keycode == o.keycode && modifiers == o.modifiers
        && keycodes == o.keycodes && macroSteps == o.macroSteps && mediaCode == o.mediaCode
        && mouseAction == o.mouseAction;
}
