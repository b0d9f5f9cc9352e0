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

    static MacroBlock *createDelayBlock(int delay, const MacroBlockMetrics &metrics, QWidget *parent);
    static MacroBlock *createKeyBlock(bool press, const QString &keyName,
                                      const MacroBlockMetrics &metrics, QWidget *parent);

    Kind kind() const { return m_kind; }
    QLabel *titleLabel() const { return m_title; }
    // The delay editor of a delay block; null for a key block.
    QSpinBox *delaySpin() const { return m_delaySpin; }
    // The key name of a key block; null for a delay block.
    QLabel *keyLabel() const { return m_keyName; }

    void applyMetrics(const MacroBlockMetrics &metrics);

signals:
    void delayChanged(int delay);

private:
    MacroBlock(Kind kind, QWidget *parent);
    int fittedPixelSize(const QString &text, int wantedPx, int inset = 0) const;

    Kind m_kind;
    QVBoxLayout *m_layout = nullptr;
    QLabel *m_title = nullptr;
    QSpinBox *m_delaySpin = nullptr;
    QLabel *m_keyName = nullptr;
};
