#include "widgets/focusring.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kSelectionLight(255, 215, 0);
const QColor kFocusLight(255, 255, 255);
const QColor kDarkEdge(0, 0, 0, 210);
constexpr qreal kLightWidth = 3.0;
constexpr qreal kDarkWidth = 6.0;

void strokeTwoTone(QPainter &painter, const QPainterPath &path, const QColor &light)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kDarkEdge, kDarkWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    painter.setPen(QPen(light, kLightWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
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

void drawSelectionRing(QPainter &painter, const QRectF &rect, qreal radius)
{
    const qreal inset = kDarkWidth / 2;
    strokeTwoTone(painter, roundedPath(rect.adjusted(inset, inset, -inset, -inset), radius - inset),
                  kSelectionLight);
}

void drawFocusRing(QPainter &painter, const QRectF &rect, qreal radius)
{
    const qreal inset = kFocusRingInset;
    strokeTwoTone(painter, roundedPath(rect.adjusted(inset, inset, -inset, -inset), radius - inset),
                  kFocusLight);
}

void drawSelectionEllipse(QPainter &painter, const QRectF &rect)
{
    const qreal inset = kDarkWidth / 2;
    strokeTwoTone(painter, ellipsePath(rect.adjusted(inset, inset, -inset, -inset)),
                  kSelectionLight);
}

void drawFocusEllipse(QPainter &painter, const QRectF &rect)
{
    const qreal inset = kFocusRingInset;
    strokeTwoTone(painter, ellipsePath(rect.adjusted(inset, inset, -inset, -inset)), kFocusLight);
}
