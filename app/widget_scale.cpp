// Scaling the window with its size; a short debounce keeps a drag from
// restyling the window at every step.

#include "app/widget.h"

void Widget::onResizeTimeout()
{
    if (!m_scalePending)
        return;
    m_scalePending = false;
    m_scaleRatio = m_targetScaleRatio;
}
