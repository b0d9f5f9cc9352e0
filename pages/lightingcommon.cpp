#include "pages/lightingcommon.h"

#include "pages/pagestyles.h"

#include "model/keyboarddata.h"

namespace {

constexpr uint8_t kDefaultEffect = 1;

bool currentLayerValid(const KeyboardData &data)
{
    return data.currentLayer() >= 0 && data.currentLayer() < kLayerCount
        && data.currentLayer() < data.ledLayers().size();
}

} // namespace

int selectedLedKey(const KeyboardData &data, const LedKeyFilter &filter)
{
    const int key = data.selectedKey();
    if (key < 0 || key >= kLedCount)
        return -1;
    if (filter && !filter(key))
        return -1;
    return key;
}

RgbColor currentLedColor(const KeyboardData &data, int led)
{
    if (!currentLayerValid(data) || led < 0 || led >= kLedCount)
        return RgbColor{};
    return data.ledLayers().at(data.currentLayer()).colors[size_t(led)];
}

QColor toQColor(const RgbColor &color)
{
    return QColor(color.r, color.g, color.b);
}

uint8_t currentLayerEffect(const KeyboardData &data)
{
    if (!currentLayerValid(data))
        return kDefaultEffect;
    return data.ledLayers().at(data.currentLayer()).effect;
}

QString legacyModeButtonStyle(bool selected, int fontPx)
{
    return QStringLiteral(
               "QPushButton { background:%1; color:%2; border:1px solid #151515;"
               " border-radius:0px; font-size:%3px; font-weight:500; }"
               "QPushButton:pressed { background:#dddddd; color:#000000; }")
        .arg(selected ? QStringLiteral("#f2f2f2") : QStringLiteral("#383838"),
                    selected ? QStringLiteral("#000000") : QStringLiteral("#ffffff"))
               .arg(fontPx)
        + contrastFocusRingRule(selected ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x38, 0x38, 0x38));
}
