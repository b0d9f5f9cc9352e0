#pragma once

#include <QColor>
#include <QtGlobal>
#include <QRectF>

class QPainter;

// Rings drawn by the controls that paint themselves. Each is a light line
// over a wider dark one, so it shows on any colour a key may take: the dark
// edge on a yellow or white swatch, the light line on a dark or black one.

// `scale` thins the rings of a small control (see ringScaleFor).

// The selected control: gold.
void drawSelectionRing(QPainter &painter, const QRectF &rect, qreal radius, qreal scale = 1.0);
// The control with the keyboard focus: white, inside the selection ring.
void drawFocusRing(QPainter &painter, const QRectF &rect, qreal radius, qreal scale = 1.0);
// A round control (a knob part): the same rings as ellipses.
void drawSelectionEllipse(QPainter &painter, const QRectF &rect);
void drawFocusEllipse(QPainter &painter, const QRectF &rect);

// Width of a ring's dark line, beneath its light one.
constexpr qreal kRingWidth = 6.0;
// Inset of the focus ring from the control's edge, so both rings show.
constexpr qreal kFocusRingInset = 9.0;

// Full rings on a control of at least this side; thinner ones on a smaller
// control, so that the rings still leave it a face.
constexpr qreal kFullRingSide = 72.0;
inline qreal ringScaleFor(qreal side) { return qBound(0.5, side / kFullRingSide, 1.0); }

// How far in from the control's edge each ring reaches: a legend kept
// inside it stays readable.
inline qreal selectionRingDepth(qreal scale) { return kRingWidth * scale; }
inline qreal focusRingDepth(qreal scale) { return (kFocusRingInset + kRingWidth / 2) * scale; }
