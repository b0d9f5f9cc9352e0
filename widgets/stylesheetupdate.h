#pragma once

#include <QString>
#include <QWidget>

// Qt polishes a widget anew whenever its style sheet is set, even to the
// sheet it already has. Pages and controls restyle on every refresh, most
// of the time to the same sheet: this sets it only when it differs.
inline void setStyleSheetIfChanged(QWidget *widget, const QString &sheet)
{
    if (widget->styleSheet() != sheet)
        widget->setStyleSheet(sheet);
}

// Qt fills the rectangle of every widget its sheet gives a background, on
// every paint, also where the widget's colour is its parent's and the fill
// only repeats the one beneath. A container of its parent's colour marked
// this way paints no background of its own and shows its parent's.
inline void showParentBackground(QWidget *container)
{
    container->setAttribute(Qt::WA_NoSystemBackground);
}
