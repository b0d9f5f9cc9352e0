#include "widgets/sharedbevelbutton.h"

#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionButton>
#include <QStylePainter>

SharedBevelButton::SharedBevelButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

void SharedBevelButton::setBevelLook(const QString &look)
{
    if (look == m_look)
        return;
    m_look = look;
    update();
}

QPixmap SharedBevelButton::bevel(const QStyleOptionButton &option, const QColor &background) const
{
    // Everything the style's bevel depends on besides the sheet itself:
    // the selector's class, the size and the state (hover, pressed, ...).
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("zentrik-bevel/%1/%2/%3x%4@%5/%6/%7/%8")
                            .arg(m_look, property("class").toString())
                            .arg(option.rect.width())
                            .arg(option.rect.height())
                            .arg(ratio)
                            .arg(int(option.state))
                            .arg(int(option.features))
                            .arg(background.rgba(), 0, 16);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QImage image(option.rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    painter.end();
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void SharedBevelButton::paintEvent(QPaintEvent *event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // A focus frame or a menu arrow is the style's to draw: keep its paint.
    const bool plain = !(option.state & QStyle::State_HasFocus)
        && !(option.features & QStyleOptionButton::HasMenu);
    if (m_look.isEmpty() || !parentWidget() || !plain) {
        QPushButton::paintEvent(event);
        return;
    }
    // What the style's CE_PushButton does: the bevel, then the legend in
    // the contents rectangle.
    QStylePainter painter(this);
    painter.drawPixmap(0, 0, bevel(option, parentWidget()->palette().color(QPalette::Window)));
    QStyleOptionButton legend = option;
    legend.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawControl(QStyle::CE_PushButtonLabel, legend);
}
