#pragma once

// What the benchmarks share: running the event loop until something is seen,
// and printing a figure beside its target.

#include <QEventLoop>
#include <QtGlobal>
#include <QTimer>
#include <cstdio>
#include <functional>

// Before the application object: offscreen unless told otherwise, and the
// figures printed line by line, also into a pipe.
inline void prepareBenchProcess()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
}

// Runs the event loop until `done` holds (checked every 2 ms) or `timeoutMs`
// passes; the loop sleeps in between, as the program's own loop does.
inline bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return done();
}

// Runs the event loop for `ms` with no timer of its own but the one ending it.
inline void spinFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

inline const char *verdict(double value, double target)
{
    return value <= target ? "ok" : "MISSES";
}

inline void printFigure(const char *what, double value, const char *unit, double target)
{
    std::printf("%-44s %9.2f %-6s target <= %-7g ratio %.3f  %s\n", what, value, unit, target,
                value / target, verdict(value, target));
}
