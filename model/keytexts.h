#pragma once

#include "model/keyconfig.h"

#include <QStringList>

// The names of the keys a macro presses, in order; a letter is a capital
// when a Shift press comes before it with no release in between.
QStringList macroKeyNames(const QVector<MacroStep> &steps);
// A macro's names joined for its control (cut to 8 characters, "-" for none)
// and for the key display (rich text, "Macro(n)" for none).
QString macroControlText(const QStringList &names);
QString macroDisplayText(const QStringList &names, int stepCount);

// What a key shows, built from its record by the label rules (English; the
// window translates): the short text on its control and the full text in the
// key display. Empty for an empty record.
QString controlTextOf(const KeyConfig &key);
QString displayTextOf(const KeyConfig &key);
// A function text as one plain line, for a screen reader, the print or a
// file: a macro's arrows as arrows, without their markup.
QString plainFunctionLine(const QString &fullText);
