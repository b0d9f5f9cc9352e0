#pragma once

#include "pages/assignmentpage.h"

#include <QList>

class QPushButton;

#include <cstdint>

// Whether a mouse action is a gesture (a swipe or "Like"), which keypads of
// the "Old" family cannot store.
bool isMouseGesture(uint8_t action);

// Page "Mouse": mouse buttons, the wheel alone and with Ctrl, Shift or Alt,
// and the gestures (four swipes and "Like"). Each enabled button carries its
// action in "mouseAction"; a click says mouseChosen with that action.
class MousePage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit MousePage(QWidget *parent = nullptr);

    // The buttons that carry an action, row by row (gestures included).
    const QList<QPushButton *> &actionButtons() const { return m_actionButtons; }
    // The swipe and "Like" buttons, which keypads of the "Old" family lack.
    const QList<QPushButton *> &gestureButtons() const { return m_gestureButtons; }

    // Hides and disables the gesture buttons for a keypad of the "Old"
    // family, shows and enables them for every other keypad.
    void applyMouseGestureSupport(bool oldFamily);

    // Button font and height at the window's scale (1.0 at the design size).
    void setScale(double scale) override;

signals:
    void mouseChosen(uint8_t action);

private:
    void applyScale(double scale);

    QList<QPushButton *> m_actionButtons;
    QList<QPushButton *> m_gestureButtons;
    QList<QPushButton *> m_allButtons;
};
