#include "keypad/controlmap.h"

namespace {

constexpr int kGridKeys = 16;
constexpr int kKnobParts = 3;
constexpr int kHomeKnobBase = 16;

// Parts of a knob in slot order.
constexpr ControlPart kKnobPartsInOrder[kKnobParts] = {ControlPart::TurnLeft,
                                                       ControlPart::TurnRight, ControlPart::Press};
// The single-knob pad numbers its parts differently: right turn first.
constexpr ControlPart kSingleKnobParts[] = {ControlPart::TurnRight, ControlPart::TurnLeft,
                                            ControlPart::Press, ControlPart::PressTurnRight,
                                            ControlPart::PressTurnLeft};
constexpr int kSingleKnobPartCount = int(sizeof(kSingleKnobParts) / sizeof(kSingleKnobParts[0]));
// Turn-only knobs sit in places 5 to 8: left and right of the first knob,
// then of the second.
constexpr int kExtraTurnFirst = 5;
constexpr int kExtraTurnPlaces = 4;

// On the older families' single-knob pad the five places edit store slots
// out of order; slot 0 has no place there.
constexpr int kLegacyKnobSlotOfButton[kSingleKnobPartCount] = {3, 1, 2, 5, 4};
// The older families' six-key pad keeps its knob in slots 16..18, shown in
// places 6..8.
constexpr int kLegacySixKeyKnobSlot = 16;
constexpr int kLegacySixKeyKnobPlace = 6;

} // namespace

bool operator==(const ControlIdentity &a, const ControlIdentity &b)
{
    return a.part == b.part && a.number == b.number;
}

ControlMap::ControlMap()
    : ControlMap(layoutById(Layout16K3E_S0))
{
}

ControlMap::ControlMap(const LayoutSpec &layout, bool legacySingleKnob, bool legacySixKey)
{
    // Every place starts as the 16-key pad's; the picture then re-points
    // the places its keypad numbers differently.
    std::array<bool, kKeySlotCount> shown{};
    for (int place = 0; place < kKeySlotCount; ++place) {
        if (place < kGridKeys) {
            m_identities[size_t(place)] = {ControlPart::Key, place + 1};
            shown[size_t(place)] = place < layout.keyCount;
        } else {
            const int knob = (place - kHomeKnobBase) / kKnobParts;
            m_identities[size_t(place)] = {
                kKnobPartsInOrder[(place - kHomeKnobBase) % kKnobParts], knob + 1};
        }
    }
    if (layout.isSingleKnob()) {
        for (int part = 0; part < kSingleKnobPartCount; ++part) {
            m_identities[size_t(part)] = {kSingleKnobParts[part], 1};
            shown[size_t(part)] = true;
        }
    } else {
        for (int knob = 0; knob < qMin(int(layout.knobs.size()), 3); ++knob) {
            const KnobSpec &knobEntry = layout.knobs[knob];
            const int home = kHomeKnobBase + knob * kKnobParts;
            const int base = knobEntry.baseSlot < 0 || knobEntry.baseSlot + kKnobParts > kKeySlotCount
                ? home
                : knobEntry.baseSlot;
            for (int part = 0; part < kKnobParts; ++part) {
                m_identities[size_t(base + part)] = {kKnobPartsInOrder[part], knob + 1};
                shown[size_t(base + part)] = part < knobEntry.shownParts();
            }
        }
    }
    for (int i = 0; layout.extraTurnKnobs > 0 && i < kExtraTurnPlaces; ++i) {
        m_identities[size_t(kExtraTurnFirst + i)] = {
            i % 2 == 0 ? ControlPart::TurnLeft : ControlPart::TurnRight, i / 2 + 1};
        shown[size_t(kExtraTurnFirst + i)] = i < 2 * layout.extraTurnKnobs;
    }

    for (int i = 0; i < kKeySlotCount; ++i) {
        m_slotOfButton[size_t(i)] = i;
        m_buttonOfSlot[size_t(i)] = i;
    }
    if (legacySingleKnob && layout.id == Layout0K1E) {
        m_buttonOfSlot[0] = -1;
        for (int place = 0; place < kSingleKnobPartCount; ++place) {
            m_slotOfButton[size_t(place)] = kLegacyKnobSlotOfButton[place];
            m_buttonOfSlot[size_t(kLegacyKnobSlotOfButton[place])] = place;
        }
    } else if (legacySixKey && layout.id == Layout6K1E) {
        for (int part = 0; part < kKnobParts; ++part) {
            m_slotOfButton[size_t(kLegacySixKeyKnobPlace + part)] = kLegacySixKeyKnobSlot + part;
            m_buttonOfSlot[size_t(kLegacySixKeyKnobSlot + part)] = kLegacySixKeyKnobPlace + part;
        }
    }

    for (int place = 0; place < kKeySlotCount; ++place)
        if (shown[size_t(place)])
            m_shown.append({place, m_slotOfButton[size_t(place)], m_identities[size_t(place)]});
}

ControlIdentity ControlMap::identityOfButton(int button) const
{
    return button >= 0 && button < kKeySlotCount ? m_identities[size_t(button)] : ControlIdentity{};
}

int ControlMap::slotOfButton(int button) const
{
    return button >= 0 && button < kKeySlotCount ? m_slotOfButton[size_t(button)] : button;
}

int ControlMap::buttonOfSlot(int slot) const
{
    return slot >= 0 && slot < kKeySlotCount ? m_buttonOfSlot[size_t(slot)] : slot;
}

const MappedControl *ControlMap::controlOfSlot(int slot) const
{
    for (const MappedControl &control : m_shown)
        if (control.slot == slot)
            return &control;
    return nullptr;
}

const MappedControl *ControlMap::controlOf(const ControlIdentity &identity) const
{
    for (const MappedControl &control : m_shown)
        if (control.identity == identity)
            return &control;
    return nullptr;
}
