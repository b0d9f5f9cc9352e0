#pragma once

#include "keypad/layoutcatalogue.h"

#include <QSize>
#include <QtMath>

// The parts of the picture: the key grid, three knobs of three parts, the
// five parts of the single-knob pad and the turn-only knobs.
constexpr int kGridKeyCount = 16;
constexpr int kKnobCount = 3;
constexpr int kKnobPartCount = 3;
constexpr int kSingleKnobPartCount = 5;
constexpr int kExtraTurnButtonCount = 4;

// A hovered key grows by 4 pixels; its cell leaves room for that.
constexpr int kKeyHoverRoom = 4;
// Keys and knob parts stay large enough to hit and to read, however small
// the panel is drawn; the frame around them shrinks instead.
constexpr int kMinControlSide = 32;

inline int scaledPx(int value, double ratio) { return qRound(value * ratio); }
// The scale a key or knob part of `side` at design size is drawn at.
inline double controlScale(int side, double ratio)
{
    return side > 0 ? qMax(ratio, double(kMinControlSide) / side) : ratio;
}

// Every size of the picture for one layout at one scale. The placement and
// the fitting both use it, so what is measured is what is drawn.
struct PanelMetrics {
    int keySide = 0;
    int cell = 0;
    int keyGap = 0;
    int part = 0;
    int partGap = 0;
    int groupGap = 0;
    int border = 0;
    int marginX = 0;
    int marginY = 0;
    int spacing = 0;
    bool matrixShown = false;
    bool knobsShown = false;
    QSize matrix;
    QSize knobs;
    QSize frame;
};

QSize knobGroupSize(const PanelMetrics &m, int parts);
PanelMetrics panelMetrics(const LayoutSpec &layoutSpec, double ratio);
