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
// `font`, raised to the smallest pixel size a legend stays legible at.
QFont legibleLegendFont(QFont font);

void drawLegend(QPainter &painter, const QRect &rect, const QString &text, const QColor &color);
