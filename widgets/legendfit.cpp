#include "widgets/legendfit.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <limits>

namespace {

const QString kCombinationSeparator = QStringLiteral(" + ");
const QString kChainArrow = QStringLiteral("->");
// A cut word keeps at least this many of its first characters.
constexpr int kMinWordStart = 2;
// One line is kept down to this share of the starting size before a text
// is broken in two.
constexpr double kOneLineShrink = 0.85;

// Text widths in one font size. A fit measures the same pieces at many
// sizes and every key measures the same key names, so widths are kept per
// font and text: measuring shapes the text again each time.
class TextMeasure
{
public:
    explicit TextMeasure(const QFont &font)
        : m_metrics(font)
        , m_fontKey(font.key())
    {
    }
    const QFontMetricsF &metrics() const { return m_metrics; }
    qreal width(const QString &text) const
    {
        // Only the window's thread fits legends; a thread of its own keeps
        // its own widths all the same.
        thread_local QHash<QString, qreal> widths;
        constexpr int kMaxKeptWidths = 8192;
        const QString key = m_fontKey + QChar(0) + text;
        const auto found = widths.constFind(key);
        if (found != widths.constEnd())
            return *found;
        if (widths.size() >= kMaxKeptWidths)
            widths.clear();
        const qreal measured = m_metrics.horizontalAdvance(text);
        widths.insert(key, measured);
        return measured;
    }

private:
    QFontMetricsF m_metrics;
    QString m_fontKey;
};

bool isChinese(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)
        || (u >= 0xFF00 && u <= 0xFFEF);
}

bool hasChinese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), isChinese);
}

// A combination of one key, or a macro shown by a name of its own ("-",
// "Macro(2)", a shortcut's name), has no parts to break at: it is a name.
LegendShape shapeOf(const QString &text, LegendShape shape)
{
    if (shape == LegendShape::Combination && !text.contains(kCombinationSeparator))
        return LegendShape::Words;
    if (shape == LegendShape::Chain && !text.contains(kChainArrow))
        return LegendShape::Words;
    return shape;
}

// The first part, then each separator with the part after it: a line may
// break before any piece but the first.
QStringList separatedPieces(const QString &text, const QString &separator)
{
    const QStringList parts = text.split(separator);
    QStringList pieces{parts.first()};
    for (int i = 1; i < parts.size(); ++i)
        pieces << separator + parts.at(i);
    return pieces;
}

// A name breaks after a space, a slash or a joining plus, before an opening
// bracket, and between Chinese characters (but not before the punctuation
// that follows one).
QStringList wordPieces(const QString &text)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        if (!piece.isEmpty()) {
            const QChar prev = piece.back();
            const bool breakHere = (prev.isSpace() && !c.isSpace())
                || ((prev == QLatin1Char('/') || prev == QLatin1Char('+')) && !c.isSpace())
                || c == QLatin1Char('(') || isChinese(c)
                || (isChinese(prev) && c.isLetterOrNumber());
            if (breakHere) {
                pieces << piece;
                piece.clear();
            }
        }
        piece += c;
    }
    if (!piece.isEmpty())
        pieces << piece;
    return pieces;
}

QStringList piecesOf(const QString &text, LegendShape shape)
{
    switch (shape) {
    case LegendShape::Combination:
        return separatedPieces(text, kCombinationSeparator);
    case LegendShape::Chain:
        return separatedPieces(text, kChainArrow);
    case LegendShape::Words:
        break;
    }
    return wordPieces(text);
}

QString joined(const QStringList &pieces, int from, int to)
{
    return pieces.mid(from, to - from).join(QString()).trimmed();
}

// The pieces on one line, or on two with the narrowest longer line, within
// the room; empty when they do not fit.
QStringList arrange(const QStringList &pieces, const TextMeasure &measure, const QSizeF &room)
{
    if (measure.metrics().height() > room.height())
        return {};
    const QString whole = joined(pieces, 0, pieces.size());
    if (measure.width(whole) <= room.width())
        return {whole};
    static_assert(kMaxLegendLines == 2, "two lines are tried");
    if (measure.metrics().height() + measure.metrics().lineSpacing() > room.height())
        return {};
    QStringList best;
    qreal bestWidth = std::numeric_limits<qreal>::max();
    for (int at = 1; at < pieces.size(); ++at) {
        const QString first = joined(pieces, 0, at);
        const QString second = joined(pieces, at, pieces.size());
        if (first.isEmpty() || second.isEmpty())
            continue;
        const qreal width =
            qMax(measure.width(first), measure.width(second));
        if (width <= room.width() && width < bestWidth) {
            best = QStringList{first, second};
            bestWidth = width;
        }
    }
    return best;
}

// The longest start of a name that fits with the cut mark after it. A cut
// falls between words, or keeps at least the first characters of a word.
QStringList cutName(const QString &text, const TextMeasure &measure, const QSizeF &room)
{
    QStringList shortest;
    QStringList fitted;
    const auto fitsUpTo = [&](int end) {
        const QString start = text.left(end).trimmed();
        if (start.isEmpty())
            return false;
        shortest = QStringList{start + legendCutMark()};
        fitted = arrange(wordPieces(shortest.first()), measure, room);
        return !fitted.isEmpty();
    };
    const QStringList pieces = wordPieces(text);
    for (int i = pieces.size() - 1, end = text.size(); i >= 0; --i) {
        const int start = end - pieces.at(i).size();
        const int shortestInside = start + qMin(kMinWordStart, int(pieces.at(i).size()));
        for (int inside = end - 1; inside >= shortestInside; --inside)
            if (fitsUpTo(inside))
                return fitted;
        if (start > 0 && fitsUpTo(start))
            return fitted;
        end = start;
    }
    // Not even the start of the first word fits: it is shown all the same,
    // overflowing the room, rather than a part no one could read.
    return shortest.isEmpty() ? QStringList{text} : shortest;
}

QStringList cutCombination(const QStringList &pieces, const TextMeasure &measure,
                           const QSizeF &room)
{
    // The first keys give way; the final key stays whole.
    for (int dropped = 1; dropped < pieces.size(); ++dropped) {
        const QStringList lines =
            arrange(QStringList{legendCutMark()} + pieces.mid(dropped), measure, room);
        if (!lines.isEmpty())
            return lines;
    }
    const QString lastKey = pieces.last().mid(kCombinationSeparator.size()).trimmed();
    return {legendCutMark() + QStringLiteral(" +"), lastKey};
}

QStringList cutChain(const QStringList &pieces, const TextMeasure &measure, const QSizeF &room)
{
    // A macro keeps the keys it presses first.
    const QString more = kChainArrow + QLatin1Char(' ') + legendCutMark();
    for (int kept = pieces.size() - 1; kept > 0; --kept) {
        const QStringList lines = arrange(pieces.mid(0, kept) << more, measure, room);
        if (!lines.isEmpty())
            return lines;
    }
    return cutName(pieces.first().trimmed(), measure, room);
}

QStringList cutToFit(const QString &text, LegendShape shape, const TextMeasure &measure,
                     const QSizeF &room)
{
    const QStringList pieces = piecesOf(text, shape);
    switch (shape) {
    case LegendShape::Combination:
        return cutCombination(pieces, measure, room);
    case LegendShape::Chain:
        return cutChain(pieces, measure, room);
    case LegendShape::Words:
        break;
    }
    return cutName(text, measure, room);
}

} // namespace

const QString &legendCutMark()
{
    static const QString mark(QChar(0x2026));
    return mark;
}

FittedLegend fitLegend(const QString &text, LegendShape recordShape, const QFont &font,
                       const QSize &room)
{
    const QString whole = text.trimmed();
    const int minPx = hasChinese(whole) ? kMinChineseLegendPx : kMinLegendPx;
    FittedLegend fit;
    fit.pixelSize = qMax(minPx, QFontInfo(font).pixelSize());
    if (whole.isEmpty())
        return fit;

    const LegendShape shape = shapeOf(whole, recordShape);
    const QStringList pieces = piecesOf(whole, shape);
    QFont sized = font;
    // A short text reads best on one line, a little smaller than two.
    const int smallestOneLinePx = qMax(minPx, qRound(fit.pixelSize * kOneLineShrink));
    for (int px = fit.pixelSize; px >= smallestOneLinePx; --px) {
        sized.setPixelSize(px);
        if (!arrange(QStringList{whole}, TextMeasure(sized), room).isEmpty()) {
            fit.lines = QStringList{whole};
            fit.pixelSize = px;
            return fit;
        }
    }
    for (int px = fit.pixelSize; px >= minPx; --px) {
        sized.setPixelSize(px);
        const QStringList lines = arrange(pieces, TextMeasure(sized), room);
        if (!lines.isEmpty()) {
            fit.lines = lines;
            fit.pixelSize = px;
            return fit;
        }
    }
    sized.setPixelSize(minPx);
    fit.lines = cutToFit(whole, shape, TextMeasure(sized), room);
    fit.pixelSize = minPx;
    fit.cut = true;
    return fit;
}
