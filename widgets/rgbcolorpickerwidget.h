#pragma once

#include <QColor>
#include <QWidget>

// Hue, saturation and value picker of the lighting page: a saturation/value
// area on top and a hue bar below it. Dragging either emits colorChanged;
// setColor (a key or LED segment was selected) moves the markers silently.
// From the keyboard: Left and Right change the saturation, Up and Down the
// value, Page Up and Page Down the hue, each press by one step.
class RgbColorPickerWidget : public QWidget
{
    Q_OBJECT
public:
    explicit RgbColorPickerWidget(QWidget *parent = nullptr);

    QColor color() const { return m_currentColor; }
    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    double value() const { return m_value; }

    // Takes a colour chosen elsewhere; invalid colours are ignored. Emits
    // nothing, so showing a key's colour never writes it back.
    void setColor(const QColor &color);

    // Where the two parts lie for the current size.
    QRect saturationValueRect() const;
    QRect hueBarRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colorChanged(QColor color);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void pickSaturationValue(const QPoint &pos);
    void pickHue(const QPoint &pos);
    void updateColor();

    double m_hue = 0.0;
    double m_saturation = 1.0;
    double m_value = 1.0;
    QColor m_currentColor = QColor::fromHsvF(0.0, 1.0, 1.0);
    bool m_draggingHue = false;
    bool m_draggingSaturationValue = false;
};
