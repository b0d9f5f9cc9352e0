#include "widgets/buttonlegend.h"

#include <QFontMetrics>
#include <QTextDocument>
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
constexpr int kMinLegendPx = 8;
const QString kShortenedMark = QStringLiteral("...");

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

void drawUnsavedMark(QPainter &painter, const QRect &rect)
{
    const qreal diameter = qMax<qreal>(6, rect.width() / 9.0);
    const qreal inset = diameter * 0.6;
    painter.save();
    painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    painter.setBrush(QColor(0xFF, 0xB0, 0x20));
    painter.drawEllipse(QRectF(rect.right() - inset - diameter, rect.top() + inset, diameter,
                               diameter));
    painter.restore();
}

QFont legendFont(QFont font, int pointSize, int logicalDpiY)
{
    font.setWeight(QFont::Bold);
    font.setPointSize(qMax(1, pointSize));
    if (qreal(pointSize) * logicalDpiY / 72.0 < kMinLegendPx)
        font.setPixelSize(kMinLegendPx);
    return font;
}

QString legendToolTip(const QString &text, const QString &fullText, int side, const QFont &font,
                      int width)
{
    const QString whole = fullText.isEmpty() ? text : fullText;
    if (whole.isEmpty())
        return QString();
    const QString shown = legendTail(text, side);
    // Rich full texts (the macro chains) are never the legend word for word;
    // for them only the legend itself tells whether something is missing.
    const bool shortName =
        !fullText.isEmpty() && !Qt::mightBeRichText(fullText) && fullText != text;
    const bool cut = shown != text || text.endsWith(kShortenedMark) || shortName
        || QFontMetrics(font).horizontalAdvance(shown) > width;
    return cut ? whole : QString();
}
