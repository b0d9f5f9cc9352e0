#pragma once

#include <QColor>
#include <QList>
#include <QWidget>
#include <array>

class QPushButton;

constexpr int kKnobLedCount = 4;

// The four LEDs around the knob of the single-knob pad, drawn as arcs of a
// ring with one button per LED inside it. A click makes that LED the target
// of the colour picker.
class KnobLedRing : public QWidget
{
    Q_OBJECT
public:
    explicit KnobLedRing(QWidget *parent = nullptr);

    void setColors(const std::array<QColor, kKnobLedCount> &colors);
    void setTarget(int led);
    int target() const { return m_target; }
    void setScale(double scale);

    QList<QPushButton *> segmentButtons() const { return m_segments; }

    // Text colour readable on `background`: white on dark, near-black on light.
    static QString segmentTextColor(const QColor &background);

    QSize sizeHint() const override;

signals:
    void segmentClicked(int led);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void restyle();
    void placeSegments();

    QList<QPushButton *> m_segments;
    std::array<QColor, kKnobLedCount> m_colors;
    int m_target = 0;
    double m_scale = 1.0;
};
