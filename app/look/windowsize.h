#pragma once

#include <QSize>

// The window's design size, at which every size of the layout is given,
// and the smallest size it may take. Both are sizes of the content below
// the menu bar: the window is taller by the menu bar's height.
constexpr int kDesignWidth = 1500;
constexpr int kDesignHeight = 1100;
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;

// The menu bar keeps this height whatever the window's size, so the content
// below it scales exactly as a window without one would.
constexpr int kMenuBarHeight = 30;

// The window that holds `content` below its menu bar, and the other way.
inline QSize windowSizeForContent(const QSize &content)
{
    return QSize(content.width(), content.height() + kMenuBarHeight);
}

inline QSize contentSizeOfWindow(const QSize &window)
{
    return QSize(window.width(), window.height() - kMenuBarHeight);
}
