#pragma once

#include <QObject>
#include <QRegion>

#include <functional>

class QTimer;
class QWidget;

// Holds a window's paints back for two passes of the event loop. Work that
// changes the whole window (new sizes, a rescale), the preparation of what
// its paint needs (the window's image at a new size, drawing caches) and the
// paint itself then run as three holds of the UI thread instead of one, with
// the program's timers and input handled between them. Nothing reaches the
// screen in between: it goes from the old picture straight to the new one.
class NextPassPaint : public QObject
{
public:
    explicit NextPassPaint(QWidget *window);

    // What the paint at the end of a hold covers: the whole window, or only
    // what was asked for during the hold.
    enum class Repaint { Whole, Asked };
    void hold(Repaint repaint = Repaint::Whole);
    // Runs when a hold ends, in its own pass before the paint: work that
    // the paint would otherwise do first (drawing caches at a new size).
    void setBeforePaint(std::function<void()> prepare) { m_beforePaint = std::move(prepare); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void prepare();
    void prepareBackingStore();
    void release();

    QWidget *m_window;
    QTimer *m_prepare;
    QTimer *m_release;
    std::function<void()> m_beforePaint;
    bool m_holding = false;
    bool m_repaintWhole = false;
    // What the window system exposed during the hold, delivered at its end.
    QRegion m_heldExpose;
    // Released, and the window has not painted since.
    bool m_paintOwed = false;
};
