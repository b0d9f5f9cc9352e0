// The picture of the keypad: the panel frame with its key grid and knobs,
// built once; each layout only re-points the control slots and shows and
// hides parts. Their placement for a scale is in keypadpanelgeometry.cpp.

#include "app/keypadpanel.h"

#include "app/resizewatcher.h"
#include "app/widgetstyle.h"
#include "model/logging.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGroupBox>
#include <QVBoxLayout>
#include <QLabel>

namespace {

const QString kImagePrefix = QStringLiteral(":/images/image/KN_");
constexpr const char *kTurnLeftPicture = "LEFT114x97.png";
constexpr const char *kTurnRightPicture = "RIGHT114x97.png";
constexpr const char *kPressPicture = "IN150x150.png";
constexpr const char *kPressRightPicture = "PressRIGHT114x97.png";
constexpr const char *kPressLeftPicture = "PressLEFT114x97.png";

// Parts of a knob, in slot order.
constexpr const char *kKnobPictures[kKnobPartCount] = {kTurnLeftPicture, kTurnRightPicture,
                                                        kPressPicture};
// The single-knob pad numbers its parts differently: right turn first.
constexpr const char *kSingleKnobPictures[kSingleKnobPartCount] = {
    kTurnRightPicture, kTurnLeftPicture, kPressPicture, kPressRightPicture, kPressLeftPicture};
// Turn-only knobs: left and right of the first knob, then of the second.
constexpr const char *kExtraTurnPictures[kExtraTurnButtonCount] = {
    kTurnLeftPicture, kTurnRightPicture, kTurnLeftPicture, kTurnRightPicture};
constexpr int kExtraTurnFirstSlot = 5;

constexpr int kGroupMargin = 20;
constexpr int kKnobAreaMinWidth = 220;
constexpr int kDesignKeyCell = 80;

KnobButton *makeKnobButton(const char *picture, QWidget *parent)
{
    return new KnobButton(kImagePrefix + QLatin1String(picture), QString(), parent);
}

const char *buttonTypeName(const QPushButton *button)
{
    return button ? button->metaObject()->className() : "none";
}

} // namespace

KeypadPanel::KeypadPanel(std::function<double()> windowRatio, QObject *parent)
    : QObject(parent)
    , m_windowRatio(std::move(windowRatio))
{
}

QWidget *KeypadPanel::build()
{
    auto *group = new QGroupBox;
    group->setObjectName(QStringLiteral("keyKnobGroup"));
    m_keyKnobGroup = group;
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(20, 0, 20, 20);
    groupLayout->setSpacing(0);
    groupLayout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *frame = new QFrame;
    frame->setObjectName(QStringLiteral("physicalPanelFrame"));
    m_physicalPanelFrame = frame;
    // A new style sheet re-polishes its widget and every descendant. The
    // border and corners follow the scale, so they are drawn by a face with
    // no children of its own, and a rescale re-polishes that one widget.
    m_panelFace = new QWidget(frame);
    m_panelFace->setObjectName(QStringLiteral("physicalPanelFace"));
    m_panelFace->setAttribute(Qt::WA_StyledBackground);
    m_panelFace->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panelFace->lower();

    // The group takes the room the window gives it and never asks for more;
    // the panel is fitted into it instead.
    m_keyKnobGroup->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_keyKnobGroup->setMinimumSize(1, 1);
    // Its size comes from the window alone, so re-fitting never feeds back.
    m_keyKnobGroup->installEventFilter(
        new ResizeWatcher(this, [this] { fitTo(m_windowRatio()); }));

    // Margins and spacing follow the scale; each placement sets them, with
    // the face's border inside the margins.
    auto *frameLayout = new QBoxLayout(QBoxLayout::LeftToRight, frame);
    frameLayout->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(buildKeyMatrix(), 0, Qt::AlignCenter);
    frameLayout->addWidget(buildKnobArea(), 0, Qt::AlignCenter);
    groupLayout->addWidget(m_physicalPanelFrame);
    return group;
}

QWidget *KeypadPanel::buildKeyMatrix()
{
    // The panel always starts as the 16-key pad; smaller pads hide keys.
    m_keyMatrix = new QWidget;
    m_keyMatrix->setObjectName(QStringLiteral("KeyMatrixContainer"));
    m_keyMatrix->setAttribute(Qt::WA_TranslucentBackground);
    m_keyMatrix->setStyleSheet(QStringLiteral("background: transparent;"));
    for (int i = 0; i < kGridKeyCount; ++i) {
        auto *cell = new QWidget(m_keyMatrix);
        cell->setObjectName(QStringLiteral("KeyCell"));
        cell->resize(kDesignKeyCell, kDesignKeyCell);

        auto *key = new KeyButton(cell);
        key->move(0, 0);

        auto *number = new QLabel(QString::number(i + 1), cell);
        number->setObjectName(QStringLiteral("KeyNumLabel"));
        number->setAlignment(Qt::AlignCenter);
        number->setAttribute(Qt::WA_TransparentForMouseEvents);
        number->setStyleSheet(keyNumberStyleSheet());

        m_keyCells[size_t(i)] = cell;
        m_gridKeyButtons[size_t(i)] = key;
        m_keyNumberLabels[size_t(i)] = number;
    }
    return m_keyMatrix;
}

QWidget *KeypadPanel::buildKnobArea()
{
    m_knobArea = new QWidget;
    m_knobArea->setObjectName(QStringLiteral("KnobContainer"));
    m_knobArea->setMinimumWidth(kKnobAreaMinWidth);
    m_knobArea->setStyleSheet(QStringLiteral("background: transparent;"));

    for (int k = 0; k < kKnobCount; ++k) {
        auto *group = new QWidget(m_knobArea);
        group->setObjectName(QStringLiteral("KnobGroupContainer"));
        for (int part = 0; part < kKnobPartCount; ++part)
            m_knobButtons[size_t(k)][size_t(part)] = makeKnobButton(kKnobPictures[part], group);
        m_knobGroups[size_t(k)] = group;
    }

    m_singleKnobContainer = new QWidget(m_knobArea);
    m_singleKnobContainer->setObjectName(QStringLiteral("ZeroOneKnobContainer"));
    for (int part = 0; part < kSingleKnobPartCount; ++part) {
        KnobButton *button = makeKnobButton(kSingleKnobPictures[part], m_singleKnobContainer);
        button->setProperty("buttonIndex", part);
        m_singleKnobButtons[size_t(part)] = button;
    }
    m_singleKnobContainer->hide();
    return m_knobArea;
}

void KeypadPanel::createExtraTurnButtons()
{
    if (m_extraTurnContainer)
        return;
    m_extraTurnContainer = new QWidget(m_knobArea);
    m_extraTurnContainer->setObjectName(QStringLiteral("ExtraTurnKnobContainer"));
    for (int i = 0; i < kExtraTurnButtonCount; ++i) {
        KnobButton *button = makeKnobButton(kExtraTurnPictures[i], m_extraTurnContainer);
        button->setProperty("buttonIndex", kExtraTurnFirstSlot + i);
        m_extraTurnButtons[size_t(i)] = button;
    }
}

QPushButton *KeypadPanel::controlButton(int slot) const
{
    return slot >= 0 && slot < kKeySlotCount ? m_controlButtons[size_t(slot)] : nullptr;
}

void KeypadPanel::applyLayout(const LayoutSpec &layoutSpec, double windowRatio)
{
    m_layout = layoutSpec;

    int left = kGroupMargin;
    int right = kGroupMargin;
    if (layoutSpec.id == Layout16K3E_S1) {
        left += layoutSpec.horizontalShift;
    } else if (layoutSpec.id == Layout5K2E) {
        if (layoutSpec.horizontalShift < 0)
            right += 2 * -layoutSpec.horizontalShift;
        else
            left += 2 * layoutSpec.horizontalShift;
    }
    const int top = layoutSpec.topOffset >= 0 ? layoutSpec.topOffset : kGroupMargin;
    m_keyKnobGroup->layout()->setContentsMargins(left, top, right, kGroupMargin);

    showLayoutParts();
    assignControlSlots();

    m_panelPlacedScale = -1;
    placePanel(fittingPanelScale(windowRatio));

    if (layoutSpec.id == Layout1K0E) {
        qCDebug(lcUi).noquote() << "[UI][1+0]" << "final frame"
                                << "matrix" << m_keyMatrix->geometry()
                                << "frame" << m_physicalPanelFrame->geometry()
                                << "keyMatrixVisible"
                                << m_keyMatrix->isVisibleTo(m_keyKnobGroup->window())
                                << "keyMatrixSize" << m_keyMatrix->size()
                                << "panelFrameSize" << m_physicalPanelFrame->sizeHint();
    }
    logButtonMap();
}

void KeypadPanel::showLayoutParts()
{
    const LayoutSpec &layoutSpec = m_layout;
    const auto setShown = [](QPushButton *button, bool shown) {
        button->setChecked(false);
        button->setVisible(shown);
        button->setEnabled(shown);
    };
    const int keys = qMin(layoutSpec.keyCount, kGridKeyCount);
    for (int i = 0; i < kGridKeyCount; ++i) {
        m_keyCells[size_t(i)]->setVisible(i < keys);
        setShown(m_gridKeyButtons[size_t(i)], i < keys);
    }

    const bool single = layoutSpec.isSingleKnob();
    for (int k = 0; k < kKnobCount; ++k) {
        const bool listed = !single && k < layoutSpec.knobs.size();
        m_knobGroups[size_t(k)]->setVisible(listed);
        for (int part = 0; part < kKnobPartCount; ++part) {
            KnobButton *button = m_knobButtons[size_t(k)][size_t(part)];
            setShown(button, listed && part < layoutSpec.knobs.value(k).shownParts());
        }
    }

    m_singleKnobContainer->setVisible(single);
    for (KnobButton *button : m_singleKnobButtons)
        setShown(button, single);

    if (layoutSpec.extraTurnKnobs > 0)
        createExtraTurnButtons();
    if (m_extraTurnContainer) {
        const bool extra = layoutSpec.extraTurnKnobs > 0;
        m_extraTurnContainer->setVisible(extra);
        for (int i = 0; i < kExtraTurnButtonCount; ++i)
            setShown(m_extraTurnButtons[size_t(i)], extra && i < 2 * layoutSpec.extraTurnKnobs);
    }

    // An empty container would only push the rest off centre.
    m_keyMatrix->setVisible(keys > 0);
    m_knobArea->setVisible(single || layoutSpec.extraTurnKnobs > 0 || !layoutSpec.knobs.isEmpty());
}

void KeypadPanel::assignControlSlots()
{
    // Start from the 16-key pad's numbering, then let the layout re-point
    // the slots its own keypad numbers differently. A button sits in one
    // slot only, so a text meant for one key never lands on another.
    m_controlButtons.fill(nullptr);
    for (int i = 0; i < kGridKeyCount; ++i)
        m_controlButtons[size_t(i)] = m_gridKeyButtons[size_t(i)];
    for (int k = 0; k < kKnobCount; ++k)
        for (int part = 0; part < kKnobPartCount; ++part)
            m_controlButtons[size_t(kGridKeyCount + k * kKnobPartCount + part)] =
                m_knobButtons[size_t(k)][size_t(part)];

    if (m_layout.isSingleKnob()) {
        for (int part = 0; part < kSingleKnobPartCount; ++part)
            m_controlButtons[size_t(part)] = m_singleKnobButtons[size_t(part)];
    } else {
        for (int k = 0; k < qMin(int(m_layout.knobs.size()), kKnobCount); ++k) {
            const int base = m_layout.knobs[k].baseSlot;
            const int homeBase = kGridKeyCount + k * kKnobPartCount;
            if (base == homeBase || base < 0 || base + kKnobPartCount > kKeySlotCount)
                continue;
            for (int part = 0; part < kKnobPartCount; ++part) {
                m_controlButtons[size_t(homeBase + part)] = nullptr;
                m_controlButtons[size_t(base + part)] = m_knobButtons[size_t(k)][size_t(part)];
            }
        }
    }
    if (m_layout.extraTurnKnobs > 0 && m_extraTurnContainer) {
        for (int i = 0; i < kExtraTurnButtonCount; ++i)
            m_controlButtons[size_t(kExtraTurnFirstSlot + i)] = m_extraTurnButtons[size_t(i)];
    }
}
void KeypadPanel::logButtonMap() const
{
    qCDebug(lcUi).noquote() << "[UI][layout]" << "button map:";
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const QPushButton *button = m_controlButtons[size_t(slot)];
        qCDebug(lcUi).noquote() << "  slot" << slot << "ptr" << static_cast<const void *>(button)
                                << "type" << buttonTypeName(button) << "prop"
                                << (button ? button->property("buttonIndex").toString()
                                           : QStringLiteral("none"))
                                << "text" << (button ? button->text() : QString());
    }
}
