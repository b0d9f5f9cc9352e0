#pragma once

#include "model/keyconfig.h"
#include "widgets/macroblock.h"

#include <QList>
#include <QWidget>

class QTimer;

// The steps of a macro as a wrapping flow of blocks: for each step a delay
// block, then the key it presses or releases. Lives inside a scroll area
// that follows its minimum height.
//
// Steps are selected with the mouse (click, Shift- and Ctrl-click) and the
// arrow keys (Shift extends); selected steps can be dragged to another
// place. The flow only says what the user asked; the page edits the store.
class MacroFlowWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MacroFlowWidget(QWidget *parent = nullptr);

    // Appends the two blocks of step `index`.
    void addStep(int index, const MacroStep &step);
    void setSteps(const QVector<MacroStep> &steps);
    void clearBlocks();

    void setScaleRatio(double ratio);
    // Words the blocks' titles and delay unit again in the interface's language.
    void retranslate();
    int spacing() const { return m_spacing; }

    // The shown blocks in display order: delay, key, delay, key, ...
    const QList<QWidget *> &blocks() const { return m_blocks; }
    int stepCount() const { return m_blocks.size() / 2; }

    // Selected step indices, ascending.
    const QVector<int> &selectedSteps() const { return m_selected; }
    void setSelectedSteps(const QVector<int> &steps);
    // The step the arrow keys move from; -1 without one.
    int currentStep() const { return m_current; }
    // Where dropped selected steps would land for a drop at `pos` (in the
    // flow's coordinates): the index among the steps not moved.
    int dropTarget(const QPoint &pos) const;

signals:
    // The user set the delay of step `index` to `delay` ms.
    void delayEdited(int index, int delay);
    void selectionChanged();
    // The selected steps were dragged to `target` (see dropTarget).
    void moveRequested(int target);
    // The context menu was asked for, by mouse or keyboard, at `globalPos`.
    void menuRequested(QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The single-shot timer of one kind of work done a few pieces per turn.
    QTimer *idleTurnTimer(void (MacroFlowWidget::*turn)());
    void appendStepBlocks(int index, const MacroStep &step);
    void makePair(const MacroStep &step);
    void makeSparePairsLater();
    void makeSparePairs();
    void layoutBlocks();
    void restyleSeenBlocks();
    void restyleSomeBlocks();
    void onBlockPressed(int step, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void onBlockDragged(QPoint globalPos);
    void onBlockDropped(int step, QPoint globalPos);
    // Selects `step`; with `extend` everything from the anchor to it.
    void selectStep(int step, bool extend, bool toggle);
    void showSelection();

    QList<QWidget *> m_blocks;
    // Every block made so far, in pairs (delay, key) by position; blocks past
    // the shown ones are hidden and wait for a longer macro, so selecting
    // another key changes texts instead of building 128 widgets anew.
    QList<MacroBlock *> m_made;
    bool m_spareStarted = false;
    QTimer *m_spareTimer = nullptr;
    QTimer *m_restyleTimer = nullptr;
    QVector<int> m_selected;
    int m_current = -1;
    int m_anchor = -1;
    QPoint m_pressPos;
    bool m_dragging = false;
    bool m_pressedSelected = false;
    int m_spacing = 6;
    MacroBlockMetrics m_metrics;
};
