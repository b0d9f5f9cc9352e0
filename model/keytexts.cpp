#include "model/keytexts.h"

#include "model/labels.h"
#include "model/translation.h"

namespace {

constexpr int kMacroControlChars = 8;
constexpr int kCombinationShortChars = 10;
const QString kCombinationSeparator = QStringLiteral(" + ");
const QString kPlainArrow = QStringLiteral(" \u2192 ");

bool isLetterUsage(uint8_t usage) { return usage >= 0x04 && usage <= 0x1D; }

// Shift counts as held for step `index` when, walking back from the step
// before it, a Shift press comes before any release.
bool shiftHeldBefore(const QVector<MacroStep> &steps, int index)
{
    for (int i = index - 1; i >= 0; --i) {
        const MacroStep &step = steps[i];
        if (step.action == 1)
            return false;
        if (step.action == 0 && (step.keycode == 0xE1 || step.keycode == 0xE5))
            return true;
    }
    return false;
}

// The names of a combination: its modifiers in bit order, then its keys.
QStringList combinationNames(const KeyConfig &key)
{
    QStringList names;
    for (int bit = 0; bit < 8; ++bit)
        if (key.modifiers & (1u << bit))
            names << modifierLabel(uint8_t(0xE0 + bit));
    for (char c : key.keycodes)
        names << keyLabel(uint8_t(c));
    return names;
}

// The long text of every type but macros and combinations.
QString plainTextOf(const KeyConfig &key)
{
    switch (key.type) {
    case KeyTypeSingle:
        return keyLabel(key.keycode);
    case KeyTypeMedia:
        return mediaLabel(key.mediaCode);
    case KeyTypeMouse:
        if (const auto names = mouseActionNames(key.mouseAction))
            return names->first;
        return QString();
    default:
        return QString();
    }
}

} // namespace

QStringList macroKeyNames(const QVector<MacroStep> &steps)
{
    QStringList names;
    for (int i = 0; i < steps.size(); ++i) {
        const MacroStep &step = steps[i];
        if (step.action != 0)
            continue;
        if (isModifierUsage(step.keycode)) {
            names << modifierLabel(step.keycode);
            continue;
        }
        QString label = keyLabel(step.keycode);
        if (isLetterUsage(step.keycode))
            label = shiftHeldBefore(steps, i) ? label.toUpper() : label.toLower();
        names << label;
    }
    return names;
}

QString macroControlText(const QStringList &names)
{
    if (names.isEmpty())
        return QStringLiteral("-");
    const QString text = names.join(QStringLiteral(" -> "));
    return text.size() > kMacroControlChars ? text.left(kMacroControlChars) + QStringLiteral("...")
                                            : text;
}

QString macroDisplayText(const QStringList &names, int stepCount)
{
    return names.isEmpty() ? QStringLiteral("Macro(%1)").arg(stepCount)
                           : names.join(QString::fromLatin1(kMacroArrowSpan));
}

QString fullTextOf(const KeyConfig &key)
{
    switch (key.type) {
    case KeyTypeCombination:
        return combinationNames(key).join(kCombinationSeparator);
    case KeyTypeMacro:
        if (key.macroSteps.isEmpty())
            return QString();
        return macroDisplayText(macroKeyNames(key.macroSteps), key.macroSteps.size());
    default:
        return plainTextOf(key);
    }
}

QString shortTextOf(const KeyConfig &key)
{
    switch (key.type) {
    case KeyTypeCombination: {
        const QString full = fullTextOf(key);
        if (full.isEmpty())
            return QStringLiteral("-");
        return full.size() <= kCombinationShortChars
            ? full
            : full.left(kCombinationShortChars) + QStringLiteral("...");
    }
    case KeyTypeMacro: {
        if (key.macroSteps.isEmpty())
            return QStringLiteral("-");
        // A macro of releases only names its step count here as well.
        const QStringList names = macroKeyNames(key.macroSteps);
        return names.isEmpty() ? fullTextOf(key) : macroControlText(names);
    }
    case KeyTypeMouse:
        if (const auto names = mouseActionNames(key.mouseAction))
            return names->second;
        return QString();
    default:
        return plainTextOf(key);
    }
}

QString controlTextOf(const KeyConfig &key)
{
    if (key.type == KeyTypeMacro)
        return macroControlText(macroKeyNames(key.macroSteps));
    if (key.type == KeyTypeCombination)
        return shortTextOf(key);
    return plainTextOf(key);
}

QString displayTextOf(const KeyConfig &key)
{
    if (key.type == KeyTypeMacro)
        return macroDisplayText(macroKeyNames(key.macroSteps), key.macroSteps.size());
    return fullTextOf(key);
}

QString fileTextOf(const KeyConfig &key)
{
    if (key.type == KeyTypeMacro) {
        const QStringList names = macroKeyNames(key.macroSteps);
        if (!names.isEmpty())
            return names.join(kPlainArrow);
    }
    return fullTextOf(key);
}

QString printedTextOf(const KeyConfig &key)
{
    if (key.type != KeyTypeMacro)
        return translateText(displayTextOf(key));
    QStringList names = macroKeyNames(key.macroSteps);
    if (names.isEmpty())
        return macroDisplayText(names, key.macroSteps.size());
    for (QString &name : names)
        name = translateText(name);
    return names.join(kPlainArrow);
}

QString plainFunctionLine(const QString &displayText)
{
    // The only markup a record's text holds is the macro's arrow; key names
    // such as "<" stay as they are.
    QString text = displayText;
    text.replace(QLatin1String(kMacroArrowSpan), QStringLiteral(" \u27A1 "));
    return text.simplified();
}

LegendShape legendShapeOf(const KeyConfig &key)
{
    switch (key.type) {
    case KeyTypeCombination:
        return LegendShape::Combination;
    case KeyTypeMacro:
        return LegendShape::Chain;
    default:
        return LegendShape::Words;
    }
}
