#pragma once

#include "model/qtcompat.h"
#include "widgets/controlbutton.h"

#include <QPixmap>
#include <QString>

class QPainter;

// One part of a knob on the panel picture: turn left, turn right or press
// (and, on the single-knob pad, press and turn). It paints its picture,
// a ring while checked, and its fitted legend on a dark backing on top.
class KnobButton : public ControlButton
{
    Q_OBJECT
public:
    explicit KnobButton(const QString &imagePath, const QString &text, QWidget *parent = nullptr);

    void setButtonSize(int side);

    // Legend size at a side of 80 pixels; it grows with the side.
    void setFontPointSize(int points);
    int scaledFontPointSize() const;

    QFont legendBaseFont() const override;

    QString imagePath() const { return m_imagePath; }
    QPixmap picture() const { return m_picture; }
    // The picture at the button's side, scaled when first asked for: the
    // window places every knob part at each rescale, shown or not. It holds
    // the screen's device pixels (devicePixelRatio of the button), so the
    // picture stays sharp on a scaled screen.
    QPixmap scaledPicture() const;

protected:
    QRect legendRoom() const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(WidgetEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void logMouse(const char *what, const QMouseEvent *event) const;
    void drawLegendOnBacking(QPainter &painter) const;

    QPixmap m_picture;
    mutable QPixmap m_scaledPicture;
    mutable int m_scaledPictureSide = -1;
    mutable qreal m_scaledPictureRatio = 0;
    QString m_imagePath;
};
