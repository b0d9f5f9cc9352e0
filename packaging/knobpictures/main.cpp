// Draws the five knob pictures of the panel: a knob seen from above with a
// turn-left or turn-right arrow around it, the same around a pressed knob,
// and a press pictograph. Grey on a transparent ground, so they sit on the
// dark panel whatever its shade, with dark faces under the button legends.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

namespace {

const QColor kArrowColor(0xc4, 0xc4, 0xc4);
const QColor kOutlineColor(0x1c, 0x1c, 0x1c, 150);
constexpr int kKnurlCount = 36;

enum class Turn { Left, Right };

QPointF onCircle(const QPointF &centre, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

// A knob top: knurled rim, dished face and a pointer mark. A pressed knob
// sits lower: smaller, darker, lit from below, with a press mark.
void drawKnob(QPainter &p, const QPointF &c, double r, bool pressed)
{
    if (pressed)
        r *= 0.9;

    QRadialGradient shadow(c + QPointF(0, pressed ? 1 : 3), r * 1.15);
    shadow.setColorAt(0.8, QColor(0, 0, 0, pressed ? 70 : 110));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, pressed ? 1 : 3), r * 1.15, r * 1.15);

    QLinearGradient rim(c - QPointF(r, r), c + QPointF(r, r));
    rim.setColorAt(0, pressed ? QColor(0x6a, 0x6a, 0x6a) : QColor(0xa6, 0xa6, 0xa6));
    rim.setColorAt(1, pressed ? QColor(0x44, 0x44, 0x44) : QColor(0x52, 0x52, 0x52));
    p.setBrush(rim);
    p.setPen(QPen(kOutlineColor, 1.0));
    p.drawEllipse(c, r, r);

    // Knurling: short grooves round the rim.
    p.setPen(QPen(QColor(0x2a, 0x2a, 0x2a, 140), qMax(1.0, r / 18), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < kKnurlCount; ++i) {
        const double a = 360.0 * i / kKnurlCount;
        p.drawLine(onCircle(c, r * 0.84, a), onCircle(c, r * 0.97, a));
    }

    const double face = r * 0.76;
    QRadialGradient dish(c + QPointF(0, pressed ? face * 0.35 : -face * 0.35), face * 1.3);
    dish.setColorAt(0, pressed ? QColor(0x3c, 0x3c, 0x3c) : QColor(0x5a, 0x5a, 0x5a));
    dish.setColorAt(1, pressed ? QColor(0x24, 0x24, 0x24) : QColor(0x33, 0x33, 0x33));
    p.setBrush(dish);
    p.setPen(QPen(pressed ? QColor(0x18, 0x18, 0x18) : QColor(0x7a, 0x7a, 0x7a), qMax(1.0, r / 20)));
    p.drawEllipse(c, face, face);

    if (!pressed) {
        p.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), qMax(2.0, r / 9), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(0, -face * 0.86), c + QPointF(0, -face * 0.55));
        return;
    }
    // Press mark: a small downward chevron where the pointer would be.
    const double w = face * 0.34;
    const QPointF tip = c + QPointF(0, -face * 0.42);
    QPainterPath chevron;
    chevron.moveTo(tip + QPointF(-w, -w * 0.9));
    chevron.lineTo(tip);
    chevron.lineTo(tip + QPointF(w, -w * 0.9));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), qMax(2.0, r / 10), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(chevron);
}

// A filled arrowhead whose base centre sits at `base`, pointing along `dir`.
QPainterPath arrowHead(const QPointF &base, QPointF dir, double length, double width)
{
    dir /= qSqrt(QPointF::dotProduct(dir, dir));
    const QPointF normal(-dir.y(), dir.x());
    QPainterPath head;
    head.moveTo(base + dir * length);
    head.lineTo(base + normal * (width / 2));
    head.lineTo(base - normal * (width / 2));
    head.closeSubpath();
    return head;
}

// A circular arrow over the top of the knob, its head at the end it turns to.
void drawTurnArrow(QPainter &p, const QPointF &c, double radius, double thickness, Turn turn)
{
    constexpr double kStart = 22;
    constexpr double kEnd = 158;
    const QRectF circle(c - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    QPainterPath arc;
    arc.arcMoveTo(circle, kStart);
    arc.arcTo(circle, kStart, kEnd - kStart);

    const double endAngle = turn == Turn::Left ? kEnd : kStart;
    const double a = qDegreesToRadians(endAngle);
    // Counter-clockwise on screen is the growing angle; its tangent is (-sin, -cos).
    const QPointF ccw(-qSin(a), -qCos(a));
    const QPointF dir = turn == Turn::Left ? ccw : -ccw;
    const QPainterPath head
        = arrowHead(onCircle(c, radius, endAngle), dir, thickness * 2.3, thickness * 2.9);

    // A dark halo first keeps the arrow clear on a grey panel.
    const QPen halo(kOutlineColor, thickness + 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    const QPen stroke(kArrowColor, thickness, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    p.setBrush(Qt::NoBrush);
    p.setPen(halo);
    p.drawPath(arc);
    p.setBrush(kOutlineColor);
    p.drawPath(head);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(QPen(kArrowColor, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kArrowColor);
    p.drawPath(head);
}

QImage turnPicture(Turn turn, bool pressed)
{
    QImage image(114, 97, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(57, 55);
    drawKnob(p, centre, 31, pressed);
    drawTurnArrow(p, centre, 43, 6, turn);
    return image;
}

// Press: a broad downward arrow onto a bar, outlined light on a dark fill so
// the legend drawn over it stays readable.
QImage pressPicture()
{
    QImage image(150, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath arrow;
    arrow.moveTo(58, 18);
    arrow.lineTo(92, 18);
    arrow.lineTo(92, 62);
    arrow.lineTo(118, 62);
    arrow.lineTo(75, 104);
    arrow.lineTo(32, 62);
    arrow.lineTo(58, 62);
    arrow.closeSubpath();

    QRectF bar(22, 114, 106, 16);

    QLinearGradient fill(0, 18, 0, 130);
    fill.setColorAt(0, QColor(0x56, 0x56, 0x56));
    fill.setColorAt(1, QColor(0x34, 0x34, 0x34));
    for (const bool haloPass : {true, false}) {
        const QPen pen = haloPass ? QPen(kOutlineColor, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                  : QPen(kArrowColor, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(fill);
        p.drawPath(arrow);
        p.drawRoundedRect(bar, 6, 6);
    }
    return image;
}

bool save(const QImage &image, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    const bool ok = image.save(path, "PNG");
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << '\n';
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!dir.exists()) {
        QTextStream(stderr) << "no such directory: " << dir.path() << '\n';
        return 2;
    }
    bool ok = true;
    ok &= save(turnPicture(Turn::Left, false), dir, QStringLiteral("KN_LEFT114x97.png"));
    ok &= save(turnPicture(Turn::Right, false), dir, QStringLiteral("KN_RIGHT114x97.png"));
    ok &= save(turnPicture(Turn::Left, true), dir, QStringLiteral("KN_PressLEFT114x97.png"));
    ok &= save(turnPicture(Turn::Right, true), dir, QStringLiteral("KN_PressRIGHT114x97.png"));
    ok &= save(pressPicture(), dir, QStringLiteral("KN_IN150x150.png"));
    return ok ? 0 : 1;
}
