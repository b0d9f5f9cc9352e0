#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The window manager's frame is unknown until the window is shown; this
// much is kept free for a title bar and borders.
inline const QMargins kFirstWindowFrameAllowance(8, 40, 8, 8);

// The first window's content size (below the menu bar) on a screen whose
// free area is `available`, with the menu bar counted in `frame`: the
// design size when it fits with its frame, else the largest size of the
// design's proportions that does, never below the window's minimum size.
QSize firstWindowSize(const QRect &available,
                      const QMargins &frame = kFirstWindowFrameAllowance);
// Where the frame's top-left corner goes so that the window of `size`
// stands centred in `available`; never above or left of it.
QPoint firstWindowPosition(const QRect &available, const QSize &size,
                           const QMargins &frame = kFirstWindowFrameAllowance);

// Sizes and centres a window not yet shown for the screen it will open on.
// The offscreen and minimal platforms have no real screen (offscreen
// reports 800 x 600 whatever runs it): there the window keeps its size.
void fitFirstWindowToScreen(QWidget &window);
