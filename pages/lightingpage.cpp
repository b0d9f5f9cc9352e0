#include "pages/lightingpage.h"

#include "model/keyboarddata.h"
#include "model/translation.h"
#include "pages/cuttexttooltip.h"
#include "pages/knobledring.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/rgbcolorpickerwidget.h"
#include "widgets/stylesheetupdate.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<LightingEffect, 6> kKnobLedEffects{{
    {0, "Lights Off"},
    {1, "Steady Light"},
    {2, "Key Reactive"},
    {3, "Forward Rainbow Flow"},
    {4, "Reverse Rainbow Flow"},
    {5, "Breathing"},
}};

constexpr std::array<LightingEffect, 10> kStandardEffects{{
    {0, "Lights Off"},
    {1, "Steady Light"},
    {2, "Flowing Light"},
    {3, "Key Reactive"},
    {4, "Rainbow Flow"},
    {5, "Wave"},
    {6, "Rainbow Marquee"},
    {7, "Breathing"},
    {8, "Ripple"},
    {9, "Cross Ripple"},
}};

constexpr int kEffectButtonCount = int(kStandardEffects.size());
constexpr int kEffectColumns = 2;
constexpr int kEffectSpacing = 12;
constexpr int kEffectMinHeight = 68;
constexpr int kEffectLowestHeight = 24;
// Page and panel margins, title and hint above the effect buttons.
constexpr int kEffectPanelChrome = 140;
constexpr int kEffectPanelLowestChrome = 100;
constexpr int kTitleFontPx = 18;
constexpr int kHintFontPx = 13;
constexpr int kPanelMargin = 16;
constexpr int kPanelSpacing = 10;
constexpr int kPageMargin = 12;
constexpr int kPageSpacing = 12;

const QString kPanelStyle = QStringLiteral("background:#2c2c2c;border-radius:10px;");
const QString kEffectButtonStyle = QStringLiteral(
    "QPushButton { background:#444444; color:#f0f0f0; border:none; border-radius:8px;"
    " font-weight:bold;}QPushButton:checked { background:#1e90ff; color:white;}");

// Room left and right of an effect name inside its rounded button.
constexpr int kEffectTextPadding = 6;
constexpr int kEffectLowestFontPx = 8;

// An effect name as it fits a button of `room` pixels: on one line when it
// can, else broken at the space nearest its middle when two lines fit the
// button's height.
QString effectTextFor(const QString &name, const QFontMetrics &metrics, const QSize &room)
{
    if (metrics.horizontalAdvance(name) <= room.width()
        || 2 * metrics.lineSpacing() + kEffectTextPadding > room.height())
        return name;
    int best = -1;
    for (int i = name.indexOf(QLatin1Char(' ')); i >= 0; i = name.indexOf(QLatin1Char(' '), i + 1))
        if (best < 0 || std::abs(i - name.size() / 2) < std::abs(best - name.size() / 2))
            best = i;
    if (best < 0)
        return name;
    return name.left(best) + QLatin1Char('\n') + name.mid(best + 1);
}

int widestLine(const QString &text, const QFontMetrics &metrics)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

int scaled(double value, double scale)
{
    return int(std::lround(value * scale));
}

QString titleStyle(int fontPx)
{
    return QStringLiteral("color:#ffffff;font-size:%1px;font-weight:bold;").arg(fontPx);
}

QString hintStyle(int fontPx)
{
    return QStringLiteral("color:#bbbbbb;font-size:%1px;").arg(fontPx);
}

// The window styles every line edit as its key display; the code field keeps
// a field's own size. Its highest is far above any field's height, and low
// enough that border and padding added to it stay within what Qt allows.
QString colorCodeStyle(int fontPx)
{
    return QStringLiteral(
               "QLineEdit { background:#1e1e1e; color:#ffffff; border:1px solid #666666;"
               " border-radius:4px; padding:2px 6px; font-size:%1px; font-weight:normal;"
               " min-height:0px; max-height:10000px; }"
               "QLineEdit:focus { border:2px solid #ffffff; }")
        .arg(fontPx);
}

constexpr int kColorCodeFontPx = 15;

} // namespace

QVector<LightingEffect> lightingEffects(bool knobLedLayout)
{
    if (knobLedLayout)
        return QVector<LightingEffect>(kKnobLedEffects.begin(), kKnobLedEffects.end());
    return QVector<LightingEffect>(kStandardEffects.begin(), kStandardEffects.end());
}

LightingPage::LightingPage(QWidget *parent)
    : AssignmentPage(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setSpacing(kPageSpacing);
    layout->addWidget(buildEffectsPanel(), 1);
    layout->addWidget(buildPalettePanel(), 1);
    applyTextStyles(1.0);
    refreshEffectButtons();
    showCutTextsAsToolTips(this);
}

QWidget *LightingPage::buildEffectsPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("rgbModePanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(kPanelStyle);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->setSpacing(kPanelSpacing);

    auto *title = new QLabel(QStringLiteral("Effects"), panel);
    title->setObjectName(QStringLiteral("rgbModeTitle"));
    auto *hint = new QLabel(QStringLiteral("Choose how the current layer should behave. Some "
                                           "effects use the base color, others use built-in "
                                           "palettes."),
                            panel);
    hint->setObjectName(QStringLiteral("rgbModeHint"));
    hint->setWordWrap(true);
    m_titles << title;
    m_hints << hint;
    layout->addWidget(title);
    layout->addWidget(hint);
    m_unlistedEffectNote = new QLabel(panel);
    m_unlistedEffectNote->setObjectName(QStringLiteral("rgbUnlistedEffect"));
    m_unlistedEffectNote->setWordWrap(true);
    m_unlistedEffectNote->setVisible(false);
    m_hints << m_unlistedEffectNote;
    layout->addWidget(m_unlistedEffectNote);

    auto *grid = new QGridLayout;
    grid->setSpacing(kEffectSpacing);
    m_effectGroup = new QButtonGroup(this);
    m_effectGroup->setExclusive(true);
    for (int i = 0; i < kEffectButtonCount; ++i) {
        auto *button = new QPushButton(panel);
        button->setCheckable(true);
        button->setMinimumHeight(kEffectMinHeight);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setStyleSheet(kEffectButtonStyle + pageFocusRingRule());
        makeKeyboardReachable(button);
        button->installEventFilter(this);
        m_effectGroup->addButton(button, i);
        m_effectButtons << button;
        m_effectNames << QString();
        grid->addWidget(button, i / kEffectColumns, i % kEffectColumns);
    }
    layout->addLayout(grid, 1);
    connect(m_effectGroup, &QButtonGroup::idClicked, this, &LightingPage::onEffectClicked);
    return panel;
}

QWidget *LightingPage::buildPalettePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("rgbPalettePanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(kPanelStyle);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->setSpacing(kPanelSpacing);

    // The colour goes to the key selected on the keypad picture (to an LED
    // segment on the single-knob pad, see setKnobLedLayout).
    auto *title = new QLabel(QStringLiteral("Selected Key Color"), panel);
    title->setObjectName(QStringLiteral("rgbPaletteTitle"));
    m_colorTitle = title;
    auto *hint = new QLabel(QStringLiteral("Select a key, then pick its color or type its code. "
                                           "Some effects use it, others ignore it."),
                            panel);
    hint->setObjectName(QStringLiteral("rgbPaletteHint"));
    hint->setWordWrap(true);
    m_titles << title;
    m_hints << hint;
    layout->addWidget(title);
    layout->addWidget(hint);

    auto *pickerRow = new QHBoxLayout;
    pickerRow->setSpacing(kPanelSpacing);
    m_knobLedRing = new KnobLedRing(panel);
    m_knobLedRing->setVisible(false);
    pickerRow->addWidget(m_knobLedRing, 0, Qt::AlignCenter);
    m_picker = new RgbColorPickerWidget(panel);
    pickerRow->addWidget(m_picker, 1);
    layout->addLayout(pickerRow, 1);

    auto *codeRow = new QHBoxLayout;
    auto *codeLabel = new QLabel(QStringLiteral("Color code"), panel);
    codeLabel->setObjectName(QStringLiteral("rgbColorCodeLabel"));
    m_hints << codeLabel;
    m_colorCode = new QLineEdit(panel);
    m_colorCode->setObjectName(QStringLiteral("rgbColorCode"));
    m_colorCode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("#?[0-9A-Fa-f]{0,6}")), m_colorCode));
    m_colorCode->setPlaceholderText(QStringLiteral("#RRGGBB"));
    m_colorCode->setAccessibleName(translateText(QStringLiteral("Color code")));
    codeLabel->setBuddy(m_colorCode);
    codeRow->addWidget(codeLabel);
    codeRow->addWidget(m_colorCode, 1);
    layout->addLayout(codeRow);
    showColor(m_picker->color());
    connect(m_colorCode, &QLineEdit::returnPressed, this, &LightingPage::onColorCodeEntered);

    connect(m_picker, &RgbColorPickerWidget::colorChanged, this, [this](const QColor &color) {
        m_colorCode->setText(color.name().toUpper());
        onColorChanged(color);
    });
    connect(m_knobLedRing, &KnobLedRing::segmentClicked, this, &LightingPage::onSegmentClicked);
    return panel;
}

void LightingPage::bind(KeyboardData &data)
{
    m_data = &data;
}

void LightingPage::setKnobLedLayout(bool knobLedLayout)
{
    m_knobLedLayout = knobLedLayout;
    m_knobLedRing->setVisible(knobLedLayout);
    m_colorTitle->setText(translateText(knobLedLayout ? QStringLiteral("Selected LED Color")
                                                      : QStringLiteral("Selected Key Color")));
}

void LightingPage::refresh()
{
    refreshEffectButtons();
    refreshPage();
}

void LightingPage::refreshEffectButtons()
{
    const QVector<LightingEffect> effects = lightingEffects(m_knobLedLayout);
    const uint8_t effect = m_data ? currentLayerEffect(*m_data) : 1;
    const bool offered = std::any_of(effects.begin(), effects.end(),
                                     [effect](const LightingEffect &e) { return e.id == effect; });
    // The keypad's firmware may know more effects than this list. Such an
    // effect is kept as read (no button is checked) until the user picks one.
    m_unlistedEffectNote->setVisible(!offered);
    const QString unlisted =
        QStringLiteral("The keypad uses effect %1, which is not in this list.");
    m_unlistedEffectNote->setText(offered ? QString() : translateText(unlisted).arg(int(effect)));

    // An exclusive group refuses to uncheck its checked button.
    m_effectGroup->setExclusive(false);
    for (int i = 0; i < m_effectButtons.size(); ++i) {
        QPushButton *button = m_effectButtons.at(i);
        const bool used = i < effects.size();
        if (used) {
            const LightingEffect &entry = effects.at(i);
            m_effectNames[i] = translateText(QString::fromUtf8(entry.label));
            button->setProperty("effectName", m_effectNames.at(i));
            button->setProperty("modeId", int(entry.id));
            m_effectGroup->setId(button, entry.id);
            button->setChecked(entry.id == effect);
        } else {
            button->setChecked(false);
            m_effectNames[i].clear();
            button->setProperty("effectName", QString());
            button->setText(QString());
        }
        button->setEnabled(used);
        button->setVisible(used);
        button->setAttribute(Qt::WA_TransparentForMouseEvents, !used);
    }
    m_effectGroup->setExclusive(true);
    fitEffectTexts();
}

void LightingPage::refreshPage()
{
    if (m_rgbPageActive && m_data) {
        QAbstractButton *button = m_effectGroup->button(currentLayerEffect(*m_data));
        if (button && button->isEnabled())
            button->setChecked(true);
    }
    if (m_knobLedLayout) {
        refreshSegments();
        // The picker shows the segment it will colour.
        if (m_data)
            showColor(toQColor(currentLedColor(*m_data, m_knobLedRing->target())));
    }
    emit lightingChanged();
}

void LightingPage::refreshSegments()
{
    std::array<QColor, kKnobLedCount> colors;
    for (int led = 0; led < kKnobLedCount; ++led)
        colors[size_t(led)] = m_data ? toQColor(currentLedColor(*m_data, led)) : QColor(255, 255, 0);
    m_knobLedRing->setColors(colors);
}

void LightingPage::onEffectClicked(int id)
{
    if (!m_data || id < 0 || id > 0xFF)
        return;
    m_data->setLayerEffect(m_data->currentLayer(), uint8_t(id));
    refreshPage();
}

void LightingPage::onColorChanged(const QColor &color)
{
    if (!m_data || !m_rgbPageActive)
        return;
    const uint8_t red = uint8_t(color.red());
    const uint8_t green = uint8_t(color.green());
    const uint8_t blue = uint8_t(color.blue());
    if (m_knobLedLayout) {
        m_data->setLedColor(m_data->currentLayer(), m_knobLedRing->target(), red, green, blue);
        refreshSegments();
        return;
    }
    const int led = selectedLedKey(*m_data, m_ledKeyFilter);
    if (led < 0)
        return;
    m_data->setLedColor(m_data->currentLayer(), led, red, green, blue);
    emit lightingChanged();
}

void LightingPage::onSegmentClicked(int led)
{
    m_knobLedRing->setTarget(led);
    if (m_data)
        showColor(toQColor(currentLedColor(*m_data, led)));
}

void LightingPage::onColorCodeEntered()
{
    QString code = m_colorCode->text().trimmed();
    if (!code.startsWith(QLatin1Char('#')))
        code.prepend(QLatin1Char('#'));
    const QColor color(code);
    // Only a whole "#RRGGBB" is a colour; a shorter code is left to finish.
    if (code.size() != 7 || !color.isValid())
        return;
    showColor(color);
    // The typed colour itself, not the picker's rounding of it.
    onColorChanged(color);
}

void LightingPage::showColor(const QColor &color)
{
    m_picker->setColor(color);
    m_colorCode->setText(color.name().toUpper());
}

void LightingPage::showKeyColor(int key)
{
    if (!m_data)
        return;
    showColor(toQColor(currentLedColor(*m_data, key)));
}

void LightingPage::setScale(double scale)
{
    m_scale = scale;
    applyTextStyles(scale);
    m_appliedEffectHeight = -1;
    fitEffectButtons();
    m_knobLedRing->setScale(scale);
}

void LightingPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitEffectButtons();
}

void LightingPage::fitEffectButtons()
{
    int buttonHeight = scaled(kEffectMinHeight, m_scale);
    // Until a layout has sized the page the design height stands.
    if (testAttribute(Qt::WA_Resized) && !m_effectButtons.isEmpty()) {
        const int rows = (int(m_effectButtons.size()) + kEffectColumns - 1) / kEffectColumns;
        // The title and the wrapped hint shrink less than the window does.
        const int chrome =
            std::max(kEffectPanelLowestChrome, scaled(kEffectPanelChrome, m_scale));
        const int room = height() - chrome;
        const int fitting = room / rows - kEffectSpacing;
        buttonHeight = std::max(kEffectLowestHeight, std::min(buttonHeight, fitting));
    }
    if (buttonHeight != m_appliedEffectHeight) {
        m_appliedEffectHeight = buttonHeight;
        for (QPushButton *button : qAsConst(m_effectButtons))
            button->setMinimumHeight(buttonHeight);
    }
}

bool LightingPage::eventFilter(QObject *watched, QEvent *event)
{
    // The effect names fit again whenever a button's width changes, also
    // while the page is hidden and its layout runs late.
    if (event->type() == QEvent::Resize && qobject_cast<QPushButton *>(watched))
        fitEffectTexts();
    return QWidget::eventFilter(watched, event);
}

// A long effect name in a narrow window goes on two lines, and only when
// even those are too wide do the names shrink, all to one size so the grid
// reads evenly; the page's own font size stands whenever the names fit.
void LightingPage::fitEffectTexts()
{
    QFont font = this->font();
    font.setBold(true);
    const int designPx = QFontInfo(font).pixelSize();
    struct Fit {
        QPushButton *button;
        QString name;
        QSize room;
    };
    QVector<Fit> fits;
    for (int i = 0; i < m_effectButtons.size(); ++i) {
        QPushButton *button = m_effectButtons.at(i);
        const QString &name = m_effectNames.at(i);
        const QSize room = button->contentsRect().size() - QSize(2 * kEffectTextPadding, 0);
        // Before the first layout a button has no width to fit.
        if (name.isEmpty() || !button->testAttribute(Qt::WA_Resized) || room.width() <= 0)
            button->setText(name);
        else
            fits.append({button, name, room});
    }
    const auto allFit = [&fits](const QFont &candidate) {
        const QFontMetrics metrics(candidate);
        return std::all_of(fits.begin(), fits.end(), [&metrics](const Fit &fit) {
            return widestLine(effectTextFor(fit.name, metrics, fit.room), metrics)
                <= fit.room.width();
        });
    };
    for (int px = designPx; px > kEffectLowestFontPx && !allFit(font); --px)
        font.setPixelSize(px - 1);
    const QFontMetrics metrics(font);
    for (const Fit &fit : qAsConst(fits)) {
        if (fit.button->font() != font)
            fit.button->setFont(font);
        const QString text = effectTextFor(fit.name, metrics, fit.room);
        if (fit.button->text() != text)
            fit.button->setText(text);
    }
}

void LightingPage::applyTextStyles(double scale)
{
    for (QLabel *title : qAsConst(m_titles))
        setStyleSheetIfChanged(title, titleStyle(scaledFontPixels(kTitleFontPx, scale)));
    for (QLabel *hint : qAsConst(m_hints))
        setStyleSheetIfChanged(hint, hintStyle(scaledFontPixels(kHintFontPx, scale)));
    setStyleSheetIfChanged(m_colorCode, colorCodeStyle(scaledFontPixels(kColorCodeFontPx, scale)));
}
