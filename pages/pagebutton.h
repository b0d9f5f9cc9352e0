#pragma once

#include <QString>
#include <QVariant>

class QPushButton;
class QWidget;

// Dynamic properties the assignment pages put on their buttons. The click
// handlers read the codes back; the style sheets select on "class".
constexpr char kKeycodeProperty[] = "keycode";
constexpr char kMediaCodeProperty[] = "mediaCode";
constexpr char kMouseActionProperty[] = "mouseAction";
constexpr char kClassProperty[] = "class";
constexpr char kLegacyOldUnsupportedMouseProperty[] = "legacyOldUnsupportedMouse";

// A button of an assignment page: expanding both ways and never taking the
// keyboard focus, so a key typed on the computer (Space, Enter) cannot click
// the last button chosen once more.
QPushButton *createPageButton(const QString &text, const QString &styleClass, QWidget *parent);

// A cell of a page grid without an action: drawn in the grid, never clickable.
QPushButton *createEmptyCell(const QString &styleClass, QWidget *parent);

// A pixel size at the window's scale, never below one pixel.
int scaledPixels(double pixels, double scale);

// A font's pixel size at the window's scale, never below the smallest text
// that stays readable (a window far below its design size).
constexpr int kMinPageFontPx = 8;
int scaledFontPixels(double pixels, double scale);

// The share of their design size the pages with fixed sizes (the older
// families' delay pages) take at a window ratio: all of it from the window's
// usual smallest ratio of 0.8 up, proportionally less below it.
double fixedPageShare(double ratio);
