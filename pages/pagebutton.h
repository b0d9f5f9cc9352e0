#pragma once

#include <QString>
#include <QVariant>

class QAbstractButton;
class QPushButton;
class QWidget;

// Dynamic properties the assignment pages put on their buttons. Scripts and
// tests find a button by its code; the style sheets select on "class". A
// click never reads them back: the page says what was chosen by a signal.
constexpr char kKeycodeProperty[] = "keycode";
constexpr char kMediaCodeProperty[] = "mediaCode";
constexpr char kMouseActionProperty[] = "mouseAction";
constexpr char kClassProperty[] = "class";
constexpr char kLegacyOldUnsupportedMouseProperty[] = "legacyOldUnsupportedMouse";

// A button of an assignment page: expanding both ways and reachable from the
// keyboard (see makeKeyboardReachable).
QPushButton *createPageButton(const QString &text, const QString &styleClass, QWidget *parent);

// Tab and Shift+Tab reach the button, and Space or Enter on it clicks it.
// A mouse click does not give it the focus, so a key typed on the computer
// after a click cannot click the last button chosen once more. While a macro
// is recorded the recorder holds the keyboard and these keys reach it alone.
void makeKeyboardReachable(QAbstractButton *button);

// What a screen reader says of a page button: its label in the window's
// language on one line ("Left\nCommand" is "Left Command").
QString spokenLabel(const char *englishLabel);

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
