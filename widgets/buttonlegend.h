#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPainter;
class QRect;
class QRectF;

// The legend of a key or knob button as drawn: its fitted lines (see
// legendfit.h) with their "->" separators in blue, so a chain of keys reads at
// a glance.

// Width and height of the lines in the painter's current font.
QSizeF legendBlockSize(const QFontMetricsF &metrics, const QStringList &lines);

// Draws the lines centred in the rectangle with the painter's current font.
// Only the text parts take the given colour; each "->" is blue.
void drawLegend(QPainter &painter, const QRectF &rect, const QStringList &lines,
                const QColor &color);

// The mark of an assignment that is changed but not yet saved to the keypad:
// an amber dot in the button's top right corner.
void drawUnsavedMark(QPainter &painter, const QRect &rect);

// The bold legend font at the given point size, never drawn smaller than
// eight pixels: a key shrunk with a small window stays readable.
QFont legendFont(QFont font, int pointSize, int logicalDpiY);

// A macro's full text as plain text: its rich arrows become "->".
QString plainFunctionText(const QString &fullText);

// The tooltip of a button whose legend does not show its whole function:
// `fullText` (or the button text when there is none) when the legend is cut
// or is a short name for a longer function; empty when the legend already
// shows it all. `legendText` is the text the legend was fitted from.
QString legendToolTip(const QString &text, const QString &fullText, const QString &legendText,
                      bool legendCut);
