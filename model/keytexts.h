#pragma once

#include "model/keyconfig.h"

#include <QStringList>

// Every wording of a record, built from its data each time it is asked for:
// the record keeps codes, never text, so a language switch or a new label
// table words everything again. English unless said otherwise; the window
// translates what it shows.

// The names of the keys a macro presses, in order; a letter is a capital
// when a Shift press comes before it with no release in between.
QStringList macroKeyNames(const QVector<MacroStep> &steps);
// A macro's names joined for its control (cut to 8 characters, "-" for none)
// and for the key display (rich text, "Macro(n)" for none).
QString macroControlText(const QStringList &names);
QString macroDisplayText(const QStringList &names, int stepCount);

// The record's own two texts: the long one (rich text for a macro's arrows)
// and the short one (a combination or a macro cut to a few characters, a
// mouse action's short form). The store announces them with each change;
// the keypad file, the import's preview and zentrikctl word a record from
// the long one. Both empty for an empty record; a macro or combination of
// nothing is "-" short and empty long.
QString fullTextOf(const KeyConfig &key);
QString shortTextOf(const KeyConfig &key);

// What the window shows, by the label rules: the text on the record's
// control (a mouse action by its long name, a macro of releases only as
// "-") and the text in the key display (a macro of no steps as "Macro(0)").
QString controlTextOf(const KeyConfig &key);
QString displayTextOf(const KeyConfig &key);

// One plain line with a macro's keys joined by " → ": the keypad file's text
// of a record (English, never markup) and the print's (each name translated).
QString fileTextOf(const KeyConfig &key);
QString printedTextOf(const KeyConfig &key);

// A display text as one plain line, for a screen reader: a macro's arrows as
// arrows, without their markup.
QString plainFunctionLine(const QString &displayText);

// How a legend is made up, so it is broken and cut where its parts meet:
// keys pressed together ("LCtrl + C"), keys in order ("a -> b"), or a name.
enum class LegendShape {
    Words,
    Combination,
    Chain,
};
LegendShape legendShapeOf(const KeyConfig &key);
