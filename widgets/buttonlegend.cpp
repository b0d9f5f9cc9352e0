#include "widgets/buttonlegend.h"

#include "model/labels.h"
#include "widgets/legendfit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRect>

namespace {

const QString kArrow = QStringLiteral("->");
const QColor kArrowColor(50, 150, 255);

// One line, its text parts in `color` and its arrows in blue, starting at x.
void drawLine(QPainter &painter, qreal x, qreal baseline, const QString &line,
              const QColor &color, const QFontMetricsF &metrics)
{
    const QStringList parts = line.split(kArrow);
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            painter.setPen(kArrowColor);
            painter.drawText(QPointF(x, baseline), kArrow);
            x += metrics.horizontalAdvance(kArrow);
        }
        if (!parts.at(i).isEmpty()) {
            painter.setPen(color);
            painter.drawText(QPointF(x, baseline), parts.at(i));
            x += metrics.horizontalAdvance(parts.at(i));
        }
    }
}

} // namespace

QSizeF legendBlockSize(const QFontMetricsF &metrics, const QStringList &lines)
{
    if (lines.isEmpty())
        return QSizeF();
    qreal width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    return QSizeF(width, metrics.height() + (lines.size() - 1) * metrics.lineSpacing());
}

void drawLegend(QPainter &painter, const QRectF &rect, const QStringList &lines,
                const QColor &color)
{
    if (!lines.join(QString()).contains(kArrow)) {
        // One layout pass for plain lines; painting is what a key does most.
        painter.setPen(color);
        painter.drawText(rect, Qt::AlignCenter, lines.join(QLatin1Char('\n')));
        return;
    }
    const QFontMetricsF metrics(painter.font());
    const QSizeF block = legendBlockSize(metrics, lines);
    qreal baseline = rect.top() + (rect.height() - block.height()) / 2 + metrics.ascent();
    for (const QString &line : lines) {
        const qreal x = rect.left() + (rect.width() - metrics.horizontalAdvance(line)) / 2;
        drawLine(painter, x, baseline, line, color, metrics);
        baseline += metrics.lineSpacing();
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

QString plainFunctionText(const QString &fullText)
{
    QString plain = fullText;
    return plain.replace(QString::fromLatin1(kMacroArrowSpan), QStringLiteral(" -> "));
}

QString legendToolTip(const QString &text, const QString &fullText, const QString &legendText,
                      bool legendCut)
{
    const QString whole = fullText.isEmpty() ? text : fullText;
    if (whole.isEmpty())
        return QString();
    // A short name (a Procreate shortcut's) stands for a longer function.
    const bool shortName = !fullText.isEmpty() && plainFunctionText(fullText) != legendText;
    return legendCut || shortName ? whole : QString();
}
