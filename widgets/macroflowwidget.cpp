#include "widgets/macroflowwidget.h"

#include "model/labels.h"
#include "model/macroedits.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>

MacroFlowWidget::MacroFlowWidget(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(MacroBlock::flowStyleSheet());
    // The arrow keys select steps once the flow has the focus.
    setFocusPolicy(Qt::StrongFocus);
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
        if (block->isHidden())
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
    // Both blocks of a pair stand for the step at the pair's place.
    const int stepOfPair = m_made.size() / 2;
    for (MacroBlock *block : {delayBlock, keyBlock}) {
        connect(block, &MacroBlock::pressed, this,
                [this, stepOfPair](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                    onBlockPressed(stepOfPair, button, modifiers);
                });
        connect(block, &MacroBlock::dragged, this, &MacroFlowWidget::onBlockDragged);
        connect(block, &MacroBlock::dropped, this,
                [this, stepOfPair](QPoint globalPos) { onBlockDropped(stepOfPair, globalPos); });
    }
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
    // An edit shows nearly the same steps again: the blocks that stay are
    // given their new texts in place, and only the ones past the new end are
    // hidden, rather than hiding and showing all 128.
    const QVector<int> selected = m_selected;
    const QList<QWidget *> shown = m_blocks;
    m_blocks.clear();
    m_dragging = false;
    for (int i = 0; i < steps.size(); ++i)
        appendStepBlocks(i, steps[i]);
    for (int i = m_blocks.size(); i < shown.size(); ++i)
        shown[i]->hide();
    layoutBlocks();
    setSelectedSteps(selected);
    showSelection();
}

void MacroFlowWidget::clearBlocks()
{
    // Hidden, not deleted: a block may be clearing the flow from inside its
    // own signal, and the next macro shown reuses it.
    for (QWidget *block : qAsConst(m_blocks))
        block->hide();
    m_blocks.clear();
    m_dragging = false;
    showSelection();
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

// ---- selecting and moving steps --------------------------------------------

void MacroFlowWidget::setSelectedSteps(const QVector<int> &steps)
{
    QVector<int> kept;
    for (int step : steps)
        if (step >= 0 && step < stepCount() && !kept.contains(step))
            kept.append(step);
    std::sort(kept.begin(), kept.end());
    const bool changed = kept != m_selected;
    m_selected = kept;
    if (m_current >= stepCount() || (m_current >= 0 && !kept.contains(m_current)))
        m_current = kept.isEmpty() ? -1 : kept.last();
    if (m_current < 0 && !kept.isEmpty())
        m_current = kept.last();
    if (m_anchor < 0 || m_anchor >= stepCount() || kept.isEmpty())
        m_anchor = m_current;
    showSelection();
    if (changed)
        emit selectionChanged();
}

void MacroFlowWidget::showSelection()
{
    for (int i = 0; i < m_made.size(); ++i)
        m_made[i]->setSelected(i < m_blocks.size() && m_selected.contains(i / 2));
}

void MacroFlowWidget::selectStep(int step, bool extend, bool toggle)
{
    if (step < 0 || step >= stepCount())
        return;
    const QVector<int> steps = clickedSelection(m_selected, m_anchor, step, extend, toggle);
    m_current = step;
    setSelectedSteps(steps);
}

void MacroFlowWidget::onBlockPressed(int step, Qt::MouseButton button,
                                     Qt::KeyboardModifiers modifiers)
{
    setFocus(Qt::MouseFocusReason);
    m_dragging = false;
    m_pressPos = QCursor::pos();
    m_pressedSelected = m_selected.contains(step);
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool toggle = modifiers & Qt::ControlModifier;
    // A press on a selected step keeps the selection, so it can be dragged
    // or given the context menu; a plain click selects that step alone when
    // the button is let go.
    if (!m_pressedSelected || extend || toggle)
        selectStep(step, extend, toggle && button == Qt::LeftButton);
}

void MacroFlowWidget::onBlockDragged(QPoint globalPos)
{
    if (m_selected.isEmpty())
        return;
    if (!m_dragging
        && (globalPos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        setCursor(Qt::DragMoveCursor);
    }
}

void MacroFlowWidget::onBlockDropped(int step, QPoint globalPos)
{
    if (m_dragging) {
        m_dragging = false;
        unsetCursor();
        emit moveRequested(dropTarget(mapFromGlobal(globalPos)));
        return;
    }
    if (m_pressedSelected && !(QApplication::keyboardModifiers()
                               & (Qt::ShiftModifier | Qt::ControlModifier)))
        selectStep(step, false, false);
}

int MacroFlowWidget::dropTarget(const QPoint &pos) const
{
    // The step boundary nearest the drop: before the step whose pair the
    // drop is left of the middle of, in the row it falls in.
    int before = stepCount();
    for (int step = 0; step < stepCount(); ++step) {
        const QRect pair = m_blocks[2 * step]->geometry().united(m_blocks[2 * step + 1]->geometry());
        const bool rowAbove = pos.y() < pair.top() - m_spacing;
        const bool sameRow = pos.y() >= pair.top() - m_spacing && pos.y() <= pair.bottom() + m_spacing;
        if (rowAbove || (sameRow && pos.x() < pair.center().x())) {
            before = step;
            break;
        }
    }
    int movedBefore = 0;
    for (int step : m_selected)
        movedBefore += step < before ? 1 : 0;
    return before - movedBefore;
}

void MacroFlowWidget::keyPressEvent(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool plain = !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
    int step = -1;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = m_current < 0 ? 0 : qMax(0, m_current - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = m_current < 0 ? 0 : qMin(stepCount() - 1, m_current + 1);
        break;
    case Qt::Key_Home:
        step = 0;
        break;
    case Qt::Key_End:
        step = stepCount() - 1;
        break;
    case Qt::Key_Menu:
        emit menuRequested(mapToGlobal(m_current >= 0 ? m_blocks[2 * m_current + 1]->geometry().center()
                                                      : rect().center()));
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (!plain || stepCount() == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    selectStep(step, extend, false);
    event->accept();
}

void MacroFlowWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // A right-click on a block has selected its step when it was pressed.
    emit menuRequested(event->globalPos());
    event->accept();
}
