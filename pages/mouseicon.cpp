#include "pages/mouseicon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double kPenWidth = 2.2;
const QColor kOutlineColor(0xf5, 0xf5, 0xf5);
const QColor kHighlightColor(0x4d, 0xb6, 0xff);
const QColor kDisabledOutlineColor(0x8a, 0x8a, 0x8a);
const QColor kDisabledHighlightColor(0x62, 0x62, 0x62);

// Geometry of the mouse within the 34 x 34 picture.
const QRectF kBody(8.5, 2.5, 17.0, 29.0);
constexpr double kBodyRadius = 8.0;
constexpr double kButtonLine = 13.0;  // where the buttons end and the palm begins
constexpr double kCentre = 17.0;
const QRectF kWheel(15.0, 5.0, 4.0, 6.5);

QPainterPath bodyPath()
{
    QPainterPath path;
    path.addRoundedRect(kBody, kBodyRadius, kBodyRadius);
    return path;
}

// One mouse button: the part of the body above the button line on one side.
QPainterPath buttonPath(bool left)
{
    QPainterPath half;
    const double x = left ? kBody.left() : kCentre;
    half.addRect(QRectF(x, kBody.top(), kBody.width() / 2, kButtonLine - kBody.top()));
    return bodyPath().intersected(half);
}

// An arrow in the palm pointing the way the wheel turns.
QPainterPath arrowPath(bool up)
{
    constexpr double top = 17.5, bottom = 27.5, headLength = 3.5;
    const double tip = up ? top : bottom;
    const double tail = up ? bottom : top;
    const double headEnd = up ? tip + headLength : tip - headLength;
    QPainterPath path;
    path.moveTo(kCentre, tail);
    path.lineTo(kCentre, tip);
    path.moveTo(kCentre - headLength, headEnd);
    path.lineTo(kCentre, tip);
    path.lineTo(kCentre + headLength, headEnd);
    return path;
}

} // namespace

QPixmap drawMouseIcon(MouseIconKind kind, bool enabled, qreal ratio)
{
    const int side = qRound(kMouseIconSize * ratio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    const QColor outline = enabled ? kOutlineColor : kDisabledOutlineColor;
    const QColor highlight = enabled ? kHighlightColor : kDisabledHighlightColor;

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    if (kind == MouseIconKind::Left || kind == MouseIconKind::Right)
        painter.fillPath(buttonPath(kind == MouseIconKind::Left), highlight);

    QPen pen(outline, kPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(bodyPath());
    painter.drawLine(QPointF(kBody.left(), kButtonLine), QPointF(kBody.right(), kButtonLine));
    painter.drawLine(QPointF(kCentre, kBody.top()), QPointF(kCentre, kButtonLine));

    // The wheel sits on the line between the buttons.
    const bool wheel = kind == MouseIconKind::Middle || kind == MouseIconKind::WheelUp
        || kind == MouseIconKind::WheelDown;
    if (wheel) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(highlight);
        painter.drawRoundedRect(kWheel, 2.0, 2.0);
    }

    if (kind == MouseIconKind::WheelUp || kind == MouseIconKind::WheelDown) {
        pen.setColor(highlight);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arrowPath(kind == MouseIconKind::WheelUp));
    }
    return pixmap;
}
