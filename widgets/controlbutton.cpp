#include "widgets/controlbutton.h"

#include "widgets/buttonlegend.h"

#include <QEvent>

namespace {

const QColor kCheckedText(255, 215, 0);
const QColor kUnassignedText(150, 150, 150);

} // namespace

ControlButton::ControlButton(QWidget *parent)
    : QPushButton(parent)
{
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

void ControlButton::setFullText(const QString &text)
{
    m_fullText = text;
    updateLegendToolTip();
}

void ControlButton::updateLegendToolTip()
{
    const QString tip = legendShowsFunction()
        ? legendToolTip(text(), m_fullText, m_size, paintedLegendFont(), m_size)
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
