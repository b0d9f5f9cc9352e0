#include "pages/procreatepage.h"

#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"
#include "pages/cuttexttooltip.h"
#include "pages/pagebutton.h"
#include "pages/procreateshortcuts.h"
#include "widgets/stylesheetupdate.h"

#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr int kMargin = 8;
constexpr int kSpacing = 6;
constexpr int kMinCellHeight = 96;
// Row height at which five rows fit the page's lowest design height.
constexpr int kFitCellHeight = 48;
// Page width at the window's design size, and the smallest cell scale.
constexpr double kDesignPageWidth = 1300.0;
constexpr double kMinCellScale = 0.5;
constexpr int kKeyFontPx = 17;
constexpr int kEmptyFontPx = 16;
constexpr int kLowestFontPx = 8;
constexpr int kPaddingV = 10;
constexpr int kPaddingH = 12;
constexpr int kLowestPadding = 4;
constexpr int kBorder = 1;
// At this cell scale and above (a 1200 px window gives 0.77) the design's
// padding and scaled font stand.
constexpr double kFloorCellScale = 0.7;

int scaled(double value, double scale)
{
    return int(std::lround(value * scale));
}

// Cells narrower than the floor's give up their padding first, down to a
// few pixels at the smallest cells, so the label keeps the little room
// there is.
int paddingFor(int designPadding, double cellScale)
{
    if (cellScale >= kFloorCellScale)
        return designPadding;
    const double share = (cellScale - kMinCellScale) / (kFloorCellScale - kMinCellScale);
    return kLowestPadding + scaled(designPadding - kLowestPadding, std::max(0.0, share));
}

QString pageStyleSheet(int keyFontPx, int emptyFontPx, int paddingV, int paddingH)
{
    return QStringLiteral(
               "QWidget { background-color: #2d2d2d; }"
               "QPushButton[class=\"procreateKey\"] { background-color: #3c3c3c; color: #ffffff;"
               " border: 1px solid #555555; border-radius: 4px; padding: %3px %4px;"
               " font-size: %1px; text-align: center; }"
               "QPushButton[class=\"procreateKey\"]:hover { background-color: #4a4a4a;"
               " border-color: #777777; }"
               "QPushButton[class=\"procreateKey\"]:pressed { background-color: #2a2a2a; }"
               "QPushButton[class=\"procreateKeyEmpty\"] { background-color: #2d2d2d;"
               " color: transparent; border: 1px solid #3a3a3a; font-size: %2px; }"
               "QPushButton[class=\"procreateKey\"]:focus { border: 2px solid #ffffff; }")
        .arg(keyFontPx)
        .arg(emptyFontPx)
        .arg(paddingV)
        .arg(paddingH);
}

QFont cellFont(int pixelSize)
{
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

QVariantList keycodeList(const ProcreateShortcut &shortcut)
{
    QVariantList list;
    for (uint8_t usage : procreateKeys(shortcut))
        list << int(usage);
    return list;
}

} // namespace

bool assignProcreateShortcut(KeyboardData &data, const QVector<uint8_t> &keys)
{
    if (data.selectedKey() < 0) {
        qCWarning(lcUi).noquote() << "Procreate: no key selected";
        return false;
    }
    if (keys.isEmpty())
        return false;
    data.assignPrepared(procreateRecord(keys));
    return true;
}

ProcreatePage::ProcreatePage(QWidget *parent)
    : AssignmentPage(parent)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    outer->setSpacing(kSpacing);

    const auto &shortcuts = procreateShortcuts();
    for (int row = 0; row < kRows; ++row) {
        auto *rowLayout = new QHBoxLayout;
        rowLayout->setSpacing(kSpacing);
        for (int column = 0; column < kColumns; ++column) {
            const int cell = row * kColumns + column;
            auto *button = new QPushButton(this);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            button->setMinimumHeight(kMinCellHeight);
            if (cell < kProcreateShortcutCount) {
                const ProcreateShortcut &shortcut = shortcuts[size_t(cell)];
                const QString label = QString::fromUtf8(shortcut.label);
                button->setProperty("class", QStringLiteral("procreateKey"));
                button->setProperty("procreateLabel", label);
                button->setProperty("procreateShortLabel", QString::fromUtf8(shortcut.shortLabel));
                button->setProperty("procreateKeycodes", keycodeList(shortcut));
                button->setText(procreateWrappedText(label));
                button->setAccessibleName(translateText(label).simplified());
                makeKeyboardReachable(button);
                connect(button, &QPushButton::clicked, this,
                        [this, keys = procreateKeys(shortcut)] { emit shortcutChosen(keys); });
                m_shortcutButtons << button;
            } else {
                button->setProperty("class", QStringLiteral("procreateKeyEmpty"));
                button->setFont(cellFont(kEmptyFontPx));
                button->setEnabled(false);
                button->setFocusPolicy(Qt::NoFocus);
                m_emptyButtons << button;
            }
            rowLayout->addWidget(button, 1); // equal stretch keeps the columns aligned
        }
        outer->addLayout(rowLayout);
    }
    applyStyle(1.0, kKeyFontPx);
    showCutTextsAsToolTips(this);
}

void ProcreatePage::retranslate()
{
    const auto &shortcuts = procreateShortcuts();
    for (int i = 0; i < m_shortcutButtons.size(); ++i) {
        QPushButton *button = m_shortcutButtons.at(i);
        const QString label = QString::fromUtf8(shortcuts[size_t(i)].label);
        button->setText(procreateButtonText(label));
        button->setAccessibleName(translateText(label).simplified());
    }
    // The other language's labels may need another font size.
    m_appliedCellScale = -1;
    applyCellSizes();
}

void ProcreatePage::setScale(double scale)
{
    m_scale = scale;
    applyCellSizes();
    qCDebug(lcUi).noquote() << "[FONT][PRO] scale" << scale << "fontPx"
                            << scaled(kKeyFontPx, scale);
}

void ProcreatePage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyCellSizes();
}

void ProcreatePage::applyCellSizes()
{
    // The window's scale follows its height down to a floor, so a narrow
    // window would leave eight columns too small for their labels; the
    // page's own width bounds the scale of its cells too.
    // Until a layout has given the page a size there is nothing to fit.
    const bool placed = testAttribute(Qt::WA_Resized);
    const double widthScale = placed ? double(width()) / kDesignPageWidth : m_scale;
    const double cellScale = std::max(kMinCellScale, std::min(m_scale, widthScale));
    if (std::abs(cellScale - m_appliedCellScale) < 0.02 && placed == m_appliedPlaced)
        return;
    m_appliedCellScale = cellScale;
    m_appliedPlaced = placed;
    applyStyle(cellScale, placed ? fittingFontPx(cellScale) : scaled(kKeyFontPx, cellScale));
    // Five rows must fit the lowest page, or the layout lets them overlap.
    const int designHeight = scaled(kMinCellHeight, cellScale);
    const int cellHeight = placed ? std::min(designHeight, scaled(kFitCellHeight, m_scale))
                                  : designHeight;
    for (QPushButton *button : qAsConst(m_shortcutButtons))
        button->setMinimumHeight(cellHeight);
    for (QPushButton *button : qAsConst(m_emptyButtons)) {
        button->setMinimumHeight(cellHeight);
        button->setFont(cellFont(scaled(kEmptyFontPx, cellScale)));
    }
}

// The scaled font size; below the floor made smaller until the widest line
// of every label fits an equal share of the page's width.
int ProcreatePage::fittingFontPx(double cellScale) const
{
    const int cellWidth = (width() - 2 * kMargin - (kColumns - 1) * kSpacing) / kColumns;
    const int room = cellWidth - 2 * (paddingFor(kPaddingH, cellScale) + kBorder);
    int px = scaled(kKeyFontPx, cellScale);
    // At the floor and above, the design's sizes stand.
    if (cellScale >= kFloorCellScale || m_shortcutButtons.isEmpty())
        return px;
    QFont font = m_shortcutButtons.first()->font();
    for (; px > kLowestFontPx; --px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        const bool fits = std::all_of(
            m_shortcutButtons.begin(), m_shortcutButtons.end(), [&](const QPushButton *button) {
                const QStringList lines = button->text().split(QLatin1Char('\n'));
                return std::all_of(lines.begin(), lines.end(), [&](const QString &line) {
                    return metrics.horizontalAdvance(line) <= room;
                });
            });
        if (fits)
            break;
    }
    return px;
}

void ProcreatePage::applyStyle(double scale, int keyFontPx)
{
    // A page that was never polished does not re-read a changed sheet,
    // while its cells already hold the old fonts.
    ensurePolished();
    const QString sheet = pageStyleSheet(keyFontPx, scaled(kEmptyFontPx, scale),
                                         paddingFor(kPaddingV, scale),
                                         paddingFor(kPaddingH, scale));
    // The page is first styled at the window's scale and again once the
    // stack gives it its size, mostly to the same sheet.
    setStyleSheetIfChanged(this, sheet);
}
