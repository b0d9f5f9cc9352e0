#pragma once

#include "model/ledlayerconfig.h"

#include <QColor>
#include <QString>
#include <functional>

class KeyboardData;

// Tells whether the control that edits key `keyIndex` may take an LED colour.
// The window answers with "is its button a KeyButton": knobs have no LED.
using LedKeyFilter = std::function<bool(int keyIndex)>;

// The LED a colour click goes to: the selected key when it has an LED (index
// below 16, accepted by the filter), else -1.
int selectedLedKey(const KeyboardData &data, const LedKeyFilter &filter);

// Colour of LED `led` in the current layer; the keypad's yellow when the
// layer or the LED is out of range.
RgbColor currentLedColor(const KeyboardData &data, int led);
QColor toQColor(const RgbColor &color);

// The current layer's effect; 1 (steady) when the layer is out of range.
uint8_t currentLayerEffect(const KeyboardData &data);

// The mode buttons of both older families: the mode in use is drawn light.
QString legacyModeButtonStyle(bool selected, int fontPx);

constexpr int kLegacyModeCount = 6;
