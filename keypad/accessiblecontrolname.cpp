#include "keypad/accessiblecontrolname.h"

#include "model/keytexts.h"
#include "model/translation.h"


namespace {

// The name patterns by part, in the order of ControlPart.
constexpr const char *kNamePatterns[] = {
    "Key %1: %2",
    "Knob %1 turn left: %2",
    "Knob %1 turn right: %2",
    "Knob %1 press: %2",
    "Knob %1 press and turn right: %2",
    "Knob %1 press and turn left: %2",
};

constexpr const char *kTitlePatterns[] = {
    "Key %1",
    "Knob %1 turn left",
    "Knob %1 turn right",
    "Knob %1 press",
    "Knob %1 press and turn right",
    "Knob %1 press and turn left",
};


} // namespace

QString accessibleControlName(const ControlIdentity &control, const QString &functionText)
{
    QString function = plainFunctionLine(functionText);
    if (function.isEmpty())
        function = translateText(QStringLiteral("not assigned"));
    const QString pattern =
        translateText(QString::fromLatin1(kNamePatterns[int(control.part)]));
    return pattern.arg(QString::number(control.number), function);
}

const char *controlTitlePattern(ControlPart part)
{
    return kTitlePatterns[int(part)];
}

QString controlTitle(const ControlIdentity &control)
{
    return translateText(QString::fromLatin1(controlTitlePattern(control.part)))
        .arg(control.number);
}

QString accessibleControlDescription(const ControlIdentity &control)
{
    const char *text = control.part == ControlPart::Key
        ? "Select to give this key a function; Ctrl+C copies, Ctrl+V pastes, Delete clears"
        : "Select to give this knob part a function; Ctrl+C copies, Ctrl+V pastes, Delete clears";
    return translateText(QString::fromLatin1(text));
}
