#include "pages/r20widelightingpage.h"

#include "model/keyboarddata.h"
#include "pages/cuttexttooltip.h"
#include "pages/pagestyles.h"
#include "widgets/stylesheetupdate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr std::array<QRgb, kR20WidePaletteSize> kPalette{{
    0xff0000, 0xff803c, 0xffff3c, 0x00ff00, 0x00ffff, 0x0000ff, 0x800080,
    0xa00000, 0xffaa00, 0xffff96, 0x78ff00, 0x008b8b, 0x00008b, 0xff00ff,
    0x8b0000, 0xff9100, 0xffd700, 0x00f082, 0xd2f5f5, 0x87cde1, 0x460082,
    0xff5f5f, 0xffcd69, 0xfffa5f, 0x006e00, 0x007d8c, 0x00787d, 0xe1e1f5,
    0xffbecd, 0xffcd00, 0xd2b400, 0x8c9600, 0x00ff78, 0x500096, 0x910fff,
    0xff4600, 0xff5000, 0xbeff00, 0x87ff7d, 0x87bebe, 0xb4d7e1, 0x8282c8,
    0xffff8c, 0xff7d00, 0xa5a56e, 0x1e871e, 0x0064eb, 0x0082eb, 0xd7aff5,
    0xff00ff, 0xff6400, 0x9bbe69, 0x2dff00, 0x00be64, 0x8282c3, 0xc8c896,
}};

constexpr int kPaletteColumns = 7;
constexpr int kPaletteSpacing = 10;
constexpr int kModeMinHeight = 58;
constexpr int kModeFontPx = 18;
constexpr int kPageMargin = 12;

int scaled(double value, double scale)
{
    return int(std::lround(value * scale));
}

QString paletteButtonStyle(QRgb rgb)
{
    return QStringLiteral("QPushButton { background:%1; border:1px solid #202020;"
                          " border-radius:0px; }QPushButton:pressed { border:2px solid #ffffff; }")
               .arg(QColor(rgb).name())
        + contrastFocusRingRule(QColor(rgb));
}

} // namespace

const std::array<QRgb, kR20WidePaletteSize> &r20WidePalette()
{
    return kPalette;
}

R20WideLightingPage::R20WideLightingPage(QWidget *parent)
    : AssignmentPage(parent)
{
    setStyleSheet(QStringLiteral("QWidget { background-color:#202020; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setSpacing(kPaletteSpacing);

    auto *modeRow = new QHBoxLayout;
    modeRow->setSpacing(kPaletteSpacing);
    for (int mode = 0; mode < kLegacyModeCount; ++mode) {
        auto *button = new QPushButton(QStringLiteral("LED Mode%1").arg(mode), this);
        button->setMinimumHeight(kModeMinHeight);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(button, &QPushButton::clicked, this, [this, mode] { onModeClicked(mode); });
        m_modeButtons << button;
        modeRow->addWidget(button);
    }
    layout->addLayout(modeRow);

    auto *grid = new QGridLayout;
    grid->setSpacing(kPaletteSpacing);
    for (int i = 0; i < kR20WidePaletteSize; ++i) {
        auto *button = new QPushButton(this);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setStyleSheet(paletteButtonStyle(kPalette[size_t(i)]));
        connect(button, &QPushButton::clicked, this, [this, i] { onPaletteClicked(i); });
        m_paletteButtons << button;
        grid->addWidget(button, i / kPaletteColumns, i % kPaletteColumns);
    }
    layout->addLayout(grid, 1);
    refreshModeButtons();
    showCutTextsAsToolTips(this);
}

void R20WideLightingPage::bind(KeyboardData &data)
{
    m_data = &data;
    connect(&data, &KeyboardData::selectedKeyChanged, this,
            &R20WideLightingPage::refreshModeButtons, Qt::UniqueConnection);
    refreshModeButtons();
}

void R20WideLightingPage::setDeviceActive(bool active)
{
    m_deviceActive = active;
    refreshModeButtons();
}

void R20WideLightingPage::onModeClicked(int mode)
{
    if (!m_data || !m_deviceActive)
        return;
    m_data->setLayerEffect(m_data->currentLayer(), uint8_t(mode));
    refreshModeButtons();
    emit lightingChanged();
}

void R20WideLightingPage::onPaletteClicked(int index)
{
    if (!m_data || !m_deviceActive || index < 0 || index >= kR20WidePaletteSize)
        return;
    const int led = selectedLedKey(*m_data, m_ledKeyFilter);
    if (led < 0)
        return;
    const QColor color(kPalette[size_t(index)]);
    m_data->setLedColor(m_data->currentLayer(), led, uint8_t(color.red()), uint8_t(color.green()),
                        uint8_t(color.blue()));
    emit lightingChanged();
    refreshModeButtons();
}

void R20WideLightingPage::refreshModeButtons()
{
    const int effect = m_data ? currentLayerEffect(*m_data) : 1;
    for (int mode = 0; mode < m_modeButtons.size(); ++mode) {
        QPushButton *button = m_modeButtons.at(mode);
        button->setEnabled(m_deviceActive);
        setStyleSheetIfChanged(
            button, legacyModeButtonStyle(mode == effect, scaled(kModeFontPx, m_scale)));
    }
    const bool keySelected = m_data && selectedLedKey(*m_data, m_ledKeyFilter) >= 0;
    for (QPushButton *button : qAsConst(m_paletteButtons))
        button->setEnabled(m_deviceActive && keySelected);
}

void R20WideLightingPage::setScale(double scale)
{
    m_scale = scale;
    for (QPushButton *button : qAsConst(m_modeButtons))
        button->setMinimumHeight(scaled(kModeMinHeight, scale));
    refreshModeButtons();
}
