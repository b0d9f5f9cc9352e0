#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

// Runs a function after a watched widget has been resized. The window uses
// it for parts whose contents are fitted to the room the layout gives them.
class ResizeWatcher : public QObject
{
public:
    ResizeWatcher(QObject *parent, std::function<void()> onResize)
        : QObject(parent)
        , m_onResize(std::move(onResize))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_onResize();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onResize;
};
