#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QRect;

// The legend of a key or knob button: a short text that fits the button,
// with its "->" separators drawn in blue so a chain of keys reads at a glance.

// How many characters fit a button of the given side.
int legendCharacterLimit(int side);

// The last characters of the text that fit; the end of a long combination
// ("...+A") tells more than its start.
QString legendTail(const QString &text, int side);

// Draws the legend centred in the rectangle with the painter's current font.
// Only the text parts take the given colour; each "->" is blue.
void drawLegend(QPainter &painter, const QRect &rect, const QString &text, const QColor &color);

// The mark of an assignment that is changed but not yet saved to the keypad:
// an amber dot in the button's top right corner.
void drawUnsavedMark(QPainter &painter, const QRect &rect);

// The bold legend font at the given point size, never drawn smaller than
// eight pixels: a key shrunk with a small window stays readable.
QFont legendFont(QFont font, int pointSize, int logicalDpiY);

// The tooltip of a button whose legend does not show its whole function:
// `fullText` (or the button text when there is none) when the legend is cut
// to its last characters, is wider than `width`, ends in the "..." of a
// shortened macro, or is a short name for a longer function; empty when the
// legend already shows it all.
QString legendToolTip(const QString &text, const QString &fullText, int side, const QFont &font,
                      int width);
