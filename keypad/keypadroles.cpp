#include "keypad/keypadroles.h"

#include "keypad/accessiblecontrolname.h"
#include "legacy/legacyrecord.h"
#include "model/keytexts.h"
#include "model/translation.h"

#include <iterator>

namespace {

// Mouse actions past this one are swipes and Like.
constexpr uint8_t kLastPointerAction = 10;

// The window's parts and the file's, in the order of ControlPart.
constexpr RolePart kRoleParts[] = {RolePart::Key,       RolePart::KnobTurnLeft,
                                   RolePart::KnobTurnRight, RolePart::KnobPress,
                                   RolePart::KnobPressTurnRight, RolePart::KnobPressTurnLeft};

// The presses and releases an assignment of keys plays, in order.
QVector<QPair<uint8_t, uint8_t>> playedKeys(const KeyConfig &record)
{
    QVector<QPair<uint8_t, uint8_t>> played;
    QByteArray down;
    if (record.type == KeyTypeSingle)
        down.append(char(record.keycode));
    if (record.type == KeyTypeCombination) {
        for (int bit = 0; bit < 8; ++bit)
            if (record.modifiers & (1u << bit))
                down.append(char(0xE0 + bit));
        down.append(record.keycodes);
    }
    for (char usage : down)
        played.append({0, uint8_t(usage)});
    for (int i = down.size() - 1; i >= 0; --i)
        played.append({1, uint8_t(down[i])});
    for (const MacroStep &step : record.macroSteps)
        played.append({step.action, step.keycode});
    return played;
}

} // namespace

ControlRole roleOf(const ControlIdentity &control)
{
    return ControlRole{kRoleParts[int(control.part)], control.number};
}

std::optional<ControlIdentity> identityOf(const ControlRole &role)
{
    for (int part = 0; part < int(std::size(kRoleParts)); ++part)
        if (kRoleParts[part] == role.part)
            return ControlIdentity{ControlPart(part), role.number};
    return std::nullopt;
}

int keptLayerCount(const DeviceState &state)
{
    const KeypadCapabilities &capabilities = state.capabilities();
    if (!capabilities.legacyKnobNumbering && state.info.valid && state.info.layerCount > 0)
        return qMin<int>(state.info.layerCount, capabilities.layerCount);
    return capabilities.layerCount;
}

bool keypadHolds(const DeviceState &state, const KeyConfig &record)
{
    const KeypadCapabilities &capabilities = state.capabilities();
    if (capabilities.legacyKnobNumbering) {
        // An older keypad's record keeps what it keeps: the assignment must
        // come back from it unchanged, or, for a key or a combination, come
        // back as a macro that plays the same keys in the same order.
        LegacyReport report{};
        if (!legacyEncode(state.legacyInfo.format, record, report))
            return false;
        KeyConfig back;
        legacyDecode(state.legacyInfo.format, report.data(), int(report.size()), back);
        if (back.sameAssignment(record))
            return true;
        return (record.type == KeyTypeSingle || record.type == KeyTypeCombination)
            && playedKeys(back) == playedKeys(record);
    }
    switch (record.type) {
    case KeyTypeMacro:
        return record.macroSteps.size() <= capabilities.maxMacroSteps;
    case KeyTypeCombination:
        return record.keycodes.size() <= capabilities.maxComboKeys;
    case KeyTypeMedia:
        return capabilities.mediaKeys;
    case KeyTypeMouse:
        return capabilities.mouseGestures || record.mouseAction <= kLastPointerAction;
    default:
        return true;
    }
}

QString controlText(const ControlRole &role, const QString &function)
{
    if (role.part == RolePart::Extra) {
        const QString plain = plainFunctionLine(function);
        return translateText(QStringLiteral("Extra %1: %2"))
            .arg(QString::number(role.number),
                 plain.isEmpty() ? translateText(QStringLiteral("not assigned")) : plain);
    }
    return accessibleControlName(*identityOf(role), function);
}
