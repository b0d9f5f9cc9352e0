#include "widgets/sharedbevelbutton.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cstdio>

SharedBevelButton::SharedBevelButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

void SharedBevelButton::setBevelLook(const QString &look)
{
    if (look == m_look)
        return;
    m_look = look;
    m_keyPrefix.clear();
    update();
}

bool SharedBevelButton::event(QEvent *event)
{
    // The selector's class is a dynamic property and part of the bevel's key.
    if (event->type() == QEvent::DynamicPropertyChange)
        m_keyPrefix.clear();
    return QPushButton::event(event);
}

QPixmap SharedBevelButton::bevel(const QStyleOptionButton &option, const QColor &background) const
{
    // Everything the style's bevel depends on besides the sheet itself:
    // the selector's class, the size and the state (hover, pressed, ...).
    // Every key paints after a rescale, so the key is put together cheaply.
    if (m_keyPrefix.isEmpty())
        m_keyPrefix = QStringLiteral("zentrik-bevel/") + m_look + QLatin1Char('/')
            + property("class").toString();
    const qreal ratio = devicePixelRatioF();
    char numbers[96];
    const int length = std::snprintf(numbers, sizeof numbers, "/%dx%d@%g/%d/%d/%x",
                                     option.rect.width(), option.rect.height(), double(ratio),
                                     int(option.state), int(option.features),
                                     unsigned(background.rgba()));
    const QString key = m_keyPrefix + QLatin1String(numbers, length);
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

bool SharedBevelButton::drawsSharedBevel(const QStyleOptionButton &option) const
{
    // A focus frame or a menu arrow is the style's to draw: keep its paint.
    const bool plain = !(option.state & QStyle::State_HasFocus)
        && !(option.features & QStyleOptionButton::HasMenu);
    return plain && !m_look.isEmpty() && parentWidget();
}

void SharedBevelButton::prepareBevel()
{
    QStyleOptionButton option;
    initStyleOption(&option);
    if (!drawsSharedBevel(option))
        return;
    const QPixmap drawn = bevel(option, parentWidget()->palette().color(QPalette::Window));
    if (font() == m_legendFont)
        return;
    // The window's image is 32-bit RGB: glyphs drawn into the same format
    // share its glyph cache.
    QImage scratch(drawn.size(), QImage::Format_RGB32);
    QPainter painter(&scratch);
    drawLegend(painter, option);
}

void SharedBevelButton::drawLegend(QPainter &painter, const QStyleOptionButton &option)
{
    QStyleOptionButton legend = option;
    legend.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setFont(font());
    style()->drawControl(QStyle::CE_PushButtonLabel, &legend, &painter, this);
    m_legendFont = font();
}

void prepareSharedBevels(QWidget *root)
{
    for (SharedBevelButton *button : root->findChildren<SharedBevelButton *>())
        if (button->isVisible())
            button->prepareBevel();
}

void SharedBevelButton::paintEvent(QPaintEvent *event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    if (!drawsSharedBevel(option)) {
        QPushButton::paintEvent(event);
        return;
    }
    // What the style's CE_PushButton does: the bevel, then the legend in
    // the contents rectangle.
    QStylePainter painter(this);
    painter.drawPixmap(0, 0, bevel(option, parentWidget()->palette().color(QPalette::Window)));
    drawLegend(painter, option);
}
