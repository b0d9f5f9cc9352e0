#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QPushButton;
class QWidget;
enum class NavDirection;

// What the user does to the keypad picture's controls beyond a click: the
// arrow keys across the picture, dragging one control onto another, and the
// Menu key, Shift+F10 or a right click for a control's context menu. It
// watches the controls' events and the window's, and tells of each by slot.
class ControlGestures : public QObject
{
    Q_OBJECT
public:
    // `slotOf` names the slot of a control of the picture, or -1 for
    // anything else; `dragAllowed` says whether a control may be dragged.
    ControlGestures(std::function<int(const QObject *)> slotOf,
                    std::function<bool()> dragAllowed, QWidget *window);

    // Off while a macro is recorded, so every key reaches the recorder.
    void setEnabled(bool enabled) { m_enabled = enabled; }

signals:
    void moveRequested(NavDirection direction);
    void dropped(int fromSlot, int toSlot);
    void menuRequested(int slot, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool startDrag(QPushButton *button, int slot);

    std::function<int(const QObject *)> m_slotOf;
    std::function<bool()> m_dragAllowed;
    QWidget *m_window;
    bool m_enabled = true;
    QPointer<QPushButton> m_pressed;
    QPoint m_pressPos;
};
