#include "widgets/macroflowwidget.h"

#include "model/labels.h"

#include <QMoveEvent>
#include <QResizeEvent>
#include <QTimer>

MacroFlowWidget::MacroFlowWidget(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(MacroBlock::flowStyleSheet());
    m_spareTimer = idleTurnTimer(&MacroFlowWidget::makeSparePairs);
    m_restyleTimer = idleTurnTimer(&MacroFlowWidget::restyleSomeBlocks);
}

QTimer *MacroFlowWidget::idleTurnTimer(void (MacroFlowWidget::*turn)())
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, turn);
    return timer;
}

void MacroFlowWidget::addStep(int index, const MacroStep &step)
{
    appendStepBlocks(index, step);
    layoutBlocks();
}

void MacroFlowWidget::appendStepBlocks(int index, const MacroStep &step)
{
    const int position = m_blocks.size();
    if (position == m_made.size())
        makePair(step);
    MacroBlock *delayBlock = m_made[position];
    MacroBlock *keyBlock = m_made[position + 1];
    delayBlock->setStepIndex(index);
    delayBlock->showDelay(step.delay);
    keyBlock->showKey(step.action == 0, keyLabel(step.keycode));
    for (MacroBlock *block : {delayBlock, keyBlock}) {
        block->applyMetrics(m_metrics);
        m_blocks.append(block);
        block->show();
    }
}

void MacroFlowWidget::makePair(const MacroStep &step)
{
    MacroBlock *delayBlock =
        MacroBlock::createDelayBlock(step.delay, m_metrics, this);
    connect(delayBlock, &MacroBlock::delayChanged, this, [this, delayBlock](int delay) {
        emit delayEdited(delayBlock->stepIndex(), delay);
    });
    MacroBlock *keyBlock = MacroBlock::createKeyBlock(step.action == 0, keyLabel(step.keycode),
                                                      m_metrics, this);
    delayBlock->hide();
    keyBlock->hide();
    m_made << delayBlock << keyBlock;
}

// Building the 128 blocks of a full macro at once holds the window up for
// about two frames, so once the flow is first shown the blocks are made a few
// at a time while the program is idle. A macro shown before they are all
// there makes the rest itself. The turns run from a timer of the flow's own:
// Qt 5 posts a zero single shot as a queued call, and a chain of those kept
// the program's other timers waiting two turns at a time.
void MacroFlowWidget::makeSparePairsLater()
{
    m_spareTimer->start(0);
}

void MacroFlowWidget::makeSparePairs()
{
    constexpr int kPairsPerTurn = 8;
    for (int i = 0; i < kPairsPerTurn && m_made.size() < 2 * kMaxMacroSteps; ++i)
        makePair(MacroStep());
    if (m_made.size() < 2 * kMaxMacroSteps)
        makeSparePairsLater();
}

void MacroFlowWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_spareStarted) {
        m_spareStarted = true;
        makeSparePairsLater();
    }
    // A page shown right after a rescale shows its blocks in their new size.
    restyleSeenBlocks();
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
    // Hidden, not deleted: a block may be clearing the flow from inside its
    // own signal, and the next macro shown reuses it.
    for (QWidget *block : qAsConst(m_blocks))
        block->hide();
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
    // Restyling all 128 blocks of a long macro at once took 2.5-3.6 ms. Every
    // block takes its new size now, so the flow lays out as it will stay, but
    // only the blocks in sight get their new fonts at once; the others get
    // them a few at a time while the program is idle, or as soon as the flow
    // is shown, moves or resizes and may bring them into sight. On a hidden
    // page no block is in sight.
    for (QWidget *block : qAsConst(m_blocks))
        block->setFixedSize(m_metrics.side, m_metrics.side);
    layoutBlocks();
    restyleSeenBlocks();
    m_restyleTimer->start(0);
}

void MacroFlowWidget::restyleSeenBlocks()
{
    const QRect seen = visibleRegion().boundingRect();
    for (QWidget *block : qAsConst(m_blocks)) {
        if (block->geometry().intersects(seen))
            static_cast<MacroBlock *>(block)->applyMetrics(m_metrics);
    }
}

void MacroFlowWidget::restyleSomeBlocks()
{
    constexpr int kBlocksPerTurn = 16;
    int restyled = 0;
    for (QWidget *widget : qAsConst(m_blocks)) {
        auto *block = static_cast<MacroBlock *>(widget);
        if (block->hasMetrics(m_metrics))
            continue;
        if (restyled == kBlocksPerTurn) {
            m_restyleTimer->start(0);
            return;
        }
        block->applyMetrics(m_metrics);
        ++restyled;
    }
}

void MacroFlowWidget::retranslate()
{
    // A block restyles itself at the scale it last had: the shown ones
    // still waiting for the idle turns take the flow's first.
    for (QWidget *block : qAsConst(m_blocks))
        static_cast<MacroBlock *>(block)->applyMetrics(m_metrics);
    for (MacroBlock *block : qAsConst(m_made))
        block->retranslate();
    layoutBlocks();
}

void MacroFlowWidget::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    restyleSeenBlocks();
}

void MacroFlowWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBlocks();
    restyleSeenBlocks();
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
