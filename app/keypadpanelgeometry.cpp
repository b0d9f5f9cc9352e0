// Placing the keypad picture for a scale, and fitting it into the room the
// window gives the key and knob group.

#include "app/keypadpanel.h"

#include "app/widgetstyle.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QtMath>

namespace {

// Panel frame numbers at the design size.
constexpr int kFrameMarginX = 26;
constexpr int kFrameMarginY = 18;
constexpr int kFrameSpacing = 28;
constexpr int kFrameBorder = 5;
constexpr int kFrameRadius = 26;
constexpr int kKeyNumberOffset = 5;
constexpr int kKeyNumberSide = 24;
constexpr int kKeyNumberMinPx = 7;
// A hovered key grows by 4 pixels; its cell leaves room for that.
constexpr int kHoverRoom = 4;
// The panel never shrinks below this while fitting a small window.
constexpr double kMinPanelScale = 0.2;
// The single-knob display shows three parts, then the two pressed turns.
constexpr int kSingleKnobFirstRow = 3;

int scaled(int value, double ratio) { return qRound(value * ratio); }

// Every size of the picture for one layout at one scale. The placement and
// the fitting both use it, so what is measured is what is drawn.
struct PanelMetrics {
    int keySide = 0;
    int cell = 0;
    int keyGap = 0;
    int part = 0;
    int partGap = 0;
    int groupGap = 0;
    int border = 0;
    int marginX = 0;
    int marginY = 0;
    int spacing = 0;
    bool matrixShown = false;
    bool knobsShown = false;
    QSize matrix;
    QSize knobs;
    QSize frame;
};

QSize knobGroupSize(const PanelMetrics &m, int parts)
{
    return QSize(parts * m.part + (parts - 1) * m.partGap, m.part);
}

QSize knobAreaSize(const LayoutSpec &layoutSpec, const PanelMetrics &m)
{
    if (layoutSpec.isSingleKnob())
        return QSize(3 * m.part + 2 * m.partGap, 2 * m.part + m.partGap);
    if (layoutSpec.extraTurnKnobs > 0) {
        const int knobs = layoutSpec.extraTurnKnobs;
        return QSize(2 * m.part + m.partGap, knobs * m.part + (knobs - 1) * m.groupGap);
    }
    const int count = qMin(int(layoutSpec.knobs.size()), kKnobCount);
    if (count == 0)
        return QSize();
    const int perRow = qMax(1, layoutSpec.knobsPerRow);
    int width = 0;
    int rows = 0;
    for (int row = 0; row * perRow < count; ++row, ++rows) {
        int rowWidth = 0;
        for (int i = row * perRow; i < qMin(count, (row + 1) * perRow); ++i)
            rowWidth += knobGroupSize(m, layoutSpec.knobs[i].shownParts()).width()
                + (i > row * perRow ? m.groupGap : 0);
        width = qMax(width, rowWidth);
    }
    return QSize(width, rows * m.part + (rows - 1) * m.groupGap);
}

PanelMetrics panelMetrics(const LayoutSpec &layoutSpec, double ratio)
{
    PanelMetrics m;
    m.keySide = scaled(layoutSpec.keySize, ratio);
    m.cell = m.keySide + kHoverRoom;
    m.keyGap = scaled(layoutSpec.keySpacing, ratio);
    m.part = qMax(1, scaled(layoutSpec.knobPartSize, ratio));
    m.partGap = scaled(layoutSpec.knobPartGap, ratio);
    m.groupGap = scaled(layoutSpec.knobGroupGap, ratio);
    m.border = qMax(1, scaled(kFrameBorder, ratio));
    m.marginX = scaled(kFrameMarginX, ratio);
    m.marginY = scaled(kFrameMarginY, ratio);
    m.spacing = scaled(kFrameSpacing, ratio);

    const int keys = qMin(layoutSpec.keyCount, kGridKeyCount);
    const int columns = qMin(qMax(1, layoutSpec.columns), qMax(1, keys));
    const int rows = layoutSpec.usedRows();
    m.matrixShown = keys > 0;
    m.matrix = m.matrixShown ? QSize(columns * m.cell + (columns - 1) * m.keyGap,
                                     rows * m.cell + (rows - 1) * m.keyGap)
                             : QSize(1, 1);
    m.knobs = knobAreaSize(layoutSpec, m);
    m.knobsShown = !m.knobs.isEmpty();

    QSize content;
    if (m.matrixShown && m.knobsShown) {
        content = layoutSpec.topToBottom
            ? QSize(qMax(m.matrix.width(), m.knobs.width()),
                    m.matrix.height() + m.spacing + m.knobs.height())
            : QSize(m.matrix.width() + m.spacing + m.knobs.width(),
                    qMax(m.matrix.height(), m.knobs.height()));
    } else {
        content = m.knobsShown ? m.knobs : m.matrix;
    }
    m.frame = content + QSize(2 * (m.marginX + m.border), 2 * (m.marginY + m.border));
    return m;
}

} // namespace

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
    const int numberPx = qMax(kKeyNumberMinPx, scaled(layoutSpec.keyNumberFontPx, panelRatio));
    const int numberOffset = kHoverRoom / 2 + scaled(kKeyNumberOffset, panelRatio);
    const int numberSide = qMax(numberPx + 4, scaled(kKeyNumberSide, panelRatio));
    const bool numberSizeChanged = numberPx != m_appliedKeyNumberPx;
    m_appliedKeyNumberPx = numberPx;
    QFont numberFont;
    numberFont.setPixelSize(numberPx);
    for (int i = 0; i < kGridKeyCount; ++i) {
        const int x = (i % columns) * (m.cell + m.keyGap);
        const int y = (i / columns) * (m.cell + m.keyGap);
        m_keyCells[size_t(i)]->setGeometry(x, y, m.cell, m.cell);
        KeyButton *key = m_gridKeyButtons[size_t(i)];
        key->setButtonBaseSize(layoutSpec.keySize);
        key->setScale(panelRatio);
        key->move((m.cell - key->width() + 1) / 2, (m.cell - key->height() + 1) / 2);
        QLabel *number = m_keyNumberLabels[size_t(i)];
        number->setGeometry(numberOffset, numberOffset, numberSide, numberSide);
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
        panelFaceStyleSheet(m.border, qMax(1, scaled(kFrameRadius, panelRatio)));
    if (faceStyle != m_appliedPanelFaceStyle) {
        m_appliedPanelFaceStyle = faceStyle;
        m_panelFace->setStyleSheet(faceStyle);
    }
    m_physicalPanelFrame->setFixedSize(m.frame);
    m_panelFace->setGeometry(QRect(QPoint(0, 0), m.frame));
}
