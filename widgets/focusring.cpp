#include "widgets/focusring.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kSelectionLight(255, 215, 0);
const QColor kFocusLight(255, 255, 255);
const QColor kDarkEdge(0, 0, 0, 210);
constexpr qreal kLightWidth = 3.0;

void strokeTwoTone(QPainter &painter, const QPainterPath &path, const QColor &light, qreal scale)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kDarkEdge, kRingWidth * scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    painter.setPen(QPen(light, kLightWidth * scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    painter.restore();
}

QPainterPath roundedPath(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, qMax<qreal>(0, radius), qMax<qreal>(0, radius));
    return path;
}

QPainterPath ellipsePath(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect);
    return path;
}

} // namespace

void drawSelectionRing(QPainter &painter, const QRectF &rect, qreal radius, qreal scale)
{
    const qreal inset = kRingWidth * scale / 2;
    strokeTwoTone(painter, roundedPath(rect.adjusted(inset, inset, -inset, -inset), radius - inset),
                  kSelectionLight, scale);
}

void drawFocusRing(QPainter &painter, const QRectF &rect, qreal radius, qreal scale)
{
    const qreal inset = kFocusRingInset * scale;
    strokeTwoTone(painter, roundedPath(rect.adjusted(inset, inset, -inset, -inset), radius - inset),
                  kFocusLight, scale);
}

void drawSelectionEllipse(QPainter &painter, const QRectF &rect)
{
    const qreal inset = kRingWidth / 2;
    strokeTwoTone(painter, ellipsePath(rect.adjusted(inset, inset, -inset, -inset)),
                  kSelectionLight, 1.0);
}

void drawFocusEllipse(QPainter &painter, const QRectF &rect)
{
    const qreal inset = kFocusRingInset;
    strokeTwoTone(painter, ellipsePath(rect.adjusted(inset, inset, -inset, -inset)), kFocusLight, 1.0);
}
