#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/controlaccepts.h"
#include "keypad/devicestate.h"
#include "keypad/layoutcatalogue.h"
#include "model/keylayers.h"
#include "model/keypadfile.h"

#include <QVector>
#include <array>
#include <optional>

// One control of the keypad picture: which of the picture's 25 places shows
// it (the control button's "buttonIndex"), which store slot it edits, what
// it is ("Key 3", "Knob 1 turn left") and what it can be given.
struct MappedControl {
    int button = -1;
    int slot = -1;
    ControlIdentity identity;
    ControlRole role;     // its name in a keypad file
    bool shown = false;   // the picture has a button for it
    bool led = false;     // it has an LED of its own
    ControlAccepts accepts;
};

// The keypad's controls as the window draws them, for every reader that
// names a control or asks what it can hold: the panel, the selection, the
// file, the print and the screen reader. The picture decides what a place
// is; the older families keep some controls in other store slots than the
// place that shows them, and their records keep less.
class ControlMap
{
public:
    // The 16-key pad with three knobs, numbered as the current family does.
    ControlMap();
    // The picture alone, before a keypad tells its family.
    explicit ControlMap(const LayoutSpec &layout);

    // A keypad of that family and description, drawn as that picture.
    static ControlMap of(const KeypadFamily &family, const KeypadDescription &description,
                         const LayoutSpec &layout);
    // The window's picture of the keypad it knows (see the definition for
    // a keypad pulled out).
    static ControlMap of(const DeviceState &state, const LayoutSpec &layout);

    // The controls the picture shows, keys first, in the picture's order.
    const QVector<MappedControl> &shown() const { return m_shown; }
    // The control in a place, shown or not; places count 0..24.
    const MappedControl &place(int button) const;

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

    // Whether the control of a store slot can keep this function as it is.
    bool accepts(int slot, const KeyConfig &function) const;

private:
    ControlMap(const LayoutSpec &layout, bool legacyNumbering);
    // What the controls hold, as a keypad of that family keeps it.
    void holdAs(const KeypadFamily &family, const KeypadDescription &description);
    void listShown();

    std::array<MappedControl, kKeySlotCount> m_places{};
    std::array<int, kKeySlotCount> m_buttonOfSlot{};
    std::array<ControlAccepts, kKeySlotCount> m_acceptsOfSlot{};
    QVector<MappedControl> m_shown;
};

bool operator==(const ControlIdentity &a, const ControlIdentity &b);
