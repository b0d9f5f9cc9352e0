#include "widgets/macroflowwidget.h"

#include "model/labels.h"

#include <QResizeEvent>

MacroFlowWidget::MacroFlowWidget(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("background-color: #2a2a2a;"));
}

void MacroFlowWidget::addStep(int index, const MacroStep &step)
{
    appendStepBlocks(index, step);
    layoutBlocks();
}

void MacroFlowWidget::appendStepBlocks(int index, const MacroStep &step)
{
    MacroBlock *delayBlock = MacroBlock::createDelayBlock(step.delay, m_metrics, this);
    connect(delayBlock, &MacroBlock::delayChanged, this,
            [this, index](int delay) { emit delayEdited(index, delay); });
    MacroBlock *keyBlock =
        MacroBlock::createKeyBlock(step.action == 0, keyLabel(step.keycode), m_metrics, this);

    for (MacroBlock *block : {delayBlock, keyBlock}) {
        m_blocks.append(block);
        block->show();
    }
}

void MacroFlowWidget::setSteps(const QVector<MacroStep> &steps)
{
    clearBlocks();
    for (int i = 0; i < steps.size(); ++i)
        appendStepBlocks(i, steps[i]);
    layoutBlocks();
}

void MacroFlowWidget::clearBlocks()
{
    // Later: a block may be clearing the flow from inside its own signal.
    for (QWidget *block : qAsConst(m_blocks)) {
        block->hide();
        block->deleteLater();
    }
    m_blocks.clear();
    setMinimumHeight(0);
}

void MacroFlowWidget::setScaleRatio(double ratio)
{
    // A window drag passes many ratios that give the same pixel sizes;
    // restyling a long macro for each of them would make the drag stutter.
    const MacroBlockMetrics metrics = MacroBlockMetrics::forScale(ratio);
    if (metrics == m_metrics)
        return;
    m_metrics = metrics;
    for (QWidget *block : qAsConst(m_blocks))
        static_cast<MacroBlock *>(block)->applyMetrics(m_metrics);
    layoutBlocks();
}

void MacroFlowWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBlocks();
}

// Left to right, wrapping to a new row when a block would pass the right
// edge; the minimum height makes the scroll area show every row.
void MacroFlowWidget::layoutBlocks()
{
    const int m = m_spacing;
    int x = m;
    int y = m;
    int rowHeight = 0;
    for (QWidget *block : qAsConst(m_blocks)) {
        QSize size = block->size();
        if (size.isEmpty())
            size = block->sizeHint();
        if (x + size.width() + m > width() && x > m) {
            y += m + rowHeight;
            rowHeight = 0;
            x = m;
        }
        block->move(x, y);
        rowHeight = qMax(rowHeight, size.height());
        x += size.width() + m;
    }
    setMinimumHeight(m + rowHeight + y);
}
