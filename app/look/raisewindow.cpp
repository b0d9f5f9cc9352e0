#include "app/look/raisewindow.h"

#include <QWidget>

void raiseWindow(QWidget *window)
{
    // showNormal() would also drop a maximised or full-screen state.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
