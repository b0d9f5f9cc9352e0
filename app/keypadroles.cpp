#include "app/keypadroles.h"

#include "app/accessiblecontrolname.h"
#include "legacy/legacyrecord.h"
#include "model/translation.h"

#include <QTextDocumentFragment>

namespace {

// The older families keep sixteen keys, then three knobs.
constexpr int kLegacyKeys = 16;
constexpr int kLegacyKnobs = 3;
// A keypad that has not described itself is drawn as the 16-key pad.
constexpr int kUndescribedKeys = 16;
constexpr int kUndescribedKnobs = 3;
// Mouse actions past this one are swipes and Like.
constexpr uint8_t kLastPointerAction = 10;
constexpr RolePart kKnobParts[] = {RolePart::KnobTurnLeft, RolePart::KnobTurnRight,
                                   RolePart::KnobPress};

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

bool isCurrentDescribed(const DeviceState &state)
{
    return !state.capabilities().legacyKnobNumbering && state.info.valid;
}

} // namespace

KeypadRoles::KeypadRoles(const DeviceState &state)
{
    const KeypadCapabilities &capabilities = state.capabilities();
    int keys = kUndescribedKeys;
    int knobs = kUndescribedKnobs;
    if (capabilities.legacyKnobNumbering) {
        keys = kLegacyKeys;
        knobs = kLegacyKnobs;
    } else if (isCurrentDescribed(state)) {
        keys = state.info.keyCount;
        knobs = state.info.encoderCount;
    }
    m_layerCount = capabilities.layerCount;
    if (isCurrentDescribed(state) && state.info.layerCount > 0)
        m_layerCount = qMin<int>(state.info.layerCount, kLayerCount);

    int slot = 0;
    for (int key = 1; key <= keys && slot < kKeySlotCount; ++key)
        m_roles[size_t(slot++)] = ControlRole{RolePart::Key, key};
    for (int knob = 1; knob <= knobs; ++knob)
        for (RolePart part : kKnobParts)
            if (slot < kKeySlotCount)
                m_roles[size_t(slot++)] = ControlRole{part, knob};
    // Whatever slots follow are the extra keys; a keypad that has fewer
    // refuses the rest as unwritable.
    for (int extra = 1; slot < kKeySlotCount; ++extra)
        m_roles[size_t(slot++)] = ControlRole{RolePart::Extra, extra};
}

std::optional<ControlRole> KeypadRoles::roleOf(int slot) const
{
    if (slot < 0 || slot >= kKeySlotCount)
        return std::nullopt;
    return m_roles[size_t(slot)];
}

int KeypadRoles::slotOf(const ControlRole &role) const
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (m_roles[size_t(slot)] == role)
            return slot;
    return -1;
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
        const QString plain = QTextDocumentFragment::fromHtml(function).toPlainText().simplified();
        return translateText(QStringLiteral("Extra %1: %2"))
            .arg(QString::number(role.number),
                 plain.isEmpty() ? translateText(QStringLiteral("not assigned")) : plain);
    }
    static const ControlPart kParts[] = {ControlPart::Key, ControlPart::TurnLeft,
                                         ControlPart::TurnRight, ControlPart::Press};
    return accessibleControlName(ControlIdentity{kParts[int(role.part)], role.number}, function);
}
