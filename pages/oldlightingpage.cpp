#include "pages/oldlightingpage.h"

#include "model/keyboarddata.h"
#include "pages/cuttexttooltip.h"
#include "pages/lightingcommon.h"
#include "pages/pagestyles.h"
#include "widgets/stylesheetupdate.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::array<OldPaletteColor, kOldPageColorCount> kColors{{
    {"Red", {255, 0, 0}},
    {"Orange", {255, 128, 60}},
    {"Yellow", {255, 255, 60}},
    {"Green", {0, 255, 0}},
    {"Cyan", {0, 255, 255}},
    {"Blue", {0, 0, 255}},
    {"Purple", {128, 0, 128}},
}};

constexpr uint8_t kMaxMode = kLegacyModeCount - 1;
constexpr int kModeFontPx = 20;
constexpr int kModeMinFontPx = 9;
// "LED Mode5" in a bold face is about six font sizes wide, plus padding.
constexpr int kModeTextEms = 7;
constexpr int kColorFontPx = 20;
constexpr int kModeMinHeight = 58;
constexpr int kColorMinHeight = 90;
constexpr int kSpacing = 10;
constexpr int kPageMargin = 12;

int scaled(double value, double scale)
{
    return int(std::lround(value * scale));
}

int squared(int value)
{
    return value * value;
}

QString colorButtonStyle(const RgbColor &color, bool highlighted, int fontPx)
{
    // Names on the light colours (yellow, cyan) are written in black.
    const bool light = 0.299 * color.r + 0.587 * color.g + 0.114 * color.b > 140;
    // The highlight's border stays the sheet's last rule; the focus ring
    // before it still wins, by its pseudo-state.
    return QStringLiteral("QPushButton { background:%1; color:%3; border:1px solid #202020;"
                          " border-radius:0px; font-size:%2px; }"
                          "QPushButton:pressed { border:3px solid #ffffff; }")
               .arg(toQColor(color).name())
               .arg(fontPx)
               .arg(light ? QStringLiteral("#000000") : QStringLiteral("#ffffff"))
        + contrastFocusRingRule(toQColor(color))
        + QStringLiteral("QPushButton { border:%1; }")
              .arg(highlighted ? QStringLiteral("3px solid #ffffff")
                               : QStringLiteral("1px solid #202020"));
}

} // namespace

const std::array<OldPaletteColor, kOldPageColorCount> &oldPageColors()
{
    return kColors;
}

int nearestOldColor(const RgbColor &color)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < kOldPageColorCount; ++i) {
        const RgbColor &entry = kColors[size_t(i)].color;
        const int distance = squared(color.r - entry.r) + squared(color.g - entry.g)
            + squared(color.b - entry.b);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

OldLightingPage::OldLightingPage(QWidget *parent)
    : AssignmentPage(parent)
{
    setStyleSheet(QStringLiteral("QWidget { background-color:#202020; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setSpacing(kSpacing * 2);

    auto *modeRow = new QHBoxLayout;
    modeRow->setSpacing(kSpacing);
    for (int mode = 0; mode < kLegacyModeCount; ++mode) {
        auto *button = new QPushButton(QStringLiteral("LED Mode%1").arg(mode), this);
        button->setMinimumHeight(kModeMinHeight);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QPushButton::clicked, this, [this, mode] { onModeClicked(mode); });
        m_modeButtons << button;
        modeRow->addWidget(button);
    }
    layout->addLayout(modeRow, 1);

    auto *colorRow = new QHBoxLayout;
    colorRow->setSpacing(kSpacing);
    for (int i = 0; i < kOldPageColorCount; ++i) {
        auto *button = new QPushButton(QString::fromUtf8(kColors[size_t(i)].name), this);
        button->setMinimumHeight(kColorMinHeight);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QPushButton::clicked, this, [this, i] { onColorClicked(i); });
        m_colorButtons << button;
        colorRow->addWidget(button);
    }
    layout->addLayout(colorRow, 2);
    layout->addStretch(1);
    refresh();
    showCutTextsAsToolTips(this);
}

void OldLightingPage::bind(KeyboardData &data)
{
    m_data = &data;
    connect(&data, &KeyboardData::selectedKeyChanged, this, &OldLightingPage::refresh,
            Qt::UniqueConnection);
    refresh();
}

void OldLightingPage::setDeviceActive(bool active)
{
    m_deviceActive = active;
    refresh();
}

void OldLightingPage::onModeClicked(int mode)
{
    if (!m_data || !m_deviceActive)
        return;
    m_data->setLayerEffect(m_data->currentLayer(), uint8_t(mode));
    refresh();
    emit lightingChanged();
}

void OldLightingPage::onColorClicked(int index)
{
    if (!m_data || !m_deviceActive || index < 0 || index >= kOldPageColorCount)
        return;
    const RgbColor &color = kColors[size_t(index)].color;
    // The whole layer shows one colour; the keypad is told LED 0's.
    m_data->setLedColor(m_data->currentLayer(), 0, color.r, color.g, color.b);
    refresh();
    emit lightingChanged();
}

void OldLightingPage::refresh()
{
    const uint8_t effect = m_data ? currentLayerEffect(*m_data) : 1;
    const int selectedMode = std::min(effect, kMaxMode);
    m_appliedModeFontPx = modeFontPx();
    for (int mode = 0; mode < m_modeButtons.size(); ++mode) {
        QPushButton *button = m_modeButtons.at(mode);
        button->setEnabled(m_deviceActive);
        setStyleSheetIfChanged(button, legacyModeButtonStyle(mode == selectedMode, modeFontPx()));
    }
    const RgbColor layerColor = m_data ? currentLedColor(*m_data, 0) : RgbColor{};
    m_highlightedColor = nearestOldColor(layerColor);
    for (int i = 0; i < m_colorButtons.size(); ++i) {
        QPushButton *button = m_colorButtons.at(i);
        button->setEnabled(m_deviceActive);
        setStyleSheetIfChanged(button,
                               colorButtonStyle(kColors[size_t(i)].color, i == m_highlightedColor,
                                                scaled(kColorFontPx, m_scale)));
    }
}

int OldLightingPage::modeFontPx() const
{
    // Six buttons share the page's width; "LED Mode5" must fit in one.
    if (!testAttribute(Qt::WA_Resized))
        return scaled(kModeFontPx, m_scale);
    const int widthPx = (width() - 2 * kPageMargin) / kLegacyModeCount;
    const int fittingPx = widthPx > 0 ? widthPx / kModeTextEms : kModeFontPx;
    return std::max(kModeMinFontPx, std::min(scaled(kModeFontPx, m_scale), fittingPx));
}

void OldLightingPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (modeFontPx() != m_appliedModeFontPx)
        refresh();
}

void OldLightingPage::setScale(double scale)
{
    m_scale = scale;
    for (QPushButton *button : qAsConst(m_modeButtons))
        button->setMinimumHeight(scaled(kModeMinHeight, scale));
    for (QPushButton *button : qAsConst(m_colorButtons))
        button->setMinimumHeight(scaled(kColorMinHeight, scale));
    refresh();
}
