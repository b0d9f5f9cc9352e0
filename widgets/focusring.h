#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Rings drawn by the controls that paint themselves. Each is a light line
// over a wider dark one, so it shows on any colour a key may take: the dark
// edge on a yellow or white swatch, the light line on a dark or black one.

// The selected control: gold.
void drawSelectionRing(QPainter &painter, const QRectF &rect, qreal radius);
// The control with the keyboard focus: white, inside the selection ring.
void drawFocusRing(QPainter &painter, const QRectF &rect, qreal radius);
// A round control (a knob part): the same rings as ellipses.
void drawSelectionEllipse(QPainter &painter, const QRectF &rect);
void drawFocusEllipse(QPainter &painter, const QRectF &rect);

// Inset of the focus ring from the control's edge, so both rings show.
constexpr qreal kFocusRingInset = 9.0;
