#include "widgets/outlinedlabel.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kOutline(0, 0, 0, 230);
constexpr qreal kOutlineWidth = 3.0;

} // namespace

void OutlinedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font());
    const QRectF area = contentsRect();
    const QString shown = text();
    // Centred the way the label would align it.
    const QPointF baseline(area.center().x() - metrics.horizontalAdvance(shown) / 2,
                           area.center().y() + (metrics.ascent() - metrics.descent()) / 2);
    QPainterPath path;
    path.addText(baseline, font(), shown);
    painter.strokePath(path, QPen(kOutline, kOutlineWidth, Qt::SolidLine, Qt::RoundCap,
                                  Qt::RoundJoin));
    painter.fillPath(path, palette().color(foregroundRole()));
}
