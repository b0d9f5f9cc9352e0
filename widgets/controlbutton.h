#pragma once

#include <QColor>
#include <QPushButton>
#include <QString>

// A control of the panel picture: a key, or one part of a knob. Each shows
// the end of its legend, its whole function text as tooltip while the legend
// cuts it, whether it holds a function and whether that waits for a save.
class ControlButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ControlButton(QWidget *parent = nullptr);

    // Side at the current scale (a key's without its hover growth).
    int buttonSize() const { return m_size; }
    int fontPointSize() const { return m_fontPointSize; }
    bool isHovered() const { return m_hovered; }

    void setAssigned(bool assigned);
    bool isAssigned() const { return m_assigned; }
    // Changed but not yet saved to the keypad: drawn with a mark of its own.
    void setUnsaved(bool unsaved);
    bool isUnsaved() const { return m_unsaved; }

    // The control's whole function text; shown as its tooltip while the
    // legend shows less than all of it (see legendToolTip).
    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    // The font the legend is painted in.
    virtual QFont paintedLegendFont() const = 0;

protected:
    bool event(QEvent *event) override;
    void updateLegendToolTip();
    // False while the control stands for something else than its function
    // (a key showing its LED colour).
    virtual bool legendShowsFunction() const { return true; }
    // Checked, assigned or empty.
    QColor legendColor() const;

    int m_size = 80;
    int m_fontPointSize = 10;
    bool m_hovered = false;

private:
    bool m_assigned = false;
    bool m_unsaved = false;
    QString m_fullText;
};
