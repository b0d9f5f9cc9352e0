#pragma once

#include <QString>

// Style sheets of the main window. Every size is the one at the design size
// of 1500 x 1100; scaled variants take the sizes as arguments.

// Set on the window before any child exists, so every child is polished
// with it from the start.
QString windowStyleSheet();

// Tooltips take the style sheets of the control they belong to. A sheet that
// makes everything below it transparent would leave them without a fill (a
// black box on a desktop without compositing), so such sheets end with this.
QString toolTipStyleRule();

// Lets the keypad picture's face show through the key and knob areas.
QString transparentAreaStyleSheet();

QString keyDisplayStyleSheet();

// The fill and rounded border of the keypad picture, drawn by a face beneath
// its keys and knobs; the frame around them draws nothing itself.
QString panelFaceStyleSheet(int borderPx, int radiusPx);

// The number in a key's corner on the panel. Its size follows the panel's
// scale and is set as the label's font, so a rescale re-polishes no label.
QString keyNumberStyleSheet();

constexpr int kFunctionListFontPx = 14;
constexpr int kFunctionListRowPx = 48;
QString functionListStyleSheet(int fontPx, int rowHeightPx);

constexpr int kLayerColumnWidth = 96;
constexpr int kLayerButtonHeight = 60;
// The width follows the window and is set as the buttons' fixed width.
QString layerButtonStyleSheet();
