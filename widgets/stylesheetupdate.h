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
