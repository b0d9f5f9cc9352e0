#include "widgets/nextpasspaint.h"

#include "model/qtcompat.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QExposeEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// A timer of its own, not a queued call: Qt delivers queued calls ahead of
// the timers that fell due meanwhile, so what follows would run at once.
QTimer *nextPassTimer(QObject *owner)
{
    auto *timer = new QTimer(owner);
    timer->setSingleShot(true);
    timer->setInterval(0);
    return timer;
}

} // namespace

NextPassPaint::NextPassPaint(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_prepare(nextPassTimer(this))
    , m_release(nextPassTimer(this))
{
    connect(m_prepare, &QTimer::timeout, this, &NextPassPaint::prepare);
    connect(m_release, &QTimer::timeout, this, &NextPassPaint::release);
    window->installEventFilter(this);
}

void NextPassPaint::hold(Repaint repaint)
{
    // A paint owed from the last hold comes first: new sizes arriving at
    // every pass must not keep the window from ever painting.
    if (m_paintOwed)
        return;
    m_repaintWhole = (m_holding && m_repaintWhole) || repaint == Repaint::Whole;
    if (m_holding)
        return;
    m_holding = true;
    // The window system's expose paints at once, beside the widgets' own
    // requests: both wait.
    if (QWindow *handle = m_window->windowHandle())
        handle->installEventFilter(this);
    m_prepare->start();
}

void NextPassPaint::prepare()
{
    // A pass of its own: the paint a pass later finds its image and caches
    // ready, and timers and input run in between.
    prepareBackingStore();
    if (m_beforePaint)
        m_beforePaint();
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
    if (m_repaintWhole)
        m_window->update();
    QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void NextPassPaint::prepareBackingStore()
{
    // A window of a new size paints into a new image, and the first touch
    // of each of its pages costs the system a fault: 2-3 ms for a large
    // window, inside the paint. Taking the image and touching it here puts
    // that cost in this pass instead of the next one's paint.
    QBackingStore *store = m_window->backingStore();
    const QSize size = m_window->size();
    if (!store || store->size() == size || size.isEmpty() || !m_window->isVisible())
        return;
    store->resize(size);
    const QRect whole(QPoint(), size);
    store->beginPaint(whole);
    if (QPaintDevice *device = store->paintDevice()) {
        QPainter painter(device);
        painter.fillRect(whole, m_window->palette().color(QPalette::Window));
    }
    store->endPaint();
    // Qt repaints every widget when it finds the image of the wrong size;
    // it now finds the right one, and the update its resize made of the
    // window leaves out the opaque children. Those ask for their own paint.
    for (QWidget *child : m_window->findChildren<QWidget *>()) {
        if (child->isVisible()
            && (child->autoFillBackground() || child->testAttribute(Qt::WA_OpaquePaintEvent)))
            child->update();
    }
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
        const QRegion region = exposedRegionOf(static_cast<QExposeEvent *>(event));
        if (!region.isEmpty()) {
            m_heldExpose += region;
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
