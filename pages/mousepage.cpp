#include "pages/mousepage.h"

#include "model/logging.h"
#include "pages/cuttexttooltip.h"
#include "pages/mouseicon.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>

namespace {

struct MouseEntry {
    const char *label;
    MouseIconKind icon;
    bool enabled;
    uint8_t action;
};

constexpr int kColumns = 3;
constexpr int kSpacing = 6;
constexpr int kOuterMargin = 8;
constexpr int kButtonMinHeight = 72;
constexpr int kFontPx = 16;
// Actions from here on are gestures: the swipes and "Like".
constexpr uint8_t kFirstGestureAction = 11;

using K = MouseIconKind;
constexpr MouseEntry kMouseEntries[][kColumns] = {
    {{"Mouse LeftKey", K::Left, true, 0}, {"Mouse Middle", K::Middle, true, 2},
     {"Mouse Right", K::Right, true, 1}},
    {{"Mouse Wheel+", K::WheelUp, true, 3}, {"Mouse Wheel-", K::WheelDown, true, 4},
     {"Like", K::Placeholder, true, 15}},
    {{"Ctrl+Mouse Up", K::WheelUp, true, 5}, {"Ctrl+Mouse Down", K::WheelDown, true, 6},
     {"Left Swipe", K::Placeholder, true, 11}},
    {{"Shift+Mouse Up", K::WheelUp, true, 7}, {"Shift+Mouse Down", K::WheelDown, true, 8},
     {"Right Swipe", K::Placeholder, true, 12}},
    {{"Alt+Mouse Up", K::WheelUp, true, 9}, {"Alt+Mouse Down", K::WheelDown, true, 10},
     {"Up Swipe", K::Placeholder, true, 13}},
    {{"", K::Placeholder, false, 0}, {"", K::Placeholder, false, 0},
     {"Down Swipe", K::Placeholder, true, 14}},
};

QIcon mouseIcon(MouseIconKind kind, bool enabled)
{
    // The disabled entries are drawn grey already; the toolkit must not grey
    // them a second time. The icon picks the drawing that suits the screen.
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        const QPixmap pixmap = drawMouseIcon(kind, enabled, ratio);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Disabled);
    }
    return icon;
}

} // namespace

bool isMouseGesture(uint8_t action)
{
    return action >= kFirstGestureAction;
}

MousePage::MousePage(QWidget *parent)
    : AssignmentPage(parent)
{
    setObjectName(QStringLiteral("mousePage"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(mouseStyleSheet());

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kOuterMargin, kOuterMargin, kOuterMargin, kOuterMargin);
    outer->setSpacing(kSpacing);

    for (const auto &entries : kMouseEntries) {
        auto *row = new QHBoxLayout;
        row->setSpacing(kSpacing);
        outer->addLayout(row);
        for (const MouseEntry &entry : entries) {
            QPushButton *button = createPageButton(
                QString::fromLatin1(entry.label),
                entry.enabled ? QStringLiteral("mouseKey") : QStringLiteral("mouseKeyDisabled"),
                this);
            button->setIcon(mouseIcon(entry.icon, entry.enabled));
            button->setIconSize(QSize(kMouseIconSize, kMouseIconSize));
            row->addWidget(button);
            m_allButtons << button;
            if (!entry.enabled) {
                button->setEnabled(false);
                button->setFocusPolicy(Qt::NoFocus);
                continue;
            }
            button->setProperty(kMouseActionProperty, int(entry.action));
            button->setAccessibleName(spokenLabel(entry.label));
            connect(button, &QPushButton::clicked, this,
                    [this, action = entry.action] { emit mouseChosen(action); });
            m_actionButtons << button;
            if (isMouseGesture(entry.action)) {
                button->setProperty(kLegacyOldUnsupportedMouseProperty, true);
                // A hidden gesture keeps its cell, so the other columns stay put.
                QSizePolicy policy = button->sizePolicy();
                policy.setRetainSizeWhenHidden(true);
                button->setSizePolicy(policy);
                m_gestureButtons << button;
            }
        }
    }

    applyScale(1.0);
    showCutTextsAsToolTips(this);
}

void MousePage::applyMouseGestureSupport(bool oldFamily)
{
    for (QPushButton *button : qAsConst(m_gestureButtons)) {
        button->setVisible(!oldFamily);
        button->setEnabled(!oldFamily);
    }
}

void MousePage::setScale(double scale)
{
    applyScale(scale);
    qCDebug(lcUi).noquote() << "[FONT][MOUSE]"
                            << "scale" << scale << "px" << scaledFontPixels(kFontPx, scale)
                            << "minHeight" << scaledPixels(kButtonMinHeight, scale);
}

void MousePage::applyScale(double scale)
{
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setPixelSize(scaledFontPixels(kFontPx, scale));
    font.setWeight(QFont::Normal);
    const int minHeight = scaledPixels(kButtonMinHeight, scale);
    for (QPushButton *button : qAsConst(m_allButtons)) {
        button->setFont(font);
        button->setMinimumHeight(minHeight);
    }
}
