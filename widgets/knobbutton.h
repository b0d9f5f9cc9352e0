#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QString>

// One part of a knob on the panel picture: turn left, turn right or press
// (and, on the single-knob pad, press and turn). It paints its picture,
// a ring while checked, and the end of its legend on top.
class KnobButton : public QPushButton
{
    Q_OBJECT
public:
    explicit KnobButton(const QString &imagePath, const QString &text, QWidget *parent = nullptr);

    void setButtonSize(int side);
    int buttonSize() const { return m_size; }

    // Legend size at a side of 80 pixels; it grows with the side.
    void setFontPointSize(int points);
    int fontPointSize() const { return m_fontPointSize; }
    int scaledFontPointSize() const;

    // The knob part's whole function text; shown as its tooltip while the
    // legend shows less than all of it (see legendToolTip).
    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    // The font the legend is painted in.
    QFont paintedLegendFont() const;

    void setAssigned(bool assigned);
    bool isAssigned() const { return m_assigned; }
    // Changed but not yet saved to the keypad: drawn with a mark of its own.
    void setUnsaved(bool unsaved);
    bool isUnsaved() const { return m_unsaved; }
    bool isHovered() const { return m_hovered; }

    QString imagePath() const { return m_imagePath; }
    QPixmap picture() const { return m_picture; }
    // The picture at the button's side, scaled when first asked for: the
    // window places every knob part at each rescale, shown or not. It holds
    // the screen's device pixels (devicePixelRatio of the button), so the
    // picture stays sharp on a scaled screen.
    QPixmap scaledPicture() const;

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void logMouse(const char *what, const QMouseEvent *event) const;
    void updateLegendToolTip();

    QPixmap m_picture;
    mutable QPixmap m_scaledPicture;
    mutable int m_scaledPictureSide = -1;
    mutable qreal m_scaledPictureRatio = 0;
    QString m_imagePath;
    int m_size = 80;
    int m_fontPointSize = 10;
    bool m_hovered = false;
    bool m_assigned = false;
    bool m_unsaved = false;
    QString m_fullText;
};
