#pragma once

#include "ctl/ctlexit.h"
#include "ctl/ctlkeypad.h"

#include "keypad/keypadfileplan.h"

#include <QString>
#include <QVector>
#include <optional>

// What zentrikctl prints: as text for people, as JSON for scripts. The JSON
// is documented in the manual page; a field once there keeps its name.

// One keypad of `list`.
struct CtlListed {
    int index = 0;
    HIDManager::KeypadNode node;
    CtlExit exit = CtlExit::Ok;
    QString reason; // why it cannot be opened
    std::optional<ConnectedKeypad> keypad;
};
QString listText(const QVector<CtlListed> &listed);
QString listJson(const QVector<CtlListed> &listed);

// The layers `show` prints; every layer the keypad keeps when `layers` is
// empty.
struct CtlShown {
    const ConnectedKeypad &keypad;
    const KeyboardData &store;
    QVector<int> layers;
};
QString showText(const CtlShown &shown);
// The keypad file of what it holds, with each control's text.
QString showJson(const CtlShown &shown, const HIDManager::KeypadNode &node);

// The keypad named in a file written from it.
KeypadFileSource sourceOf(const CtlKeypad &keypad);

// What a file would change on the keypad: the import's plan for the layers
// asked for, all of them taken.
struct CtlPlan {
    ImportPlan import;
    ImportChoice choice;
    bool lighting = true;

    bool differs() const;
    // Ok, or NotHeld when part of the file cannot be held.
    CtlExit exitWhenHeld() const;
};
CtlPlan planOf(const CtlKeypad &keypad, const KeypadFile &file, const QVector<int> &layers,
               bool lighting);
// One line per difference and per part the keypad cannot hold.
QString differencesText(const CtlPlan &plan);
