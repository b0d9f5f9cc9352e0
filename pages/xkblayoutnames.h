#pragma once

#include "pages/typinglayout.h"

#include <QString>
#include <QVector>

// A layout the computer can be set to, as xkeyboard-config lists it.
struct LayoutName {
    LayoutChoice choice;
    QString description;  // "German (no dead keys)"
};

// Every layout and variant of the evdev rules (rules/evdev.lst), layouts in
// the list's order, each followed by its variants. Reads a file: not on the
// UI thread. Empty when xkeyboard-config is not installed.
QVector<LayoutName> xkbLayoutNames(const QString &listPath = QString());
