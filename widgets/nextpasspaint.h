#pragma once

#include <QObject>
#include <QRegion>

class QTimer;
class QWidget;

// Holds a window's paints back until the event loop's next pass. Work that
// changes the whole window (new sizes, a rescale) and the paint that shows it
// then run as two holds of the UI thread instead of one, with the program's
// timers and input handled between them. Nothing reaches the screen in
// between: it goes from the old picture straight to the new one.
class NextPassPaint : public QObject
{
public:
    explicit NextPassPaint(QWidget *window);

    void hold();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();

    QWidget *m_window;
    QTimer *m_release;
    bool m_holding = false;
    // What the window system exposed during the hold, delivered at its end.
    QRegion m_heldExpose;
    // Released, and the window has not painted since.
    bool m_paintOwed = false;
};
