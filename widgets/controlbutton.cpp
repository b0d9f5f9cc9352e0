#include "widgets/controlbutton.h"

#include <QVariant>

#include "widgets/buttonlegend.h"

#include <QCache>
#include <QEvent>
#include <QFontMetricsF>

namespace {

const QColor kCheckedText(255, 215, 0);
const QColor kUnassignedText(150, 150, 150);
// What the window's short texts end in when they were cut to a few characters.
const QString kShortenedMark = QStringLiteral("...");
constexpr int kSharedFits = 2000;

// Fits shared by every control: the keys of a pad share their size, and a
// window going back and forth between sizes asks for the same fits again.
FittedLegend sharedFit(const QString &text, LegendShape shape, const QFont &font,
                       const QSize &room)
{
    static QCache<QString, FittedLegend> fits(kSharedFits);
    const QString key = QStringLiteral("%1|%2x%3|%4|%5")
                            .arg(font.key()).arg(room.width()).arg(room.height())
                            .arg(int(shape)).arg(text);
    if (const FittedLegend *fit = fits.object(key))
        return *fit;
    auto *fit = new FittedLegend(fitLegend(text, shape, font, room));
    const FittedLegend result = *fit;
    fits.insert(key, fit);
    return result;
}

} // namespace

ControlButton::ControlButton(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, [this] { emit placeClicked(m_place); });
}

void ControlButton::setPlace(int place)
{
    m_place = place;
    setProperty("buttonIndex", place);
}

void ControlButton::setAssigned(bool assigned)
{
    if (m_assigned == assigned)
        return;
    m_assigned = assigned;
    update();
}

void ControlButton::setUnsaved(bool unsaved)
{
    if (m_unsaved == unsaved)
        return;
    m_unsaved = unsaved;
    update();
}

void ControlButton::setLegendShape(LegendShape shape)
{
    if (m_legendShape == shape)
        return;
    m_legendShape = shape;
    update();
}

void ControlButton::setFullText(const QString &text)
{
    m_fullText = text;
    updateLegendToolTip();
}

QString ControlButton::legendText() const
{
    // A short text cut to its first characters may end inside a key name
    // ("LCtrl + LS..."); the legend fits the whole function itself.
    if (text().endsWith(kShortenedMark) && !m_fullText.isEmpty())
        return plainFunctionText(m_fullText);
    return text();
}

const ControlButton::PaintedLegend &ControlButton::paintedLegend() const
{
    const QString text = legendText();
    const QFont font = legendBaseFont();
    const QSize room = legendRoom().size();
    LegendCache &cache = m_legendCache;
    if (!cache.valid || cache.text != text || cache.shape != m_legendShape || cache.room != room
        || cache.font != font) {
        cache.text = text;
        cache.shape = m_legendShape;
        cache.font = font;
        cache.room = room;
        PaintedLegend &painted = cache.painted;
        painted.fit = sharedFit(text, m_legendShape, font, room);
        painted.font = font;
        painted.font.setPixelSize(painted.fit.pixelSize);
        painted.block = legendBlockSize(QFontMetricsF(painted.font), painted.fit.lines);
        cache.valid = true;
    }
    return cache.painted;
}

void ControlButton::updateLegendToolTip()
{
    const QString tip = legendShowsFunction()
        ? legendToolTip(text(), m_fullText, legendText(), fittedLegend().cut)
        : QString();
    if (tip != toolTip())
        setToolTip(tip);
}

bool ControlButton::event(QEvent *event)
{
    // The window sets the text before or after the full text, so the tooltip
    // is checked once more when it is about to show.
    if (event->type() == QEvent::ToolTip)
        updateLegendToolTip();
    return QPushButton::event(event);
}

QColor ControlButton::legendColor() const
{
    if (isChecked())
        return kCheckedText;
    return m_assigned ? QColor(Qt::white) : kUnassignedText;
}
