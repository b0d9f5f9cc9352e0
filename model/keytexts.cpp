#include "model/keytexts.h"

#include "model/labels.h"

namespace {

constexpr int kMacroControlChars = 8;

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

// The texts every type but macros and combinations shows in both places.
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

QString controlTextOf(const KeyConfig &key)
{
    if (key.type == KeyTypeMacro)
        return macroControlText(macroKeyNames(key.macroSteps));
    if (key.type == KeyTypeCombination)
        return key.buttonText;
    return plainTextOf(key);
}

QString displayTextOf(const KeyConfig &key)
{
    if (key.type == KeyTypeMacro)
        return macroDisplayText(macroKeyNames(key.macroSteps), key.macroSteps.size());
    if (key.type == KeyTypeCombination)
        return key.fullText;
    return plainTextOf(key);
}

QString plainFunctionLine(const QString &fullText)
{
    // The only markup a record's text holds is the macro's arrow; key names
    // such as "<" stay as they are.
    QString text = fullText;
    text.replace(QLatin1String(kMacroArrowSpan), QStringLiteral(" \u27A1 "));
    return text.simplified();
}
