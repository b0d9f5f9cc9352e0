#pragma once

#include <QPixmap>

// Which part of the mouse an icon of the Mouse page shows highlighted.
enum class MouseIconKind {
    Left,
    Middle,
    Right,
    WheelUp,
    WheelDown,
    Placeholder,  // the plain mouse, for gestures and empty cells
};

constexpr int kMouseIconSize = 34;

// A 34 x 34 picture of a mouse on a transparent ground: the body outlined,
// the named part in blue, or both in greys for a disabled entry. Drawn with
// `ratio` device pixels per pixel, for screens that scale the interface.
QPixmap drawMouseIcon(MouseIconKind kind, bool enabled, qreal ratio = 1.0);
