#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;
class QVBoxLayout;

// Pixel sizes of the macro flow at one scale ratio of the window.
struct MacroBlockMetrics {
    int side = 70;     // blocks are square
    int titlePx = 17;
    int keyPx = 21;
    int delayPx = 15;

    static MacroBlockMetrics forScale(double ratio);

    bool operator==(const MacroBlockMetrics &o) const
    {
        return side == o.side && titlePx == o.titlePx && keyPx == o.keyPx && delayPx == o.delayPx;
    }
    bool operator!=(const MacroBlockMetrics &o) const { return !(*this == o); }
};

// One square block of the macro flow: a coloured title over either the name
// of a key ("Press" / "Release") or an editable delay.
class MacroBlock : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Delay, Press, Release };

    static MacroBlock *createDelayBlock(int delay, const MacroBlockMetrics &metrics,
                                        QWidget *parent);
    static MacroBlock *createKeyBlock(bool press, const QString &keyName,
                                      const MacroBlockMetrics &metrics, QWidget *parent);

    // The look of every block, set once on the flow that holds them.
    static QString flowStyleSheet();

    // Words the title and the delay unit again in the interface's language.
    void retranslate();

    Kind kind() const { return m_kind; }
    // A block is kept and shown again for later macros rather than rebuilt:
    // these give a delay block another delay (without delayChanged) and a
    // key block another key.
    void showDelay(int delay);
    void showKey(bool press, const QString &keyName);
    // The step a delay block edits, for delayChanged's receiver.
    int stepIndex() const { return m_stepIndex; }
    void setStepIndex(int index) { m_stepIndex = index; }
    QLabel *titleLabel() const { return m_title; }
    // The delay editor of a delay block; null for a key block.
    QSpinBox *delaySpin() const { return m_delaySpin; }
    // The key name of a key block; null for a delay block.
    QLabel *keyLabel() const { return m_keyName; }

    // Sizes and fonts for one scale; does nothing when they are already set.
    void applyMetrics(const MacroBlockMetrics &metrics);
    bool hasMetrics(const MacroBlockMetrics &metrics) const
    {
        return m_styled && metrics == m_metrics;
    }

    // Drawn highlighted while its step is selected.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

signals:
    void delayChanged(int delay);
    // The mouse on the block: a button pressed (with the keys held), moved
    // while held, let go; positions are the screen's.
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void dragged(QPoint globalPos);
    void dropped(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    MacroBlock(Kind kind, QWidget *parent);
    int fittedPixelSize(const QString &text, int wantedPx, int inset = 0) const;
    void styleTitle();
    int titlePixelSize() const;
    void styleKeyName();
    void applyWords();

    Kind m_kind;
    int m_stepIndex = 0;
    MacroBlockMetrics m_metrics;
    bool m_styled = false;
    bool m_selected = false;
    QVBoxLayout *m_layout = nullptr;
    QLabel *m_title = nullptr;
    QSpinBox *m_delaySpin = nullptr;
    QLabel *m_keyName = nullptr;
};
