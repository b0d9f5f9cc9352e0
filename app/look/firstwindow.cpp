// The first window's size and place on the screen it opens on.

#include "app/look/firstwindow.h"

#include "app/look/windowsize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtMath>

QSize firstWindowSize(const QRect &available, const QMargins &frame)
{
    const int roomWidth = available.width() - frame.left() - frame.right();
    const int roomHeight = available.height() - frame.top() - frame.bottom();
    const double ratio = qMin(1.0, qMin(double(roomWidth) / kDesignWidth,
                                        double(roomHeight) / kDesignHeight));
    // Rounded down, so the frame still fits.
    return QSize(qMax(kMinimumWidth, int(kDesignWidth * ratio)),
                 qMax(kMinimumHeight, int(kDesignHeight * ratio)));
}

QPoint firstWindowPosition(const QRect &available, const QSize &size, const QMargins &frame)
{
    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    return QPoint(available.x() + qMax(0, (available.width() - outerWidth) / 2),
                  available.y() + qMax(0, (available.height() - outerHeight) / 2));
}

void fitFirstWindowToScreen(QWidget &window)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return;
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The design is the content's: the menu bar above it counts as frame.
    QMargins frame = kFirstWindowFrameAllowance;
    frame.setTop(frame.top() + kMenuBarHeight);
    const QSize size = firstWindowSize(available, frame);
    window.resize(windowSizeForContent(size));
    // A window's position is that of its frame.
    window.move(firstWindowPosition(available, size, frame));
}
