#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

class QPushButton;

// Tab stops once at the keypad picture, not at each of its up to 25
// controls: the control last focused (by a click, the arrow keys or Tab)
// takes Tab, the others only a click. Inside the picture the arrow keys move.
class KeypadTabStop : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // After a layout change, with every button of the picture (a layout may
    // have added some): when the control holding the stop is not shown, the
    // first shown control of `slotOrder` takes it.
    void follow(const QVector<QPushButton *> &controls, const QVector<QPushButton *> &slotOrder);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveTo(QPushButton *control);

    QVector<QPushButton *> m_controls;
    QPointer<QPushButton> m_current;
};
