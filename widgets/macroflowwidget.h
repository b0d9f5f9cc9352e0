#pragma once

#include "model/keyconfig.h"
#include "widgets/macroblock.h"

#include <QList>
#include <QWidget>

class QTimer;

// The steps of a macro as a wrapping flow of blocks: for each step a delay
// block, then the key it presses or releases. Lives inside a scroll area
// that follows its minimum height.
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

signals:
    // The user set the delay of step `index` to `delay` ms.
    void delayEdited(int index, int delay);

protected:
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

    QList<QWidget *> m_blocks;
    // Every block made so far, in pairs (delay, key) by position; blocks past
    // the shown ones are hidden and wait for a longer macro, so selecting
    // another key changes texts instead of building 128 widgets anew.
    QList<MacroBlock *> m_made;
    bool m_spareStarted = false;
    QTimer *m_spareTimer = nullptr;
    QTimer *m_restyleTimer = nullptr;
    int m_spacing = 6;
    MacroBlockMetrics m_metrics;
};
