#include "pages/knobledring.h"

#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "widgets/stylesheetupdate.h"

#include <QPainter>
#include <QPushButton>
#include <QVariant>
#include <QtMath>
#include <cmath>

namespace {

// Each LED lights one arc of the ring: degrees clockwise from the top, and
// the ring's radius, at scale 1.
struct Arc {
    int from;
    int to;
};
constexpr std::array<Arc, kKnobLedCount> kArcs{{{0, 69}, {92, 161}, {184, 253}, {276, 345}}};
constexpr int kRingRadius = 109;
constexpr int kRingPen = 16;
constexpr int kSideMargin = 14;
constexpr int kButtonRadiusFraction = 55; // percent of the ring radius
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 38;

constexpr int kBorderPx = 2;
constexpr int kCheckedBorderPx = 4;
constexpr int kCornerPx = 8;
constexpr int kFontPx = 15;
constexpr int kLightBackgroundLuminance = 150;

int scaled(int value, double scale)
{
    return int(std::lround(value * scale));
}

QPointF pointAt(const QPointF &centre, double radius, double degreesFromTop)
{
    const double radians = qDegreesToRadians(degreesFromTop);
    return centre + QPointF(radius * std::sin(radians), -radius * std::cos(radians));
}

} // namespace

KnobLedRing::KnobLedRing(QWidget *parent)
    : QWidget(parent)
{
    m_colors.fill(QColor(255, 255, 0));
    for (int led = 0; led < kKnobLedCount; ++led) {
        auto *button = new QPushButton(QStringLiteral("LED%1").arg(led + 1), this);
        button->setCheckable(true);
        button->setProperty("ledIndex", led);
        connect(button, &QPushButton::clicked, this, [this, led] { emit segmentClicked(led); });
        m_segments << button;
    }
    setMinimumSize(sizeHint());
    restyle();
}

QSize KnobLedRing::sizeHint() const
{
    const int side = 2 * (scaled(kRingRadius, m_scale) + scaled(kRingPen, m_scale) + kSideMargin);
    return {side, side};
}

void KnobLedRing::setColors(const std::array<QColor, kKnobLedCount> &colors)
{
    m_colors = colors;
    restyle();
    update();
}

void KnobLedRing::setTarget(int led)
{
    if (led < 0 || led >= kKnobLedCount)
        return;
    m_target = led;
    restyle();
    update();
}

void KnobLedRing::setScale(double scale)
{
    m_scale = scale;
    setMinimumSize(sizeHint());
    restyle();
    placeSegments();
    updateGeometry();
    update();
}

QString KnobLedRing::segmentTextColor(const QColor &background)
{
    const long luminance = std::lround(0.299 * background.red() + 0.587 * background.green()
                                       + 0.114 * background.blue());
    return luminance >= kLightBackgroundLuminance ? QStringLiteral("#181818")
                                                  : QStringLiteral("#ffffff");
}

void KnobLedRing::restyle()
{
    for (int led = 0; led < kKnobLedCount; ++led) {
        QPushButton *button = m_segments.at(led);
        const QColor &color = m_colors[size_t(led)];
        button->setChecked(led == m_target);
        setStyleSheetIfChanged(
            button,
            QStringLiteral("QPushButton { background-color:%1; color:%2; border:%3px solid %4;"
                           " border-radius:%5px; font-size:%6px; font-weight:bold; }"
                           "QPushButton:checked { border:%7px solid %8; }")
                .arg(color.name(), segmentTextColor(color))
                .arg(kBorderPx)
                .arg(QStringLiteral("#202020"))
                .arg(kCornerPx)
                .arg(scaledFontPixels(kFontPx, m_scale))
                .arg(kCheckedBorderPx)
                .arg(QStringLiteral("#ffffff"))
            + contrastFocusRingRule(color));
    }
}

void KnobLedRing::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSegments();
}

void KnobLedRing::placeSegments()
{
    const QPointF centre = QRectF(rect()).center();
    const double radius = scaled(kRingRadius, m_scale) * kButtonRadiusFraction / 100.0;
    const QSize size(scaled(kButtonWidth, m_scale), scaled(kButtonHeight, m_scale));
    for (int led = 0; led < kKnobLedCount; ++led) {
        const Arc &arc = kArcs[size_t(led)];
        const QPointF at = pointAt(centre, radius, (arc.from + arc.to) / 2.0);
        m_segments.at(led)->setGeometry(int(at.x() - size.width() / 2.0),
                                        int(at.y() - size.height() / 2.0), size.width(),
                                        size.height());
    }
}

void KnobLedRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const double radius = scaled(kRingRadius, m_scale);
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);

    // The knob itself, then each LED's arc in its colour; the target arc
    // gets a white edge like its button.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x26, 0x26, 0x26));
    painter.drawEllipse(ring.adjusted(radius * 0.12, radius * 0.12, -radius * 0.12,
                                      -radius * 0.12));
    const int pen = scaled(kRingPen, m_scale);
    for (int led = 0; led < kKnobLedCount; ++led) {
        const Arc &arc = kArcs[size_t(led)];
        // Qt counts angles anticlockwise from three o'clock, in 1/16 degree.
        const int start = (90 - arc.from) * 16;
        const int span = -(arc.to - arc.from) * 16;
        if (led == m_target) {
            painter.setPen(QPen(Qt::white, pen + 6, Qt::SolidLine, Qt::RoundCap));
            painter.drawArc(ring, start, span);
        }
        painter.setPen(QPen(m_colors[size_t(led)], pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(ring, start, span);
    }
}
