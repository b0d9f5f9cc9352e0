#pragma once

#include "device/savesnapshot.h"
#include "model/keyboarddata.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Which keypad an edit was meant for: its USB ids, serial number and the
// description it gave of itself.
struct KeypadIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    QString serialNumber;
    QByteArray description;

    bool operator==(const KeypadIdentity &o) const
    {
        return vendorId == o.vendorId && productId == o.productId
            && serialNumber == o.serialNumber && description == o.description;
    }
};

// Unsaved edits of keypads that were pulled out, kept until the same keypad
// comes back. Another keypad never receives them.
class SetAsideEdits
{
public:
    // Takes the store's changed keys and lighting aside for this keypad;
    // false when nothing was changed.
    bool takeFrom(const KeyboardData &store, const KeypadIdentity &keypad);
    // Lays what was kept for this keypad on top of the store, still marked
    // changed, and forgets it there. Returns how many records were laid.
    int layOnto(KeyboardData &store, const KeypadIdentity &keypad);
    bool isEmpty() const { return m_kept.isEmpty(); }

private:
    struct Kept {
        KeypadIdentity keypad;
        SaveSnapshot edits;  // the changed keys and lighting, as a save takes them
    };
    QList<Kept> m_kept;
};
