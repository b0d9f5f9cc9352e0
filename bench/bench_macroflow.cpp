// What showing a long macro costs: the macro page's flow of blocks filled
// with a 64-step macro (128 blocks), as when a key holding one is selected,
// then refilled with another (selecting the next such key), then restyled for
// a new window scale; then the edits of a 64-step macro on the macro page
// (delete, move, duplicate, delays set) and the typed-text dialog's preview
// as a 21-character text is typed into it. Each figure is the longest stall of the UI thread's
// event loop around the change, including layout and paint; the target is
// one 120 Hz frame (8 ms). Runs offscreen; `bench_macroflow out.png` also
// saves a picture of the flow, `--chinese` shows the Chinese interface.

#include "stallmonitor.h"

#include "model/keyboarddata.h"
#include "model/keyconfig.h"
#include "model/translation.h"
#include "pages/macropage.h"
#include "pages/typetextdialog.h"
#include "widgets/macroflowwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

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

    // The edits of the macro page on a key holding 64 steps; each puts the
    // key back to 64 steps afterwards, untimed.
    KeyboardData store;
    store.loadLayers([] {
        KeyLayers layers(kLayerCount, KeyLayer(kKeySlotCount));
        layers[0][0].setMacro(longMacro(4));
        return layers;
    }());
    store.selectKey(0);
    MacroPage page(store);
    page.resize(760, 520);
    page.show();
    const auto restore = [&] { store.assignMacro(longMacro(4)); };
    QVector<Figure> deleted, moved, duplicated, delays, preview;
    for (int run = 0; run < kRuns; ++run) {
        restore();
        page.flow()->setSelectedSteps({10, 11});
        deleted.append(measure(page, [&] { page.deleteSelectedSteps(); }));
        restore();
        page.flow()->setSelectedSteps({10, 11});
        moved.append(measure(page, [&] { page.moveSelectedSteps(1); }));
        store.assignMacro(longMacro(4).mid(2));
        page.flow()->setSelectedSteps({10, 11});
        duplicated.append(measure(page, [&] { page.duplicateSelectedSteps(); }));
        restore();
        QVector<int> all(kSteps);
        std::iota(all.begin(), all.end(), 0);
        page.flow()->setSelectedSteps(all);
        delays.append(measure(page, [&] { page.setSelectedDelays(100 + run); }));
    }
    // The dialog's preview follows every character typed; the layout is
    // read before, as the dialog does on a worker thread.
    store.assignMacro({});
    const TypingLayout us = TypingLayout::load({QStringLiteral("us"), QString()});
    TypeTextDialog dialog(kSteps, true, false);
    dialog.useLayout({QStringLiteral("us"), QString()}, us);
    dialog.show();
    const QString text = QStringLiteral("Hello, World! 1234 ok");
    for (int run = 0; run < kRuns; ++run)
        preview.append(measure(dialog, [&] { dialog.textEdit()->setPlainText(text.left(10 + run * 2)); }));
    report("delete 2 steps of 64", deleted);
    report("move 2 steps of 64", moved);
    report("duplicate 2 steps into 64", duplicated);
    report("set the delay of 64 selected steps", delays);
    report("typed-text preview (21 characters)", preview);

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
