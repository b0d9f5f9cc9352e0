#include "widgets/knobbutton.h"

#include "model/logging.h"
#include "widgets/buttonlegend.h"
#include "widgets/focusring.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

namespace {

constexpr int kDesignSide = 80;
// The picture leaves a margin for the selection ring.
constexpr double kPictureShare = 0.85;
const QColor kHoverDisc(255, 255, 255, 40);
// The legend sits on a dark backing so it reads over the picture's lines.
const QColor kLegendBacking(24, 24, 24, 200);
constexpr double kBackingMarginShare = 0.2; // of the legend's pixel size
constexpr int kMinBackingMargin = 2;
constexpr int kLegendPad = 1;

int backingMargin(int pixelSize)
{
    return qMax(kMinBackingMargin, qRound(pixelSize * kBackingMarginShare));
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

KnobButton::KnobButton(const QString &imagePath, const QString &text, QWidget *parent)
    : ControlButton(parent)
    , m_imagePath(imagePath)
{
    setCheckable(true);
    setFlat(true);
    setText(text);
    if (!m_imagePath.isEmpty() && !m_picture.load(m_imagePath)) {
        m_picture = QPixmap();
        qCWarning(lcUi).noquote() << "Failed to load image:" << m_imagePath;
    }
    setFixedSize(m_size, m_size);
    setMouseTracking(true);
}

void KnobButton::setButtonSize(int side)
{
    side = qMax(0, side);
    // Also gives back its size to a press part that a two-part knob hid.
    setFixedSize(side, side);
    if (side == m_size)
        return;
    m_size = side;
    updateLegendToolTip();
    update();
}

QRect KnobButton::legendRoom() const
{
    // The backing needs its margin inside the part too; the fit does not
    // know it, so the smallest margin is taken off the room.
    return insetSquare(kLegendPad + kMinBackingMargin);
}

QFont KnobButton::legendBaseFont() const
{
    return legendFont(font(), scaledFontPointSize(), logicalDpiY());
}

QPixmap KnobButton::scaledPicture() const
{
    const int side = qRound(m_size * kPictureShare);
    const qreal ratio = devicePixelRatioF();
    if (side == m_scaledPictureSide && ratio == m_scaledPictureRatio)
        return m_scaledPicture;
    m_scaledPictureSide = side;
    m_scaledPictureRatio = ratio;
    m_scaledPicture = QPixmap();
    if (m_picture.isNull() || side < 1)
        return m_scaledPicture;
    // Knobs share their pictures, and a window going back and forth between
    // two sizes asks for the same few sides again.
    const QString key =
        QStringLiteral("zentrik-knob/%1/%2@%3").arg(m_imagePath).arg(side).arg(ratio);
    if (!QPixmapCache::find(key, &m_scaledPicture)) {
        const int deviceSide = qRound(side * ratio);
        m_scaledPicture = m_picture.scaled(deviceSide, deviceSide, Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation);
        m_scaledPicture.setDevicePixelRatio(ratio);
        QPixmapCache::insert(key, m_scaledPicture);
    }
    return m_scaledPicture;
}

void KnobButton::setFontPointSize(int points)
{
    points = qMax(1, points);
    if (m_fontPointSize == points)
        return;
    m_fontPointSize = points;
    updateLegendToolTip();
    update();
}

int KnobButton::scaledFontPointSize() const
{
    return qMax(1, qRound(double(m_size) / kDesignSide * m_fontPointSize));
}

void KnobButton::logMouse(const char *what, const QMouseEvent *event) const
{
    qCDebug(lcUi).noquote() << what << "KnobButton" << this << "text" << text() << "enabled"
                            << boolText(isEnabled()) << "visible" << boolText(isVisible())
                            << "pos" << event->pos();
}

void KnobButton::mousePressEvent(QMouseEvent *event)
{
    logMouse("[UI][mousePress]", event);
    QPushButton::mousePressEvent(event);
}

void KnobButton::mouseReleaseEvent(QMouseEvent *event)
{
    logMouse("[UI][mouseRelease]", event);
    QPushButton::mouseReleaseEvent(event);
}

void KnobButton::enterEvent(WidgetEnterEvent *event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void KnobButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void KnobButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);

    if (isChecked()) {
        drawSelectionEllipse(painter, QRectF(rect()));
    } else if (m_hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kHoverDisc);
        painter.drawEllipse(QRectF(rect()));
    }

    const QPixmap picture = scaledPicture();
    if (!picture.isNull()) {
        // Whole logical pixels: a picture placed on half a pixel is smeared.
        const QSize shown = (QSizeF(picture.size()) / picture.devicePixelRatio()).toSize();
        painter.drawPixmap(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                           picture);
    }

    drawLegendOnBacking(painter);
    if (hasFocus())
        drawFocusEllipse(painter, QRectF(rect()));
    // A cleared part has no legend but may still wait for a save.
    if (isUnsaved())
        drawUnsavedMark(painter, rect());
}

void KnobButton::drawLegendOnBacking(QPainter &painter) const
{
    const PaintedLegend &legend = paintedLegend();
    if (legend.fit.lines.isEmpty())
        return;
    painter.setFont(legend.font);
    const int margin = backingMargin(legend.fit.pixelSize);
    QRectF backing(QPointF(), legend.block + QSizeF(2 * margin, margin));
    backing.moveCenter(QRectF(rect()).center());
    backing &= QRectF(rect()).adjusted(kLegendPad, kLegendPad, -kLegendPad, -kLegendPad);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLegendBacking);
    painter.drawRoundedRect(backing, margin, margin);
    drawLegend(painter, backing, legend.fit.lines, legendColor());
}
