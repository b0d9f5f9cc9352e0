#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

// Longest gap between two ticks of a 1 ms timer on the UI thread: how long
// the event loop was held up while something ran on it.
class StallMonitor : public QObject
{
public:
    StallMonitor()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    void restart()
    {
        if (!m_timer.isActive())
            m_timer.start();
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double longestMs() const { return m_longest / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};
