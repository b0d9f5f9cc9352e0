#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/controlmap.h"
#include "keypad/layoutcatalogue.h"
#include "device/keypadfamily.h"
#include "model/keylayers.h"

#include <QDate>
#include <QString>
#include <QVector>

class QPagedPaintDevice;

// The printed pages of a keypad: for each layer the window shows, a drawing
// of the keypad, the whole function text of every key and knob part, and the
// layer's lighting. Drawn from plain data, so a test needs no dialog.

// One layer as it is printed.
struct PrintedLayer {
    int number = 1; // as the layer buttons name it, from 1
    KeyLayer keys;  // the layer's key slots by data index
    LedLayerConfig lighting;
};

struct PrintContents {
    LayoutSpec layout;
    // The controls of the picture and the key each edits.
    ControlMap controls;
    QVector<PrintedLayer> layers;
    LightingKind lighting = LightingKind::PerKeyRgb;
    QString modelName;
    QDate date;
};

// A control of the picture: its slot and what the panel calls it.
struct PrintedControl {
    int slot = 0;
    ControlIdentity identity;
};

// The keys and knob parts the picture shows, keys first, in the panel's
// order; `slot` is the place in the picture.
QVector<PrintedControl> printedControls(const ControlMap &controls);

// "Key 3", "Knob 1 turn left", in the interface's language.
QString printedControlName(const ControlIdentity &control);

// The whole function text of a record as one plain line (a macro's keys
// joined by arrows); empty for an empty slot.
QString printedFunctionText(const KeyConfig &key, const LayoutSpec &layout);

// The name of a layer's lighting effect for the family's kind of lighting.
QString printedEffectName(const PrintContents &contents, uint8_t effect);

// Paints every layer of `contents` on `device`, starting on its current
// page: a page per layer, and a further page where a layer's functions do
// not fit on one. The device's page size and margins are the caller's.
// False when the device could not be painted on (a file not opened).
bool paintKeypadPages(QPagedPaintDevice *device, const PrintContents &contents);
