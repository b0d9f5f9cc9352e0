// The picture of the keypad: the panel frame with its key grid and knobs,
// built once; each layout only re-points the control slots and shows and
// hides parts, and the panel is placed for a scale with the sizes of
// panelmetrics.cpp.

#include "app/keypadview/keypadpanel.h"

#include "app/keypadview/keypadtabstop.h"

#include "app/look/resizewatcher.h"
#include "app/look/widgetstyle.h"
#include "model/logging.h"
#include "widgets/keybutton.h"
#include "widgets/outlinedlabel.h"
#include "widgets/knobbutton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGroupBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

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
constexpr int kFrameRadius = 26;
constexpr int kKeyNumberOffset = 5;
constexpr int kKeyNumberSide = 24;
constexpr int kKeyNumberMinPx = 8;
// The panel never shrinks below this while fitting a small window.
constexpr double kMinPanelScale = 0.2;
// The single-knob display shows three parts, then the two pressed turns.
constexpr int kSingleKnobFirstRow = 3;
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
    m_tabStop = new KeypadTabStop(this);
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
    m_keyMatrix->setStyleSheet(transparentAreaStyleSheet());
    for (int i = 0; i < kGridKeyCount; ++i) {
        auto *cell = new QWidget(m_keyMatrix);
        cell->setObjectName(QStringLiteral("KeyCell"));
        cell->resize(kDesignKeyCell, kDesignKeyCell);

        auto *key = new KeyButton(cell);
        key->move(0, 0);

        auto *number = new OutlinedLabel(QString::number(i + 1), cell);
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
    m_knobArea->setStyleSheet(transparentAreaStyleSheet());

    for (int k = 0; k < kKnobCount; ++k) {
        auto *group = new QWidget(m_knobArea);
        group->setObjectName(QStringLiteral("KnobGroupContainer"));
        for (int part = 0; part < kKnobPartCount; ++part)
            m_knobButtons[size_t(k)][size_t(part)] = makeKnobButton(kKnobPictures[part], group);
        m_knobGroups[size_t(k)] = group;
    }

    m_singleKnobContainer = new QWidget(m_knobArea);
    m_singleKnobContainer->setObjectName(QStringLiteral("ZeroOneKnobContainer"));
    for (int part = 0; part < kSingleKnobPartCount; ++part)
        m_singleKnobButtons[size_t(part)] =
            makeKnobButton(kSingleKnobPictures[part], m_singleKnobContainer);
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
        m_extraTurnButtons[size_t(i)] = button;
        watchControl(button);
    }
}

void KeypadPanel::setEnabled(bool enabled)
{
    m_keyKnobGroup->setEnabled(enabled);
}

void KeypadPanel::activateLayout()
{
    m_keyKnobGroup->layout()->activate();
}

void KeypadPanel::watchControls(QObject *filter)
{
    m_controlWatcher = filter;
    for (QPushButton *button : m_keyKnobGroup->findChildren<QPushButton *>())
        watchControl(button);
}

void KeypadPanel::watchControl(QPushButton *button)
{
    if (!m_controlWatcher)
        return;
    button->installEventFilter(m_controlWatcher);
    button->setAcceptDrops(true);
}

QPushButton *KeypadPanel::controlButton(int slot) const
{
    return slot >= 0 && slot < kKeySlotCount ? m_controlButtons[size_t(slot)] : nullptr;
}

ControlIdentity KeypadPanel::identityOf(const QPushButton *button) const
{
    for (int place = 0; place < kKeySlotCount; ++place)
        if (button && m_controlButtons[size_t(place)] == button)
            return m_map.identityOfButton(place);
    return {};
}

void KeypadPanel::applyLayout(const LayoutSpec &layoutSpec, double windowRatio)
{
    m_layout = layoutSpec;
    m_map = ControlMap(layoutSpec);

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
    // The window keeps room for the smallest panel this layout is drawn at.
    m_keyKnobGroup->setMinimumSize(
        panelMetrics(layoutSpec, kMinPanelScale).frame
        + QSize(left + right, top + kGroupMargin));

    m_panelPlacedScale = -1;
    placePanel(fittingPanelScale(windowRatio));
    m_tabStop->follow(m_keyKnobGroup->findChildren<QPushButton *>().toVector(),
                      QVector<QPushButton *>(m_controlButtons.begin(), m_controlButtons.end()));

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
    // A button out of every slot keeps no place, so each place names one
    // button for scripts and tests.
    for (ControlButton *button : m_keyKnobGroup->findChildren<ControlButton *>())
        button->setPlace(-1);
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (auto *button = qobject_cast<ControlButton *>(m_controlButtons[size_t(slot)]))
            button->setPlace(slot);
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

// ---- placing for a scale ---------------------------------------------------

double KeypadPanel::fittingPanelScale(double ratio) const
{
    // Before the window is laid out the group has no meaningful size.
    if (!m_keyKnobGroup->testAttribute(Qt::WA_WState_Visible) || !m_keyKnobGroup->layout())
        return ratio;
    const QSize room =
        m_keyKnobGroup->contentsRect().marginsRemoved(m_keyKnobGroup->layout()->contentsMargins())
            .size();
    const auto fits = [&](double r) {
        const QSize frame = panelMetrics(m_layout, r).frame;
        return frame.width() <= room.width() && frame.height() <= room.height();
    };
    if (fits(ratio))
        return ratio;
    double low = kMinPanelScale;
    double high = ratio;
    for (int step = 0; step < 12; ++step) {
        const double middle = (low + high) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

void KeypadPanel::fitTo(double windowRatio)
{
    if (!m_keyMatrix)
        return;
    placePanel(fittingPanelScale(windowRatio));
}

void KeypadPanel::placePanel(double panelRatio)
{
    if (qFuzzyCompare(panelRatio, m_panelPlacedScale))
        return;
    m_panelPlacedScale = panelRatio;
    m_panelScale = panelRatio;
    const LayoutSpec &layoutSpec = m_layout;
    const PanelMetrics m = panelMetrics(layoutSpec, panelRatio);

    // Keys, row by row; a hovered key keeps its grown size until it is left.
    m_keyMatrix->setFixedSize(m.matrix);
    const int columns = qMax(1, layoutSpec.columns);
    // Key numbers stay legible on the small panel of a small window.
    const int numberPx = qMax(kKeyNumberMinPx, scaledPx(layoutSpec.keyNumberFontPx, panelRatio));
    const int numberOffset = kKeyHoverRoom / 2 + scaledPx(kKeyNumberOffset, panelRatio);
    const int numberSide = qMax(numberPx + 4, scaledPx(kKeyNumberSide, panelRatio));
    const bool numberSizeChanged = numberPx != m_appliedKeyNumberPx;
    m_appliedKeyNumberPx = numberPx;
    QFont numberFont;
    numberFont.setPixelSize(numberPx);
    QFont boldNumberFont = numberFont;
    boldNumberFont.setBold(true);
    const QFontMetrics numberMetrics(boldNumberFont);
    const QRect numberBox(numberOffset, numberOffset, numberSide, numberSide);
    for (int i = 0; i < kGridKeyCount; ++i) {
        const int x = (i % columns) * (m.cell + m.keyGap);
        const int y = (i / columns) * (m.cell + m.keyGap);
        m_keyCells[size_t(i)]->setGeometry(x, y, m.cell, m.cell);
        KeyButton *key = m_gridKeyButtons[size_t(i)];
        key->setButtonBaseSize(layoutSpec.keySize);
        key->setScale(controlScale(layoutSpec.keySize, panelRatio));
        key->move((m.cell - key->width() + 1) / 2, (m.cell - key->height() + 1) / 2);
        QLabel *number = m_keyNumberLabels[size_t(i)];
        number->setGeometry(numberBox);
        // The number is drawn over the key; the key's legend keeps clear of it.
        const QRect ink = numberMetrics.tightBoundingRect(number->text());
        const int baseline = numberBox.top() + (numberBox.height() - numberMetrics.height()) / 2
            + numberMetrics.ascent();
        const QRect digits(numberBox.center().x() - ink.width() / 2, baseline + ink.top(),
                           ink.width(), ink.height());
        const int keyOffset = (m.cell - key->buttonSize() + 1) / 2;
        key->setLegendCorner(digits.translated(-keyOffset, -keyOffset));
        if (numberSizeChanged)
            number->setFont(numberFont);
    }

    // Knobs: each one a row of its parts, the knobs in display order.
    const auto placeParts = [&m](KnobButton *const *buttons, int count, int x, int y) {
        for (int i = 0; i < count; ++i) {
            buttons[i]->setButtonSize(m.part);
            buttons[i]->move(x + i * (m.part + m.partGap), y);
        }
    };
    const int perRow = qMax(1, layoutSpec.knobsPerRow);
    int knobY = 0;
    int knobX = 0;
    for (int k = 0; k < kKnobCount; ++k) {
        const int parts = layoutSpec.knobs.value(k).shownParts();
        QWidget *group = m_knobGroups[size_t(k)];
        if (k < layoutSpec.knobs.size() && !layoutSpec.isSingleKnob()) {
            if (k > 0 && k % perRow == 0) {
                knobX = 0;
                knobY += m.part + m.groupGap;
            }
            const QSize size = knobGroupSize(m, parts);
            group->setGeometry(knobX, knobY, size.width(), size.height());
            knobX += size.width() + m.groupGap;
        }
        placeParts(m_knobButtons[size_t(k)].data(), kKnobPartCount, 0, 0);
        // A two-part knob has no press: its button takes no room at all.
        KnobButton *press = m_knobButtons[size_t(k)][kKnobPartCount - 1];
        if (parts < kKnobPartCount) {
            press->setFixedSize(0, 0);
            press->move(-10000, -10000);
        }
    }

    m_singleKnobContainer->setGeometry(QRect(QPoint(0, 0), m.knobs.isEmpty() ? QSize(1, 1)
                                                                             : m.knobs));
    placeParts(m_singleKnobButtons.data(), kSingleKnobFirstRow, 0, 0);
    const int secondRow = kSingleKnobPartCount - kSingleKnobFirstRow;
    const int secondRowX = (3 * m.part + 2 * m.partGap - (secondRow * m.part + m.partGap)) / 2;
    placeParts(m_singleKnobButtons.data() + kSingleKnobFirstRow, secondRow, secondRowX,
               m.part + m.partGap);

    if (m_extraTurnContainer) {
        m_extraTurnContainer->setGeometry(QRect(QPoint(0, 0), m.knobs.isEmpty() ? QSize(1, 1)
                                                                                : m.knobs));
        for (int knob = 0; knob < kExtraTurnButtonCount / 2; ++knob)
            placeParts(m_extraTurnButtons.data() + 2 * knob, 2, 0, knob * (m.part + m.groupGap));
    }

    if (m.knobsShown)
        m_knobArea->setFixedSize(m.knobs);

    auto *frameLayout = static_cast<QBoxLayout *>(m_physicalPanelFrame->layout());
    frameLayout->setDirection(layoutSpec.topToBottom ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    frameLayout->setSpacing(m.spacing);
    frameLayout->setContentsMargins(m.marginX + m.border, m.marginY + m.border,
                                    m.marginX + m.border, m.marginY + m.border);

    const QString faceStyle =
        panelFaceStyleSheet(m.border, qMax(1, scaledPx(kFrameRadius, panelRatio)));
    if (faceStyle != m_appliedPanelFaceStyle) {
        m_appliedPanelFaceStyle = faceStyle;
        m_panelFace->setStyleSheet(faceStyle);
    }
    m_physicalPanelFrame->setFixedSize(m.frame);
    m_panelFace->setGeometry(QRect(QPoint(0, 0), m.frame));
}
