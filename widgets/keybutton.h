#pragma once

#include <QColor>
#include <QPushButton>

// One physical key of the panel picture. It paints itself as a rounded face
// that grows by a few pixels under the pointer, shows the end of its legend,
// and while the lighting page is shown takes the colour of its LED.
class KeyButton : public QPushButton
{
    Q_OBJECT
public:
    explicit KeyButton(QWidget *parent = nullptr);

    // Scale factor of the window; the side becomes round(base side x scale).
    void setScale(double scale);
    double scale() const { return m_scale; }

    // Side at scale 1 (the layout's key size).
    void setButtonBaseSize(int side);
    int buttonBaseSize() const { return m_baseSize; }

    // Side at the current scale, without the hover growth.
    int buttonSize() const { return m_size; }

    bool isHovered() const { return m_hovered; }
    int fontPointSize() const { return m_fontPointSize; }

    // The font the legend is painted in.
    QFont paintedLegendFont() const;

    void setAssigned(bool assigned);
    bool isAssigned() const { return m_assigned; }
    // Changed but not yet saved to the keypad: drawn with a mark of its own.
    void setUnsaved(bool unsaved);
    bool isUnsaved() const { return m_unsaved; }

    // The key's whole function text; the key shows it as its tooltip while
    // its legend shows less than all of it (see legendToolTip).
    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    void setSwatch(const QColor &color);
    void clearSwatch();
    bool swatchOn() const { return m_swatchOn; }
    QColor swatchColor() const { return m_swatchColor; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applySize();
    void centreInCell();
    bool deliverForcedClick(int index);
    int cornerRadius() const;
    void updateLegendToolTip();

    bool m_hovered = false;
    double m_scale = 1.0;
    int m_baseSize = 80;
    int m_size = 80;
    int m_fontPointSize = 10;
    bool m_assigned = false;
    bool m_unsaved = false;
    int m_minRadius = 8;
    bool m_swatchOn = false;
    QColor m_swatchColor;
    QString m_fullText;
};
