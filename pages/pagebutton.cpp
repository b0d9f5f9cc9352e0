#include "pages/pagebutton.h"

#include <QPushButton>
#include <QtGlobal>

QPushButton *createPageButton(const QString &text, const QString &styleClass, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    if (!styleClass.isEmpty())
        button->setProperty(kClassProperty, styleClass);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton *createEmptyCell(const QString &styleClass, QWidget *parent)
{
    QPushButton *cell = createPageButton(QString(), styleClass, parent);
    cell->setEnabled(false);
    return cell;
}

int scaledPixels(double pixels, double scale)
{
    return qMax(1, qRound(pixels * scale));
}

double fixedPageShare(double ratio)
{
    constexpr double kFullSizeRatio = 0.8;
    return ratio > 0 ? qMin(1.0, ratio / kFullSizeRatio) : 1.0;
}

int scaledFontPixels(double pixels, double scale)
{
    return qMax(kMinPageFontPx, qRound(pixels * scale));
}
