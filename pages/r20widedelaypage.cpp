#include "pages/r20widedelaypage.h"

#include "model/keyboarddata.h"
#include "model/labels.h"
#include "model/translation.h"
#include "pages/cuttexttooltip.h"
#include "pages/delayspinframe.h"
#include "pages/pagebutton.h"
#include "widgets/stylesheetupdate.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kSlotColumns = 6;
constexpr int kFirstSlotMinDelay = 0;
// Every press after the first waits at least this long.
constexpr int kLaterSlotMinDelay = 50;
constexpr int kSpinLeftMargin = 2;

constexpr auto kKeyButtonStyle =
    "background-color:#202020; color:%1; border:1px solid #101010; font-size:%2px; font-weight:500;";
constexpr int kKeyFontPx = 18;
constexpr int kKeyMinHeight = 40;
constexpr int kSpinFontPx = 16;
constexpr int kSpinMinHeight = 30;
constexpr int kArrowFontPx = 9;
constexpr int kArrowWidth = 18;
constexpr int kArrowMinHeight = 13;
constexpr auto kFilledColor = "#00ff00";
constexpr auto kEmptyColor = "#ff0000";
constexpr auto kEmptySlotText = "NULL";
constexpr auto kDelayUnit = "ms";

// The window's style sheet has no rules for this page's classes, so the page
// brings its own. The key buttons carry their colour in their own sheet.
// Sizes: %1 key height, %2 spin font, %3 spin height, %4 arrow font,
// %5 arrow width, %6 arrow height.
constexpr auto kPageStyle =
    "QPushButton[class=\"legacyDelayKey\"] { min-height: %1px; }"
    "QFrame[class=\"legacyDelaySpinFrame\"] { background-color: #2a2a2a;"
    " border: 1px solid #555555; border-radius: 4px; }"
    "QSpinBox[class=\"legacyDelaySpin\"] { background: transparent; border: none; color: #ffffff;"
    " font-size: %2px; font-weight: bold; min-height: %3px; }"
    "QSpinBox[class=\"legacyDelaySpin\"]:disabled { color: #666666; }"
    "QSpinBox[class=\"legacyDelaySpin\"] QLineEdit { min-height: 0px; max-height: 16777215px;"
    " background: transparent; color: #ffffff; font-size: %2px; }"
    "QSpinBox[class=\"legacyDelaySpin\"] QLineEdit:disabled { color: #666666; }"
    "QWidget[class=\"legacyDelayArrowPanel\"] { background: transparent; }"
    "QPushButton[class=\"legacyDelayArrow\"] { background-color: #3c3c3c; color: #ffffff;"
    " border: none; border-radius: 2px; font-size: %4px; min-width: %5px; max-width: %5px;"
    " min-height: %6px; }"
    "QPushButton[class=\"legacyDelayArrow\"]:hover { background-color: #4a4a4a; }"
    "QPushButton[class=\"legacyDelayArrow\"]:disabled { color: #555555; }";

QString pageStyle(double share)
{
    return QString::fromLatin1(kPageStyle)
        .arg(scaledPixels(kKeyMinHeight, share))
        .arg(scaledFontPixels(kSpinFontPx, share))
        .arg(scaledPixels(kSpinMinHeight, share))
        .arg(scaledFontPixels(kArrowFontPx, share))
        .arg(scaledPixels(kArrowWidth, share))
        .arg(scaledPixels(kArrowMinHeight, share));
}

void setStyleClass(QWidget *widget, const char *styleClass)
{
    widget->setProperty("class", QLatin1String(styleClass));
}

} // namespace

R20WideDelayPage::R20WideDelayPage(KeyboardData &store, QWidget *parent)
    : AssignmentPage(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("r20WideDelayPage"));
    // Paints the page background the window's style sheet gives every page.
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(pageStyle(m_share));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    for (int slot = 0; slot < kR20WideDelaySlots; ++slot)
        grid->addWidget(buildSlot(slot), slot / kSlotColumns, slot % kSlotColumns);
    for (int column = 0; column < kSlotColumns; ++column)
        grid->setColumnStretch(column, 1);
    grid->setRowStretch(kR20WideDelaySlots / kSlotColumns, 1);

    connect(&m_store, &KeyboardData::selectedKeyChanged, this, &R20WideDelayPage::refresh);
    connect(&m_store, &KeyboardData::keyButtonTextChanged, this, [this](int keyIdx) {
        if (keyIdx == m_store.selectedKey())
            refresh();
    });

    refresh();
    showCutTextsAsToolTips(this);
}

QWidget *R20WideDelayPage::buildSlot(int slot)
{
    auto *cell = new QWidget(this);
    Slot &s = m_slots[slot];

    s.keyButton = new QPushButton(cell);
    setStyleClass(s.keyButton, "legacyDelayKey");
    s.keyButton->setFocusPolicy(Qt::NoFocus);

    const DelaySpinFrame entry =
        buildDelaySpinFrame(cell, QStringLiteral("legacyDelay"), kSpinLeftMargin, 1);
    s.spin = entry.spin;
    s.upButton = entry.upButton;
    s.downButton = entry.downButton;
    s.spin->setRange(slot == 0 ? kFirstSlotMinDelay : kLaterSlotMinDelay, kMaxLegacyDelay);
    s.spin->setAccessibleName(
        translateText(QStringLiteral("Key %1 delay in milliseconds")).arg(slot + 1));

    auto *cellLayout = new QVBoxLayout(cell);
    cellLayout->setContentsMargins(0, 0, 0, 0);
    cellLayout->setSpacing(4);
    cellLayout->addWidget(s.keyButton);
    cellLayout->addWidget(entry.frame);

    connect(s.spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this, slot](int value) { onDelayChosen(slot, value); });
    connect(s.upButton, &QPushButton::clicked, this, [this, slot] { stepSpin(slot, 1); });
    connect(s.downButton, &QPushButton::clicked, this, [this, slot] { stepSpin(slot, -1); });
    return cell;
}

void R20WideDelayPage::setDeviceConnected(bool connected)
{
    m_deviceConnected = connected;
    refresh();
}

void R20WideDelayPage::setScale(double ratio)
{
    const double share = fixedPageShare(ratio);
    if (share == m_share)
        return;
    m_share = share;
    // A page that was never polished does not re-read a changed sheet.
    ensurePolished();
    setStyleSheetIfChanged(this, pageStyle(share));
    refresh();
}

void R20WideDelayPage::refresh()
{
    const QString unit =
        QLatin1Char(' ') + translateText(QString::fromLatin1(kDelayUnit));
    const QString emptyText = translateText(QString::fromLatin1(kEmptySlotText));
    const KeyConfig *key = m_store.selectedConfig();
    const QVector<R20WideDelayEntry> entries = key ? r20WideDelayEntries(*key)
                                                   : QVector<R20WideDelayEntry>();
    for (int slot = 0; slot < kR20WideDelaySlots; ++slot) {
        Slot &s = m_slots[slot];
        const bool filled = slot < entries.size();
        const bool editable = m_deviceConnected && filled;
        s.spin->setEnabled(editable);
        s.upButton->setEnabled(editable);
        s.downButton->setEnabled(editable);
        {
            const QSignalBlocker blocker(s.spin);
            s.spin->setSuffix(unit);
            s.spin->setValue(filled ? entries[slot].delay : s.spin->minimum());
        }
        s.keyButton->setText(filled ? keyLabel(entries[slot].usage) : emptyText);
        setStyleSheetIfChanged(s.keyButton,
                               QString::fromLatin1(kKeyButtonStyle)
                                   .arg(QLatin1String(filled ? kFilledColor : kEmptyColor))
                                   .arg(scaledFontPixels(kKeyFontPx, m_share)));
    }
}

void R20WideDelayPage::onDelayChosen(int slot, int delay)
{
    // The store re-emits the key's texts after an edit, which refreshes the
    // slots.
    if (m_deviceConnected)
        applyR20WideDelay(m_store, slot, delay);
}

void R20WideDelayPage::stepSpin(int slot, int steps)
{
    QSpinBox *spin = m_slots[slot].spin;
    spin->stepBy(steps);
    if (QLineEdit *edit = spin->findChild<QLineEdit *>()) {
        edit->deselect();
        edit->end(false);
    }
}
