#include "widgets/rgbcolorpickerwidget.h"

#include "model/translation.h"
#include "widgets/focusring.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinWidth = 180;
constexpr int kMinHeight = 160;
constexpr int kHintWidth = 220;
constexpr int kHintHeight = 200;

// The area takes the height above the hue bar, but never less than 40 px.
constexpr int kAreaBottomReserve = 46;
constexpr int kMinAreaHeight = 40;
constexpr int kHueBarTopFromBottom = 24;
constexpr int kHueBarHeight = 20;
constexpr double kAreaRadius = 16.0;
constexpr double kHueBarRadius = 12.0;

constexpr int kMarkerPenWidth = 3;
constexpr double kAreaMarkerRadius = 7.0;
constexpr double kHueMarkerRadius = 8.0;
constexpr int kHueStops = 6;

// One key press moves saturation or value by 2 % and the hue by 5 degrees.
constexpr double kShadeStep = 0.02;
constexpr double kHueStep = 5.0 / 360.0;

double clampedFraction(int coordinate, int extent)
{
    return double(std::clamp(coordinate, 0, extent - 1)) / double(extent);
}

// Markers at an edge are drawn just inside it, so they are never cut in half.
QPointF insideEdges(const QPointF &point, const QRect &bounds, double radius)
{
    const double margin = radius + kMarkerPenWidth;
    const auto within = [margin](double at, double low, double high) {
        return low + margin <= high - margin ? std::clamp(at, low + margin, high - margin)
                                             : (low + high) / 2.0;
    };
    return QPointF(within(point.x(), bounds.left(), bounds.right()),
                   within(point.y(), bounds.top(), bounds.bottom()));
}

// A white ring inside a dark one stays visible on light and dark colours.
void drawMarker(QPainter &painter, const QPointF &centre, double radius)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), kMarkerPenWidth + 2));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(Qt::white, kMarkerPenWidth));
    painter.drawEllipse(centre, radius, radius);
}

} // namespace

RgbColorPickerWidget::RgbColorPickerWidget(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(kMinWidth, kMinHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(translateText(QStringLiteral("Color picker")));
    setAccessibleDescription(translateText(QStringLiteral(
        "Left and Right change the saturation, Up and Down the brightness, "
        "Page Up and Page Down the hue")));
}

QSize RgbColorPickerWidget::sizeHint() const
{
    return {kHintWidth, kHintHeight};
}

QSize RgbColorPickerWidget::minimumSizeHint() const
{
    return {kMinWidth, kMinHeight};
}

QRect RgbColorPickerWidget::saturationValueRect() const
{
    return QRect(0, 0, width(), std::max(height() - kAreaBottomReserve, kMinAreaHeight));
}

QRect RgbColorPickerWidget::hueBarRect() const
{
    return QRect(0, height() - kHueBarTopFromBottom, width(), kHueBarHeight);
}

void RgbColorPickerWidget::setColor(const QColor &color)
{
    if (!color.isValid())
        return;
    const QColor hsv = color.toHsv();
    // Greys have no hue; the bar then starts again from red.
    m_hue = hsv.hsvHueF() < 0 ? 0.0 : hsv.hsvHueF();
    m_saturation = hsv.hsvSaturationF();
    m_value = hsv.valueF();
    m_currentColor = QColor::fromHsvF(m_hue, m_saturation, m_value);
    update();
}

void RgbColorPickerWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->pos();
    if (saturationValueRect().contains(pos)) {
        m_draggingSaturationValue = true;
        pickSaturationValue(pos);
    } else if (hueBarRect().contains(pos)) {
        m_draggingHue = true;
        pickHue(pos);
    } else {
        QWidget::mousePressEvent(event);
    }
}

void RgbColorPickerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_draggingHue = false;
    m_draggingSaturationValue = false;
    QWidget::mouseReleaseEvent(event);
}

void RgbColorPickerWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_draggingSaturationValue)
        pickSaturationValue(event->pos());
    else if (m_draggingHue)
        pickHue(event->pos());
    else
        QWidget::mouseMoveEvent(event);
}

void RgbColorPickerWidget::keyPressEvent(QKeyEvent *event)
{
    const auto shade = [](double at, double step) { return std::clamp(at + step, 0.0, 1.0); };
    switch (event->key()) {
    case Qt::Key_Left: m_saturation = shade(m_saturation, -kShadeStep); break;
    case Qt::Key_Right: m_saturation = shade(m_saturation, kShadeStep); break;
    case Qt::Key_Down: m_value = shade(m_value, -kShadeStep); break;
    case Qt::Key_Up: m_value = shade(m_value, kShadeStep); break;
    // The hue goes round: past red at one end it starts again at the other.
    case Qt::Key_PageDown: m_hue = std::fmod(m_hue - kHueStep + 1.0, 1.0); break;
    case Qt::Key_PageUp: m_hue = std::fmod(m_hue + kHueStep, 1.0); break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    updateColor();
}

void RgbColorPickerWidget::pickSaturationValue(const QPoint &pos)
{
    const QRect area = saturationValueRect();
    m_saturation = clampedFraction(pos.x(), area.width());
    m_value = 1.0 - clampedFraction(pos.y(), area.height());
    updateColor();
}

void RgbColorPickerWidget::pickHue(const QPoint &pos)
{
    m_hue = clampedFraction(pos.x(), width());
    updateColor();
}

void RgbColorPickerWidget::updateColor()
{
    m_currentColor = QColor::fromHsvF(m_hue, m_saturation, m_value, 1.0);
    update();
    emit colorChanged(m_currentColor);
}

void RgbColorPickerWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // Saturation grows to the right and value upwards: white to the pure hue
    // across, then black laid over it from the bottom.
    const QRectF area = QRectF(saturationValueRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath areaPath;
    areaPath.addRoundedRect(area, kAreaRadius, kAreaRadius);
    QLinearGradient across(area.topLeft(), area.topRight());
    across.setColorAt(0.0, Qt::white);
    across.setColorAt(1.0, QColor::fromHsvF(m_hue, 1.0, 1.0));
    painter.fillPath(areaPath, across);
    QLinearGradient down(area.topLeft(), area.bottomLeft());
    down.setColorAt(0.0, QColor(0, 0, 0, 0));
    down.setColorAt(1.0, QColor(0, 0, 0, 255));
    painter.fillPath(areaPath, down);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(areaPath);

    const QRectF bar = QRectF(hueBarRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath barPath;
    barPath.addRoundedRect(bar, kHueBarRadius, kHueBarRadius);
    QLinearGradient hues(bar.topLeft(), bar.topRight());
    for (int i = 0; i <= kHueStops; ++i) {
        const double at = double(i) / kHueStops;
        hues.setColorAt(at, QColor::fromHsvF(i == kHueStops ? 0.0 : at, 1.0, 1.0));
    }
    painter.fillPath(barPath, hues);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.drawPath(barPath);

    const QRect areaRect = saturationValueRect();
    drawMarker(painter,
               insideEdges(QPointF(m_saturation * areaRect.width(),
                                   (1.0 - m_value) * areaRect.height()),
                           areaRect, kAreaMarkerRadius),
               kAreaMarkerRadius);
    drawMarker(painter,
               insideEdges(QPointF(m_hue * width(), bar.center().y()), rect(), kHueMarkerRadius),
               kHueMarkerRadius);
    if (hasFocus())
        drawFocusRing(painter, QRectF(areaRect), kAreaRadius);
}
