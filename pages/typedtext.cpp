#include "pages/typedtext.h"

#include "model/labels.h"
#include "model/macroedits.h"

namespace {

bool isShift(uint8_t usage) { return usage == 0xE1 || usage == 0xE5; }

} // namespace

TypedText typeText(const QString &text, const TypingLayout &layout, uint16_t delay)
{
    TypedText typed;
    const QVector<uint> characters = text.toUcs4();
    for (uint code : characters) {
        // An editor's line break is what Enter types.
        const char32_t character = code == '\n' ? U'\r' : char32_t(code);
        const KeyStroke stroke = layout.strokeFor(character);
        if (stroke.usage == 0) {
            const QString shown = QString::fromUcs4(&character, 1);
            if (!typed.untypable.contains(shown))
                typed.untypable += shown;
            continue;
        }
        QVector<MacroStep> &steps = typed.steps;
        if (stroke.shift)
            steps.append(macroStep(0, TypingLayout::kShiftUsage, delay));
        if (stroke.altGr)
            steps.append(macroStep(0, TypingLayout::kAltGrUsage, delay));
        steps.append(macroStep(0, stroke.usage, delay));
        steps.append(macroStep(1, stroke.usage, delay));
        if (stroke.altGr)
            steps.append(macroStep(1, TypingLayout::kAltGrUsage, delay));
        if (stroke.shift)
            steps.append(macroStep(1, TypingLayout::kShiftUsage, delay));
    }
    return typed;
}

QString typedPreview(const QVector<MacroStep> &steps, const TypingLayout &layout)
{
    QString text;
    int shiftsHeld = 0;
    bool altGrHeld = false;
    for (const MacroStep &step : steps) {
        const bool press = step.action == 0;
        if (isShift(step.keycode)) {
            shiftsHeld = qMax(0, shiftsHeld + (press ? 1 : -1));
            continue;
        }
        if (step.keycode == TypingLayout::kAltGrUsage) {
            altGrHeld = press;
            continue;
        }
        // Other modifiers type nothing of their own.
        if (!press || step.keycode >= 0xE0)
            continue;
        const char32_t character =
            layout.characterOf({step.keycode, shiftsHeld > 0, altGrHeld});
        if (character == U'\r')
            text += QStringLiteral("⏎");
        else if (character == U'\t')
            text += QStringLiteral("⇥");
        else if (character != 0)
            text += QString::fromUcs4(&character, 1);
        else
            text += QStringLiteral("‹%1›").arg(keyLabel(step.keycode));
    }
    return text;
}
