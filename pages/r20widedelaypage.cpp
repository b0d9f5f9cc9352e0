#include "pages/r20widedelaypage.h"

#include "model/keyboarddata.h"
#include "model/labels.h"
#include "model/macroedits.h"
#include "model/translation.h"
#include "pages/cuttexttooltip.h"
#include "pages/delayspinframe.h"
#include "pages/macrostepactions.h"
#include "pages/pagebutton.h"
#include "widgets/stylesheetupdate.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFrame>
#include <QInputDialog>
#include <QKeyEvent>
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
constexpr int kLaterSlotMinDelay = kR20WideLaterMinDelay;
constexpr int kSpinLeftMargin = 2;

constexpr auto kKeyButtonStyle =
    "background-color:#202020; color:%1; border:%3; font-size:%2px; font-weight:500;";
constexpr auto kKeyBorder = "1px solid #101010";
constexpr auto kSelectedKeyBorder = "2px solid #5599ff";
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

    m_actions = new MacroStepActions(this);
    using A = MacroStepActions;
    connect(m_actions->action(A::InsertKey), &QAction::triggered, this,
            &R20WideDelayPage::keyChoiceRequested);
    connect(m_actions->action(A::DeleteSteps), &QAction::triggered, this,
            &R20WideDelayPage::deleteSelected);
    connect(m_actions->action(A::DuplicateSteps), &QAction::triggered, this,
            &R20WideDelayPage::duplicateSelected);
    connect(m_actions->action(A::MoveEarlier), &QAction::triggered, this,
            [this] { moveSelected(-1); });
    connect(m_actions->action(A::MoveLater), &QAction::triggered, this,
            [this] { moveSelected(1); });
    connect(m_actions->action(A::SetDelay), &QAction::triggered, this,
            &R20WideDelayPage::askForDelay);
    connect(m_actions->action(A::SelectAll), &QAction::triggered, this, [this] {
        const KeyConfig *key = m_store.selectedConfig();
        QVector<int> all;
        for (int i = 0; key && i < r20WidePresses(*key).size(); ++i)
            all.append(i);
        setSelectedSlots(all);
    });
    connect(&m_store, &KeyboardData::selectedKeyChanged, this, [this] { setSelectedSlots({}); });

    refresh();
    showCutTextsAsToolTips(this);
}

QWidget *R20WideDelayPage::buildSlot(int slot)
{
    auto *cell = new QWidget(this);
    Slot &s = m_slots[slot];

    s.keyButton = new QPushButton(cell);
    setStyleClass(s.keyButton, "legacyDelayKey");
    s.keyButton->setAccessibleName(translateText(QStringLiteral("Press %1 of the macro")).arg(slot + 1));
    // The edits' keys reach the page while a press has the focus.
    s.keyButton->installEventFilter(this);
    connect(s.keyButton, &QPushButton::clicked, this, [this, slot] { onKeyClicked(slot); });

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
        s.keyButton->setEnabled(editable);
        const bool selected = filled && m_selected.contains(slot);
        setStyleSheetIfChanged(s.keyButton,
                               QString::fromLatin1(kKeyButtonStyle)
                                   .arg(QLatin1String(filled ? kFilledColor : kEmptyColor))
                                   .arg(scaledFontPixels(kKeyFontPx, m_share))
                                   .arg(QLatin1String(selected ? kSelectedKeyBorder : kKeyBorder)));
    }
    // The 18 entries, not a macro's 64 steps, bound what fits.
    const int count = entries.size();
    const int selected = m_selected.size();
    const bool editable = m_deviceConnected && key && m_store.isWritableSlot(m_store.selectedKey());
    m_actions->refreshEnabled(count, selected, editable);
    using A = MacroStepActions;
    // Its presses hold no Shift of their own: typed text is the macro page's.
    m_actions->action(A::TypeText)->setEnabled(false);
    m_actions->action(A::TypeText)->setVisible(false);
    m_actions->action(A::InsertKey)->setEnabled(editable && count < kR20WideDelaySlots);
    m_actions->action(A::DuplicateSteps)
        ->setEnabled(editable && selected > 0 && count + selected <= kR20WideDelaySlots);
}

void R20WideDelayPage::setSelectedSlots(const QVector<int> &chosen)
{
    const KeyConfig *key = m_store.selectedConfig();
    const QVector<int> kept = normalizedSelection(chosen, key ? r20WidePresses(*key).size() : 0);
    if (m_anchor < 0 || kept.isEmpty())
        m_anchor = kept.isEmpty() ? -1 : kept.first();
    if (kept == m_selected)
        return;
    m_selected = kept;
    refresh();
}

void R20WideDelayPage::onKeyClicked(int slot)
{
    const Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
    setSelectedSlots(clickedSelection(m_selected, m_anchor, slot,
                                      modifiers.testFlag(Qt::ShiftModifier),
                                      modifiers.testFlag(Qt::ControlModifier)));
}

void R20WideDelayPage::applyPresses(const MacroEditResult &edit)
{
    if (!m_deviceConnected || !m_store.isWritableSlot(m_store.selectedKey()))
        return;
    if (assignR20WidePresses(m_store, edit.steps))
        setSelectedSlots(edit.selection);
}

QVector<MacroStep> R20WideDelayPage::presses() const
{
    const KeyConfig *key = m_store.selectedConfig();
    return key ? r20WidePresses(*key) : QVector<MacroStep>();
}

void R20WideDelayPage::deleteSelected() { applyPresses(deleteSteps(presses(), m_selected)); }

void R20WideDelayPage::duplicateSelected() { applyPresses(duplicateSteps(presses(), m_selected)); }

void R20WideDelayPage::moveSelected(int offset)
{
    applyPresses(moveStepsBy(presses(), m_selected, offset));
}

void R20WideDelayPage::setSelectedDelays(int delay)
{
    applyPresses(setStepDelays(presses(), m_selected, uint16_t(qBound(0, delay, kMaxLegacyDelay))));
}

void R20WideDelayPage::insertKey(uint8_t usage)
{
    const QVector<MacroStep> now = presses();
    const uint16_t delay = now.isEmpty() ? 0 : uint16_t(kR20WideLaterMinDelay);
    applyPresses(insertSteps(now, m_selected, {macroStep(0, usage, delay)}));
}

void R20WideDelayPage::askForDelay()
{
    if (m_selected.isEmpty())
        return;
    bool ok = false;
    const int delay = QInputDialog::getInt(
        this, translateText(QStringLiteral("Set delay…")),
        translateText(QStringLiteral("Delay of the selected steps (ms)")),
        m_slots[size_t(m_selected.first())].spin->value(), 0, kMaxLegacyDelay, 10, &ok);
    if (ok)
        setSelectedDelays(delay);
}

bool R20WideDelayPage::eventFilter(QObject *watched, QEvent *event)
{
    // Delete and the other edit keys act on the presses before the window's
    // shortcuts see them (Delete there clears the whole key).
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (m_actions->takesKey(keyEvent)) {
            if (event->type() == QEvent::KeyPress)
                m_actions->triggerForKey(keyEvent);
            event->accept();
            return true;
        }
    }
    return AssignmentPage::eventFilter(watched, event);
}

void R20WideDelayPage::contextMenuEvent(QContextMenuEvent *event)
{
    m_actions->popupMenu(this, event->globalPos());
    event->accept();
}

void R20WideDelayPage::onDelayChosen(int slot, int delay)
{
    // The store re-emits the key's texts after an edit, which refreshes the
    // chosen.
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
