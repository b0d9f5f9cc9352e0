#pragma once

#include "model/qtcompat.h"
#include "widgets/controlbutton.h"

#include <QColor>

// One physical key of the panel picture. It paints itself as a rounded face
// that grows by a few pixels under the pointer, shows its fitted legend,
// and while the lighting page is shown takes the colour of its LED.
class KeyButton : public ControlButton
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

    QFont legendBaseFont() const override;

    // The corner the legend keeps clear of (the key's number drawn over the
    // key), in the key's coordinates without hover growth.
    void setLegendCorner(const QRect &corner);
    QRect legendCorner() const { return m_legendCorner; }

    void setSwatch(const QColor &color);
    void clearSwatch();
    bool swatchOn() const { return m_swatchOn; }
    QColor swatchColor() const { return m_swatchColor; }

protected:
    bool legendShowsFunction() const override { return !m_swatchOn; }
    QRect legendRoom() const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(WidgetEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applySize();
    void centreInCell();
    int cornerRadius() const;
    QRect legendFace() const;
    QRectF legendArea(const QSizeF &block) const;

    double m_scale = 1.0;
    int m_baseSize = 80;
    int m_minRadius = 8;
    bool m_swatchOn = false;
    QColor m_swatchColor;
    QRect m_legendCorner;
};
