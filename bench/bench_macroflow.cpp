// What showing a long macro costs: the macro page's flow of blocks filled
// with a 64-step macro (128 blocks), as when a key holding one is selected,
// then refilled with another (selecting the next such key), then restyled for
// a new window scale. Each figure is the longest stall of the UI thread's
// event loop around the change, including layout and paint; the target is
// one 120 Hz frame (8 ms). Runs offscreen; `bench_macroflow out.png` also
// saves a picture of the flow, `--chinese` shows the Chinese interface.

#include "stallmonitor.h"

#include "model/keyconfig.h"
#include "model/translation.h"
#include "widgets/macroflowwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr double kFrameMs = 8.0;
constexpr int kSteps = 64;
constexpr int kRuns = 5;

QVector<MacroStep> longMacro(int firstKey)
{
    QVector<MacroStep> steps;
    for (int i = 0; i < kSteps; ++i) {
        MacroStep step;
        step.action = uint8_t(i % 2);
        step.keycode = uint8_t(firstKey + i / 2 % 26);
        step.delay = uint16_t(i % 2 ? 50 : 9999);
        steps.append(step);
    }
    return steps;
}

struct Figure {
    double changeMs = 0;  // the call itself
    double stallMs = 0;   // longest event-loop gap, layout and paint included
};

// Runs `change` from the event loop and lets layout and paint happen.
Figure measure(QWidget &window, const std::function<void()> &change)
{
    StallMonitor stalls;
    QEventLoop settle;
    Figure figure;
    QTimer::singleShot(20, [&] {
        stalls.restart();
        QElapsedTimer timer;
        timer.start();
        change();
        figure.changeMs = timer.nsecsElapsed() / 1e6;
        window.update();
        QTimer::singleShot(150, &settle, &QEventLoop::quit);
    });
    settle.exec();
    figure.stallMs = stalls.longestMs();
    return figure;
}

void report(const char *what, const QVector<Figure> &runs)
{
    double change = 0;
    double stall = 0;
    for (const Figure &f : runs) {
        change = std::max(change, f.changeMs);
        stall = std::max(stall, f.stallMs);
    }
    std::printf("%-46s call %7.2f ms  longest stall %7.2f ms  target <= %.0f  ratio %.3f  %s\n",
                what, change, stall, kFrameMs, stall / kFrameMs,
                stall <= kFrameMs ? "ok" : "MISSES");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QString picturePath;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--chinese") == 0)
            setInterfaceChinese(true);
        else
            picturePath = QString::fromLocal8Bit(argv[i]);
    }
    // In the program the flow is shown inside a window that is already up:
    // the process's first window pays for the font database and the
    // platform's setup, and is timed as the start (bench_window).
    {
        QLabel first(translateText(QStringLiteral("Macro Key")));
        measure(first, [&] { first.show(); });
    }
    QScrollArea window;
    auto *flow = new MacroFlowWidget;
    window.setWidget(flow);
    window.setWidgetResizable(true);
    window.resize(760, 420);

    std::printf("Macro flow (offscreen, %s), %d steps = %d blocks, slowest of %d runs\n",
                interfaceIsChinese() ? "Chinese" : "English", kSteps, 2 * kSteps, kRuns);
    // Once shown, the flow builds the blocks of a full macro while idle and
    // keeps them for every macro after.
    const QVector<Figure> shown{measure(window, [&] { window.show(); })};
    const QVector<Figure> first{measure(window, [&] { flow->setSteps(longMacro(4)); })};
    QVector<Figure> refill, clear, fill, rescale;
    for (int run = 0; run < kRuns; ++run) {
        refill.append(measure(window, [&] { flow->setSteps(longMacro(run % 2 ? 4 : 10)); }));
        rescale.append(measure(window, [&] { flow->setScaleRatio(run % 2 ? 1.0 : 0.8); }));
        clear.append(measure(window, [&] { flow->clearBlocks(); }));
        fill.append(measure(window, [&] { flow->setSteps(longMacro(7)); }));
    }
    report("flow first shown (blocks built while idle)", shown);
    report("first 64-step macro", first);
    report("another 64-step macro in its place", refill);
    report("rescale the shown macro", rescale);
    report("clear it", clear);
    report("a 64-step macro after a clear", fill);

    // bench_macroflow out.png: also a picture of the flow, to look at.
    if (!picturePath.isEmpty()) {
        flow->setScaleRatio(1.0);
        flow->setSteps(longMacro(4));
        QEventLoop paint;
        QTimer::singleShot(100, &paint, &QEventLoop::quit);
        paint.exec();
        window.grab().save(picturePath);
    }
    return 0;
}
