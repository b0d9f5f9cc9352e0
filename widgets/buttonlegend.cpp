#include "widgets/buttonlegend.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QStringList>

namespace {

const QString kArrow = QStringLiteral("->");
const QColor kArrowColor(50, 150, 255);

// Largest side first: a button above `minSide` pixels shows `characters`.
struct LegendLimit
{
    int minSide;
    int characters;
};

constexpr LegendLimit kLegendLimits[] = {
    {99, 7},
    {79, 6},
    {59, 5},
};
constexpr int kSmallestLimit = 4;

} // namespace

int legendCharacterLimit(int side)
{
    for (const LegendLimit &limit : kLegendLimits) {
        if (side > limit.minSide)
            return limit.characters;
    }
    return kSmallestLimit;
}

QString legendTail(const QString &text, int side)
{
    return text.right(legendCharacterLimit(side));
}

void drawLegend(QPainter &painter, const QRect &rect, const QString &text, const QColor &color)
{
    if (!text.contains(kArrow)) {
        painter.setPen(color);
        painter.drawText(rect, Qt::AlignCenter, text);
        return;
    }

    // One line: measure every piece first so the whole chain is centred.
    const QStringList parts = text.split(kArrow);
    const QFontMetrics metrics(painter.font());
    const int arrowWidth = metrics.horizontalAdvance(kArrow);
    int totalWidth = arrowWidth * (parts.size() - 1);
    for (const QString &part : parts)
        totalWidth += metrics.horizontalAdvance(part);

    int x = rect.left() + (rect.width() - totalWidth) / 2;
    const int baseline = rect.top() + rect.height() / 2 + (metrics.ascent() - metrics.descent()) / 2;
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            painter.setPen(kArrowColor);
            painter.drawText(x, baseline, kArrow);
            x += arrowWidth;
        }
        if (!parts.at(i).isEmpty()) {
            painter.setPen(color);
            painter.drawText(x, baseline, parts.at(i));
            x += metrics.horizontalAdvance(parts.at(i));
        }
    }
}

QFont legibleLegendFont(QFont font)
{
    constexpr int kLegendMinPx = 8;
    if (QFontInfo(font).pixelSize() < kLegendMinPx)
        font.setPixelSize(kLegendMinPx);
    return font;
}
