#include "app/keypadview/keypadtabstop.h"

#include <QEvent>
#include <QPushButton>

void KeypadTabStop::follow(const QVector<QPushButton *> &controls,
                           const QVector<QPushButton *> &slotOrder)
{
    for (QPushButton *control : controls)
        if (!m_controls.contains(control))
            control->installEventFilter(this);
    m_controls = controls;
    QPushButton *stop = m_current;
    if (!stop || stop->isHidden() || !m_controls.contains(stop)) {
        stop = nullptr;
        for (QPushButton *control : slotOrder) {
            if (control && !control->isHidden()) {
                stop = control;
                break;
            }
        }
    }
    moveTo(stop);
}

bool KeypadTabStop::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        moveTo(static_cast<QPushButton *>(watched));
    return false;
}

void KeypadTabStop::moveTo(QPushButton *control)
{
    m_current = control;
    for (QPushButton *button : qAsConst(m_controls))
        button->setFocusPolicy(button == control ? Qt::StrongFocus : Qt::ClickFocus);
}
