#include "widgets/buttonpaintwarmup.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// What QPushButton's own paint gives the style, for a button that is not
// pressed and has no focus: the state the page shows it in.
QStyleOptionButton restingOption(const QPushButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    option.state |= button.isChecked() ? QStyle::State_On : QStyle::State_Off;
    option.state |= QStyle::State_Raised;
    if (button.isFlat())
        option.features |= QStyleOptionButton::Flat;
    return option;
}

// An opaque window's backing store is 32-bit RGB: glyphs drawn into the
// same format are kept in the same cache as the window's.
void fitScratch(QImage &scratch, const QSize &size)
{
    if (scratch.width() < size.width() || scratch.height() < size.height())
        scratch = QImage(size.expandedTo(scratch.size()), QImage::Format_RGB32);
}

} // namespace

void warmButtonPaint(QWidget *area)
{
    QImage scratch;
    for (QPushButton *button : area->findChildren<QPushButton *>()) {
        if (button->isHidden())
            continue;
        // A page never shown may not have laid its buttons out: they are
        // drawn at the size they have, which is all their rules and glyphs
        // depend on.
        const QSize size = button->size();
        if (size.isEmpty())
            continue;
        button->ensurePolished();
        QStyleOptionButton option = restingOption(*button);
        option.rect = QRect(QPoint(0, 0), size);
        fitScratch(scratch, size);
        QPainter painter(&scratch);
        painter.setFont(button->font());
        painter.setPen(button->palette().color(button->foregroundRole()));
        button->style()->drawControl(QStyle::CE_PushButton, &option, &painter, button);
    }
}
