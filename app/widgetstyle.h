#pragma once

#include <QString>

// Style sheets of the main window. Every size is the one at the design size
// of 1500 x 1100; scaled variants take the sizes as arguments.

// Set on the window before any child exists, so every child is polished
// with it from the start.
QString windowStyleSheet();

QString keyDisplayStyleSheet();

constexpr int kFunctionListFontPx = 14;
constexpr int kFunctionListRowPx = 48;
QString functionListStyleSheet(int fontPx, int rowHeightPx);

constexpr int kLayerColumnWidth = 96;
constexpr int kLayerButtonHeight = 60;
QString layerButtonStyleSheet(int width);
