#include "model/keyconfig.h"

#include "model/keytexts.h"
#include "model/labels.h"

#include <QStringList>

namespace {

constexpr int kCombinationButtonChars = 10;

} // namespace

void KeyConfig::clear()
{
    *this = KeyConfig();
}

void KeyConfig::setSingleKey(uint8_t usage)
{
    clear();
    type = KeyTypeSingle;
    keycode = usage;
    fullText = keyLabel(usage);
    buttonText = fullText;
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
    updateCombinationText();
}

void KeyConfig::setMacro(const QVector<MacroStep> &steps)
{
    clear();
    type = KeyTypeMacro;
    macroSteps = steps;
    dirty = 1;
    updateMacroText();
}

void KeyConfig::setMedia(uint16_t code)
{
    clear();
    type = KeyTypeMedia;
    mediaCode = code;
    fullText = mediaLabel(code);
    buttonText = fullText;
    dirty = 1;
}

void KeyConfig::setMouseAction(uint8_t code)
{
    clear();
    type = KeyTypeMouse;
    dirty = 1;
    mouseAction = code;
    if (const auto names = mouseActionNames(code)) {
        fullText = names->first;
        buttonText = names->second;
    }
}

void KeyConfig::updateCombinationText()
{
    QStringList names;
    for (int bit = 0; bit < 8; ++bit)
        if (modifiers & (1u << bit))
            names << modifierLabel(uint8_t(0xE0 + bit));
    for (char c : keycodes)
        names << keyLabel(uint8_t(c));

    if (names.isEmpty()) {
        fullText = QString();
        buttonText = QStringLiteral("-");
        return;
    }
    fullText = names.join(QStringLiteral(" + "));
    buttonText = fullText.size() <= kCombinationButtonChars
        ? fullText
        : fullText.left(kCombinationButtonChars) + QStringLiteral("...");
}

void KeyConfig::updateMacroText()
{
    if (macroSteps.isEmpty()) {
        fullText = QString();
        buttonText = QStringLiteral("-");
        return;
    }

    const QStringList names = macroKeyNames(macroSteps);
    fullText = macroDisplayText(names, macroSteps.size());
    // A macro of releases only names its step count on the key as well.
    buttonText = names.isEmpty() ? fullText : macroControlText(names);
}

bool KeyConfig::sameAssignment(const KeyConfig &o) const
{
    return type == o.type && keycode == o.keycode && modifiers == o.modifiers
        && keycodes == o.keycodes && macroSteps == o.macroSteps && mediaCode == o.mediaCode
        && mouseAction == o.mouseAction && fullText == o.fullText && buttonText == o.buttonText;
}
