#include "keypad/controlmap.h"

#include "keypad/keypadroles.h"

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

ControlMap::ControlMap(const LayoutSpec &layout)
    : ControlMap(layout, false)
{
    holdAs(currentKeypadFamily(), KeypadDescription());
}

ControlMap ControlMap::of(const KeypadFamily &family, const KeypadDescription &description,
                          const LayoutSpec &layout)
{
    ControlMap map(layout, family.capabilities().legacyKnobNumbering);
    map.holdAs(family, description);
    return map;
}

ControlMap ControlMap::of(const DeviceState &state, const LayoutSpec &layout)
{
    // The picture of a keypad pulled out stays; the six-key pad's knob keeps
    // its family's numbering until the next keypad is read, the single
    // knob's only while the keypad is there. What a control holds is always
    // the connected keypad's.
    const KeypadFamily &numbering = layout.isSingleKnob() ? state.connectedFamily()
                                                          : state.lastFamily();
    ControlMap map(layout, numbering.capabilities().legacyKnobNumbering);
    map.holdAs(state.connectedFamily(), state.description());
    return map;
}

ControlMap::ControlMap(const LayoutSpec &layout, bool legacyNumbering)
{
    // Every place starts as the 16-key pad's; the picture then re-points
    // the places its keypad numbers differently.
    std::array<ControlIdentity, kKeySlotCount> identities{};
    std::array<bool, kKeySlotCount> shown{};
    for (int place = 0; place < kKeySlotCount; ++place) {
        if (place < kGridKeys) {
            identities[size_t(place)] = {ControlPart::Key, place + 1};
            shown[size_t(place)] = place < layout.keyCount;
        } else {
            const int knob = (place - kHomeKnobBase) / kKnobParts;
            identities[size_t(place)] = {kKnobPartsInOrder[(place - kHomeKnobBase) % kKnobParts],
                                         knob + 1};
        }
    }
    if (layout.isSingleKnob()) {
        for (int part = 0; part < kSingleKnobPartCount; ++part) {
            identities[size_t(part)] = {kSingleKnobParts[part], 1};
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
                identities[size_t(base + part)] = {kKnobPartsInOrder[part], knob + 1};
                shown[size_t(base + part)] = part < knobEntry.shownParts();
            }
        }
    }
    for (int i = 0; layout.extraTurnKnobs > 0 && i < kExtraTurnPlaces; ++i) {
        identities[size_t(kExtraTurnFirst + i)] = {
            i % 2 == 0 ? ControlPart::TurnLeft : ControlPart::TurnRight, i / 2 + 1};
        shown[size_t(kExtraTurnFirst + i)] = i < 2 * layout.extraTurnKnobs;
    }

    std::array<int, kKeySlotCount> slotOfButton{};
    for (int i = 0; i < kKeySlotCount; ++i) {
        slotOfButton[size_t(i)] = i;
        m_buttonOfSlot[size_t(i)] = i;
    }
    if (legacyNumbering && layout.id == Layout0K1E) {
        m_buttonOfSlot[0] = -1;
        for (int place = 0; place < kSingleKnobPartCount; ++place) {
            slotOfButton[size_t(place)] = kLegacyKnobSlotOfButton[place];
            m_buttonOfSlot[size_t(kLegacyKnobSlotOfButton[place])] = place;
        }
    } else if (legacyNumbering && layout.id == Layout6K1E) {
        for (int part = 0; part < kKnobParts; ++part) {
            slotOfButton[size_t(kLegacySixKeyKnobPlace + part)] = kLegacySixKeyKnobSlot + part;
            m_buttonOfSlot[size_t(kLegacySixKeyKnobSlot + part)] = kLegacySixKeyKnobPlace + part;
        }
    }

    for (int place = 0; place < kKeySlotCount; ++place) {
        MappedControl &control = m_places[size_t(place)];
        control.button = place;
        control.slot = slotOfButton[size_t(place)];
        control.identity = identities[size_t(place)];
        control.role = roleOf(control.identity);
        control.shown = shown[size_t(place)];
    }
}

void ControlMap::holdAs(const KeypadFamily &family, const KeypadDescription &description)
{
    const KeypadCapabilities &capabilities = family.capabilities();
    const ControlAccepts accepts = acceptsOf(capabilities);
    m_acceptsOfSlot.fill(accepts);
    // Only a keypad that described itself has slots it cannot store.
    if (description.info.valid || description.probe.valid)
        for (int slot : family.unwritableSlots(description))
            if (slot >= 0 && slot < kKeySlotCount)
                m_acceptsOfSlot[size_t(slot)].fixed = true;
    // A key has its own LED unless the family lights the keypad in one colour.
    const bool keyLeds = capabilities.lighting != LightingKind::Old;
    for (MappedControl &control : m_places) {
        control.led = keyLeds && control.identity.part == ControlPart::Key;
        control.accepts = control.slot >= 0 && control.slot < kKeySlotCount
            ? m_acceptsOfSlot[size_t(control.slot)]
            : ControlAccepts{};
    }
    listShown();
}

void ControlMap::listShown()
{
    m_shown.clear();
    for (const MappedControl &control : m_places)
        if (control.shown)
            m_shown.append(control);
}

const MappedControl &ControlMap::place(int button) const
{
    static const MappedControl none;
    return button >= 0 && button < kKeySlotCount ? m_places[size_t(button)] : none;
}

ControlIdentity ControlMap::identityOfButton(int button) const
{
    return place(button).identity;
}

int ControlMap::slotOfButton(int button) const
{
    return button >= 0 && button < kKeySlotCount ? m_places[size_t(button)].slot : button;
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

bool ControlMap::accepts(int slot, const KeyConfig &function) const
{
    return slot >= 0 && slot < kKeySlotCount && m_acceptsOfSlot[size_t(slot)].holds(function);
}
