#include "widgets/nextpasspaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QExposeEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

NextPassPaint::NextPassPaint(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_release(new QTimer(this))
{
    // A timer of its own, not a queued call: Qt delivers queued calls ahead
    // of the timers that fell due meanwhile, so the paint would follow at once.
    m_release->setSingleShot(true);
    m_release->setInterval(0);
    connect(m_release, &QTimer::timeout, this, &NextPassPaint::release);
    window->installEventFilter(this);
}

void NextPassPaint::hold()
{
    // A paint owed from the last hold comes first: new sizes arriving at
    // every pass must not keep the window from ever painting.
    if (m_holding || m_paintOwed)
        return;
    m_holding = true;
    // The window system's expose paints at once, beside the widgets' own
    // requests: both wait.
    if (QWindow *handle = m_window->windowHandle())
        handle->installEventFilter(this);
    m_release->start();
}

void NextPassPaint::release()
{
    m_holding = false;
    m_paintOwed = true;
    QWindow *handle = m_window->windowHandle();
    if (handle)
        handle->removeEventFilter(this);
    // An expose is also what tells Qt a newly shown window is on screen:
    // without it Qt would not paint the window at all. It is posted, as the
    // paint request below, so the paint comes in a pass of its own.
    if (handle && !m_heldExpose.isEmpty())
        QCoreApplication::postEvent(handle, new QExposeEvent(m_heldExpose));
    m_heldExpose = QRegion();
    // What was asked for meanwhile is still marked for painting, and a
    // request Qt made and this held back is not made again: ask anew.
    m_window->update();
    QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool NextPassPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Paint)
            m_paintOwed = false;
        else if (event->type() == QEvent::UpdateRequest && m_holding)
            return true;
    } else if (event->type() == QEvent::Expose && m_holding) {
        // An expose of nothing says the window left the screen: Qt needs
        // that one at once.
        const QRegion region = static_cast<QExposeEvent *>(event)->region();
        if (!region.isEmpty()) {
            m_heldExpose += region;
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
