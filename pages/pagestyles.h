#pragma once

#include <QString>

class QColor;

// Style sheets of the assignment pages, at the window's scale (1.0 at the
// design size of 1500 x 1100). Buttons choose their variant through the
// "class" property.

// Font sizes of the on-screen keyboard at scale 1, in pixels.
constexpr int kPlainKeyFontPx = 18;
constexpr int kSpecialKeyFontPx = 15;
constexpr int kNavKeyFontPx = 21;
constexpr int kNumpadOperatorFontPx = 20;
constexpr int kExtKeyFontPx = 19;
constexpr int kMediaKeyFontPx = 17;

// The keyboard's colours, borders and the gap around each key. Its font
// sizes are set on the keys themselves: a new sheet re-polishes every key,
// and the gap changes at far fewer ratios than the fonts do.
QString baseKeysStyleSheet(int keyGapPx);
QString extKeysStyleSheet(double scale);
QString multiMediaStyleSheet(double scale);
QString mouseStyleSheet();

// The focus ring of any push button of a page that has no sheet above.
QString pageFocusRingRule();

// The focus ring of a button filled with `background` (a palette colour, an
// LED): black on a light colour, white on a dark one, dashed so it does not
// read as the border that marks the colour in use.
QString contrastFocusRingRule(const QColor &background);
