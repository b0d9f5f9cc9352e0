#include "widgets/keybutton.h"

#include "model/logging.h"
#include "widgets/buttonlegend.h"
#include "widgets/focusring.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVariant>
#include <QtMath>

namespace {

constexpr int kHoverGrowth = 4;
// The legend keeps this share of the side clear of the key's edges.
constexpr double kLegendPadShare = 0.06;
constexpr int kMinLegendPad = 2;
const QColor kFaceColor(100, 100, 100);

// Slots 6 to 8 are re-pointed from layout to layout (the six-key pad puts its
// knob there): the window selects a key in one of them itself, without the
// button's own toggle.
constexpr int kForcedClickFirst = 6;
constexpr int kForcedClickLast = 8;

// Floor division, so a button larger than its cell overhangs it evenly.
int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

KeyButton::KeyButton(QWidget *parent)
    : ControlButton(parent)
{
    setCheckable(true);
    setFlat(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(m_size, m_size);
    setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
}

void KeyButton::setScale(double scale)
{
    m_scale = scale;
    applySize();
}

void KeyButton::setButtonBaseSize(int side)
{
    m_baseSize = side;
    applySize();
}

void KeyButton::applySize()
{
    m_size = qMax(0, qRound(m_baseSize * m_scale));
    const int side = m_hovered ? m_size + kHoverGrowth : m_size;
    setFixedSize(side, side);
    updateLegendToolTip();
    update();
}

QFont KeyButton::legendBaseFont() const
{
    return legendFont(font(), qRound(m_fontPointSize * m_scale), logicalDpiY());
}

void KeyButton::setLegendCorner(const QRect &corner)
{
    if (corner == m_legendCorner)
        return;
    m_legendCorner = corner;
    updateLegendToolTip();
    update();
}

QRect KeyButton::legendFace() const
{
    const int pad = qMax(kMinLegendPad, qRound(m_size * kLegendPadShare));
    // The rings of the selected or focused key are drawn over its edge; its
    // legend is fitted inside them, not across them.
    const qreal scale = ringScaleFor(m_size);
    const qreal rings =
        hasFocus() ? focusRingDepth(scale) : isChecked() ? selectionRingDepth(scale) : 0;
    return insetSquare(qMax(pad, qCeil(rings)));
}

QRect KeyButton::legendRoom() const
{
    QRect room = legendFace();
    if (m_legendCorner.isValid())
        room.setTop(qMax(room.top(), m_legendCorner.bottom() + 1));
    return room;
}

QRectF KeyButton::legendArea(const QSizeF &block) const
{
    // Centred on the face, as long as the lines stay clear of the key's
    // number; else centred in the room below it.
    const QRectF face = legendFace();
    const QRectF centred(face.center() - QPointF(block.width(), block.height()) / 2, block);
    if (!m_legendCorner.isValid() || !centred.intersects(m_legendCorner))
        return face;
    return legendRoom();
}

void KeyButton::setSwatch(const QColor &color)
{
    m_swatchOn = true;
    m_swatchColor = color;
    updateLegendToolTip();
    update();
}

void KeyButton::clearSwatch()
{
    if (!m_swatchOn)
        return;
    m_swatchOn = false;
    updateLegendToolTip();
    update();
}

void KeyButton::mousePressEvent(QMouseEvent *event)
{
    qCDebug(lcUi).noquote() << "[UI][mousePress]" << "KeyButton" << this << "text" << text()
                            << "enabled" << boolText(isEnabled()) << "visible"
                            << boolText(isVisible()) << "pos" << event->pos();
    QPushButton::mousePressEvent(event);
}

void KeyButton::mouseReleaseEvent(QMouseEvent *event)
{
    qCDebug(lcUi).noquote() << "[UI][mouseRelease]" << "KeyButton" << this << "text" << text()
                            << "enabled" << boolText(isEnabled()) << "visible"
                            << boolText(isVisible()) << "pos" << event->pos();
    if (place() >= kForcedClickFirst && place() <= kForcedClickLast
        && event->button() == Qt::LeftButton && rect().contains(event->pos())) {
        // The window selects the control itself; a normal release would also
        // toggle the check mark and emit clicked a second time. Only the
        // pressed look is undone so the button does not stay down.
        setDown(false);
        emit placeClicked(place());
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

void KeyButton::enterEvent(WidgetEnterEvent *event)
{
    m_hovered = true;
    setFixedSize(m_size + kHoverGrowth, m_size + kHoverGrowth);
    centreInCell();
    QPushButton::enterEvent(event);
}

void KeyButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    setFixedSize(m_size, m_size);
    centreInCell();
    QPushButton::leaveEvent(event);
}

void KeyButton::centreInCell()
{
    QWidget *cell = parentWidget();
    if (cell) {
        move(floorHalf(cell->width() - width() + 1), floorHalf(cell->height() - height() + 1));
        cell->update();
    }
    update();
}

int KeyButton::cornerRadius() const
{
    const int side = qMin(width(), height());
    const int preferred = m_hovered ? qMax(12, qRound(0.15 * side)) : qMax(8, qRound(0.1 * side));
    return qMin(side / 2, qMax(m_minRadius, preferred));
}

void KeyButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);

    const int radius = cornerRadius();
    const QColor fill = m_swatchOn ? m_swatchColor : kFaceColor;
    QColor face = fill;
    if (isChecked())
        face = fill.lighter(110);
    else if (m_hovered)
        face = fill.lighter(120);
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(rect()), radius, radius);

    const qreal ringScale = ringScaleFor(m_size);
    if (isChecked())
        drawSelectionRing(painter, QRectF(rect()), radius, ringScale);
    if (hasFocus())
        drawFocusRing(painter, QRectF(rect()), radius, ringScale);

    const PaintedLegend &legend = paintedLegend();
    painter.setFont(legend.font);
    // A hovered key grows on every side; its legend stays where it was.
    const QPointF growth((width() - m_size) / 2.0, (height() - m_size) / 2.0);
    const QRectF area = legendArea(legend.block);
    drawLegend(painter, area.translated(growth), legend.fit.lines, legendColor());
    if (isUnsaved())
        drawUnsavedMark(painter, rect());
}
