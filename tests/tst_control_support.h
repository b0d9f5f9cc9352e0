#pragma once

#include "model/keyboarddata.h"

#include <QPushButton>
#include <QVariant>
#include <QWidget>

// The control of the window's keypad picture in `slot` (0..24), found as a
// script finds it: by its "buttonIndex" property. Null when no control
// stands for the slot.
inline QPushButton *controlButton(const QWidget &window, int slot)
{
    if (slot < 0 || slot >= kKeySlotCount)
        return nullptr;
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        const QVariant place = button->property("buttonIndex");
        if (place.isValid() && place.toInt() == slot)
            return button;
    }
    return nullptr;
}
