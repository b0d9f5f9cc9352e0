#include "widgets/knobbutton.h"

#include "model/logging.h"
#include "widgets/buttonlegend.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kDesignSide = 80;
// The picture leaves a margin for the selection ring.
constexpr double kPictureShare = 0.85;
const QColor kCheckedRing(255, 215, 0, 180);
const QColor kHoverDisc(255, 255, 255, 40);
const QColor kCheckedText(255, 215, 0);
const QColor kUnassignedText(150, 150, 150);

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

KnobButton::KnobButton(const QString &imagePath, const QString &text, QWidget *parent)
    : QPushButton(parent)
    , m_imagePath(imagePath)
{
    setCheckable(true);
    setFlat(true);
    setText(text);
    if (!m_imagePath.isEmpty() && !m_picture.load(m_imagePath)) {
        m_picture = QPixmap();
        qCDebug(lcUi).noquote() << "Failed to load image:" << m_imagePath;
    }
    setFixedSize(m_size, m_size);
    setMouseTracking(true);
    rescalePicture();
}

void KnobButton::setButtonSize(int side)
{
    m_size = qMax(0, side);
    setFixedSize(m_size, m_size);
    rescalePicture();
    update();
}

void KnobButton::rescalePicture()
{
    const int side = qRound(m_size * kPictureShare);
    if (m_picture.isNull() || side < 1) {
        m_scaledPicture = QPixmap();
        return;
    }
    m_scaledPicture = m_picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void KnobButton::setFontPointSize(int points)
{
    points = qMax(1, points);
    if (m_fontPointSize == points)
        return;
    m_fontPointSize = points;
    update();
}

int KnobButton::scaledFontPointSize() const
{
    return qMax(1, qRound(double(m_size) / kDesignSide * m_fontPointSize));
}

void KnobButton::setAssigned(bool assigned)
{
    if (m_assigned == assigned)
        return;
    m_assigned = assigned;
    update();
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

void KnobButton::enterEvent(QEvent *event)
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
        painter.setPen(QPen(kCheckedRing, 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    } else if (m_hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kHoverDisc);
        painter.drawEllipse(QRectF(rect()));
    }

    if (!m_scaledPicture.isNull()) {
        const QPoint topLeft((width() - m_scaledPicture.width()) / 2,
                             (height() - m_scaledPicture.height()) / 2);
        painter.drawPixmap(topLeft, m_scaledPicture);
    }

    if (text().isEmpty())
        return;
    QFont legendFont = font();
    legendFont.setBold(true);
    legendFont.setPointSize(scaledFontPointSize());
    painter.setFont(legendFont);
    QColor textColor = kUnassignedText;
    if (isChecked())
        textColor = kCheckedText;
    else if (m_assigned)
        textColor = Qt::white;
    drawLegend(painter, rect(), legendTail(text(), m_size), textColor);
}
