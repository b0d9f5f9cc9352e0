#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/layoutcatalogue.h"
#include "model/keylayers.h"

#include <QVector>
#include <array>
#include <optional>

// One control of the keypad picture: which of the picture's 25 places shows
// it (the control button's "buttonIndex"), which store slot it edits, and
// what it is ("Key 3", "Knob 1 turn left").
struct MappedControl {
    int button = -1;
    int slot = -1;
    ControlIdentity identity;
};

// The keypad's controls as the window draws them, for every reader that
// names a control: the panel, the selection, the file, the print and the
// screen reader. The picture decides what a place is; the older families
// keep some controls in other store slots than the place that shows them.
class ControlMap
{
public:
    // The 16-key pad with three knobs, numbered as the current family does.
    ControlMap();
    // The older families' single-knob and six-key pads keep some controls
    // in other store slots; each flag says that numbering holds.
    ControlMap(const LayoutSpec &layout, bool legacySingleKnob = false, bool legacySixKey = false);

    // The controls the picture shows, keys first, in the picture's order.
    const QVector<MappedControl> &shown() const { return m_shown; }

    // What the button in a place is, shown or not.
    ControlIdentity identityOfButton(int button) const;
    // The store slot a place edits, and the place that shows a slot; -1
    // where there is none.
    int slotOfButton(int button) const;
    int buttonOfSlot(int slot) const;
    // The shown control that edits a slot, or null.
    const MappedControl *controlOfSlot(int slot) const;
    // The shown control of that identity, or null.
    const MappedControl *controlOf(const ControlIdentity &identity) const;

private:
    std::array<ControlIdentity, kKeySlotCount> m_identities{};
    std::array<int, kKeySlotCount> m_slotOfButton{};
    std::array<int, kKeySlotCount> m_buttonOfSlot{};
    QVector<MappedControl> m_shown;
};

bool operator==(const ControlIdentity &a, const ControlIdentity &b);
