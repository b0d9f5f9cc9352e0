// What the window costs: time to the first painted window, one rescale per
// layout, the longest stall of the UI thread's event loop while a keypad
// connects, is viewed, saved and rescaled, the price of searching while no
// keypad is there, and peak memory.
//
// Runs offscreen. Targets: first window within 150 ms of start; every stall
// and every rescale within one 120 Hz frame (8 ms), for a dragged window edge
// repaints every frame; idle search at most 2 enumerations a second and under
// 0.1 % of a core; peak memory under 60 MiB. The interface's language comes
// from Config.ini beside the executable, as the program's does: scripts/bench
// runs this once more from a folder whose Config.ini chooses Chinese.

#include "benchloop.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "eventtrace.h"
#include "stallmonitor.h"

#include "app/look/imagememory.h"
#include "app/files/keypadfilecommands.h"
#include "keypad/layoutcatalogue.h"
#include "app/window/widget.h"
#include "model/keyboarddata.h"
#include "model/translation.h"
#include "virtualkeypad.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QEvent>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr double kFrameMs = 8.0;
constexpr double kFirstWindowTargetMs = 150.0;
constexpr double kEnumTargetPerSecond = 2.0;
constexpr double kIdleCoreTargetPercent = 0.1;
constexpr double kPeakMemoryTargetMiB = 60.0;
constexpr int kIdleSeconds = 10;

// Milliseconds the process has existed, from its start time in /proc (to
// within the 10 ms of a clock tick).
double msSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // Field 2 (the name) may hold spaces; the fields after it follow ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    // Fields 3 .. 21, then field 22 is the start time in clock ticks since boot.
    for (int i = 3; i <= 21; ++i)
        rest >> field;
    unsigned long long startTicks = 0;
    rest >> startTicks;
    // Seconds since boot, to the same 10 ms the start time has.
    std::ifstream uptime("/proc/uptime");
    double nowSeconds = 0;
    uptime >> nowSeconds;
    const double nowMs = nowSeconds * 1e3;
    return nowMs - startTicks * 1e3 / double(sysconf(_SC_CLK_TCK));
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
        + usage.ru_stime.tv_usec / 1e6;
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // KiB on Linux
}

// Notes the time of the first paint the window receives.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer &clock) : m_clock(clock) {}
    bool seen() const { return m_ms >= 0; }
    double ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0)
            m_ms = m_clock.nsecsElapsed() / 1e6;
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
    double m_ms = -1;
};

// Times the window's debounced rescale: from the resize timer's tick to the
// end of the slot it runs (this object's connection comes after the window's).
class RescaleTimer : public QObject
{
public:
    explicit RescaleTimer(QTimer *timer)
    {
        timer->installEventFilter(this);
        connect(timer, &QTimer::timeout, this, [this] {
            m_lastMs = m_clock.nsecsElapsed() / 1e6;
            ++m_count;
        });
    }
    int count() const { return m_count; }
    double lastMs() const { return m_lastMs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            m_clock.start();
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer m_clock;
    double m_lastMs = 0;
    int m_count = 0;
};

// The longest stall around `change`, run from the event loop as a click's
// slot is, with the layout and paint that follow it.
TracingApplication *tracing()
{
    return static_cast<TracingApplication *>(QCoreApplication::instance());
}

// With ZENTRIK_BENCH_EVENTS=1, a stall over the target is followed by the
// events that took the time.
void explainStall(int mark, double stallMs)
{
    if (stallMs > kFrameMs)
        tracing()->printSince(mark, 1.0);
}

double stallAround(StallMonitor &monitor, const std::function<void()> &change)
{
    spinFor(20);
    const int mark = tracing()->mark();
    QTimer::singleShot(0, [&] {
        monitor.restart();
        change();
    });
    spinFor(200);
    explainStall(mark, monitor.longestMs());
    return monitor.longestMs();
}

QPushButton *buttonWithText(Widget &window, const QString &text)
{
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The window's resize debounce timer: its only single-shot 10 ms child timer.
QTimer *resizeTimerOf(Widget &window)
{
    // The debounce timer belongs to the window's scaler, a child of the window.
    for (QTimer *timer : window.findChildren<QTimer *>())
        if (timer->isSingleShot() && timer->interval() == 10)
            return timer;
    return nullptr;
}

bool anyDirty(KeyboardData &store)
{
    for (const KeyLayer &layer : store.layers())
        for (const KeyConfig &key : layer)
            if (key.dirty)
                return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    const double processMsAtMain = msSinceProcessStart();
    prepareBenchProcess();

    // As main() does, with no keypad on the bus.
    Q_INIT_RESOURCE(resources);
    reuseFreedImageMemory();
    VirtualKeypad::reset();
    TracingApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    FirstPaint firstPaint(sinceMain);
    auto window = std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
    window->installEventFilter(&firstPaint);
    window->show();
    spinUntil([&] { return firstPaint.seen(); }, 5000);
    const double firstWindowMs = firstPaint.ms() + std::max(0.0, processMsAtMain);

    std::printf("\nWindow (offscreen)\n");
    std::printf("first paint: %.1f ms after main() + %.1f ms from process start to main()\n",
                firstPaint.ms(), processMsAtMain);
    printFigure("start to first shown window", firstWindowMs, "ms", kFirstWindowTargetMs);

    StallMonitor monitor;
    spinFor(300);

    // Searching while no keypad is plugged in. The stall timer is stopped so
    // the window and its keypad link are all that runs. The window starts a
    // quarter second after a search, so no search falls on either edge.
    monitor.stop();
    const int syncCount = VirtualKeypad::enumerateCount();
    spinUntil([&] { return VirtualKeypad::enumerateCount() > syncCount; }, 5000);
    spinFor(250);
    VirtualKeypad::clearCounters();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer idleClock;
    idleClock.start();
    spinFor(kIdleSeconds * 1000);
    const double idleSeconds = idleClock.nsecsElapsed() / 1e9;
    const double idleCpu = cpuSeconds() - cpuBefore;
    const int enumerations = VirtualKeypad::enumerateCount();
    const double enumsPerSecond = enumerations / idleSeconds;
    const double cpuPerMinute = idleCpu / idleSeconds * 60.0;
    const double corePercent = idleCpu / idleSeconds * 100.0;
    std::printf("idle search with no keypad: %d enumerations and %.4f CPU s in %.2f s\n",
                enumerations, idleCpu, idleSeconds);
    printFigure("idle search: enumerations per second", enumsPerSecond, "/s", kEnumTargetPerSecond);
    std::printf("%-44s %9.4f s/min\n", "idle search: CPU seconds per minute", cpuPerMinute);
    printFigure("idle search: share of one core", corePercent, "%", kIdleCoreTargetPercent);
    monitor.restart();

    // One resize-triggered rescale at every layout, between the design size
    // and four fifths of it.
    QTimer *resizeTimer = resizeTimerOf(*window);
    if (!resizeTimer) {
        std::printf("FAILED: the window's resize timer was not found\n");
        return 1;
    }
    RescaleTimer rescale(resizeTimer);
    double longestRescale = 0;
    double longestRescaleStall = 0;
    bool small = false;
    std::printf("rescale per layout (one resize each, applyScale timed from the debounce tick):\n");
    for (int id = 0; id < kLayoutCount; ++id) {
        window->applyLayout(layoutById(id));
        spinFor(100);
        small = !small;
        const int before = rescale.count();
        const int mark = tracing()->mark();
        monitor.restart();
        window->resize(small ? QSize(1200, 880) : QSize(1500, 1100));
        const bool ran = spinUntil([&] { return rescale.count() > before; }, 2000);
        spinFor(60);
        const double stall = monitor.longestMs();
        explainStall(mark, stall);
        longestRescale = std::max(longestRescale, rescale.lastMs());
        longestRescaleStall = std::max(longestRescaleStall, stall);
        std::printf("  layout %d %-18s %s  rescale %6.2f ms  longest stall %6.2f ms  %s\n", id,
                    qPrintable(window->currentLayout().name), small ? "1500->1200" : "1200->1500",
                    ran ? rescale.lastMs() : -1.0, stall, verdict(std::max(rescale.lastMs(), stall), kFrameMs));
    }
    printFigure("longest rescale (applyScale)", longestRescale, "ms", kFrameMs);

    // Connect: a keypad plugged in while the window runs.
    const QString viewText = translateText(QStringLiteral("View Settings"));
    const QString saveText = translateText(QStringLiteral("Save Settings"));
    int mark = tracing()->mark();
    monitor.restart();
    VirtualKeypad::installDemoKeypad("16k3e");
    const bool connected = spinUntil(
        [&] {
            QPushButton *view = buttonWithText(*window, viewText);
            return view && view->isEnabled();
        },
        5000);
    spinFor(1000); // the connect task reads the keypad's description
    const double connectStall = monitor.longestMs();
    explainStall(mark, connectStall);

    // View Settings: the whole keypad read into the window.
    QPushButton *viewButton = buttonWithText(*window, viewText);
    monitor.restart();
    if (viewButton)
        viewButton->click();
    spinFor(1500);
    const double viewStall = monitor.longestMs();

    // Save Settings after edits on every layer.
    KeyboardData &store = window->keyboardData();
    for (int layer = 0; layer < kLayerCount; ++layer)
        for (int key = 0; key < 16; ++key) {
            store.updateKey(layer, key, [&](KeyConfig &k) { k.setSingleKey(uint8_t(0x04 + (key + layer) % 26)); });
            store.updateKey(layer, key, [&](KeyConfig &k) { k.dirty = 1; });
        }
    QPushButton *saveButton = buttonWithText(*window, saveText);
    monitor.restart();
    if (saveButton)
        saveButton->click();
    const bool saved = spinUntil([&] { return !anyDirty(store); }, 10000);
    spinFor(200);
    const double saveStall = monitor.longestMs();

    // A rescale with the keypad connected.
    small = !small;
    mark = tracing()->mark();
    monitor.restart();
    window->resize(small ? QSize(1200, 880) : QSize(1500, 1100));
    spinFor(300);
    explainStall(mark, monitor.longestMs());
    const double rescaleStall = std::max(monitor.longestMs(), longestRescaleStall);

    // The first show of each page, the keypad connected.
    QListWidget *functionList = window->findChild<QListWidget *>();
    double pageStall = 0;
    if (functionList) {
        std::printf("first show of each page:\n");
        for (int row = functionList->count() - 1; row >= 0; --row) {
            const double stall = stallAround(monitor, [&] { functionList->setCurrentRow(row); });
            pageStall = std::max(pageStall, stall);
            std::printf("  %-30s longest stall %6.2f ms  %s\n",
                        qPrintable(functionList->item(row)->text()), stall,
                        verdict(stall, kFrameMs));
        }
        functionList->setCurrentRow(0);
        spinFor(100);
    }

    // An import: every key of every layer given a long combination in a
    // file, the keys emptied, then the file imported with its preview
    // accepted at once.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("keypad.json"));
    KeypadFileCommands *files = window->findChild<KeypadFileCommands *>();
    files->setChooseFile([&](bool, const QString &) { return path; });
    // The stall counts from the preview's close: building it is the
    // dialog's opening, which the user waits for anyway.
    files->setShowPreview([&](ImportPreview &) {
        monitor.restart();
        return true;
    });
    files->setShowRefusal([](const QString &message) {
        std::printf("import refused: %s\n", qPrintable(message));
    });
    for (int layer = 0; layer < kLayerCount; ++layer)
        for (int key = 0; key < 16; ++key)
            store.updateKey(layer, key, [&](KeyConfig &k) {
                k.setCombination(0x07, QByteArray(1, char(0x3A + (key + layer) % 12)));
            });
    const bool exported = files->exportToFile();
    for (int layer = 0; layer < kLayerCount; ++layer) {
        store.setCurrentLayer(layer);
        store.clearAllKeys();
    }
    store.setCurrentLayer(0);
    spinFor(100);
    bool imported = false;
    const double importStall
        = stallAround(monitor, [&] { imported = exported && files->importPath(path); });

    // Every legend fitted again at a size the window has not had yet.
    const double refitStall
        = stallAround(monitor, [&] { window->resize(QSize(1350, 990)); });

    // What one whole paint of the window costs with every cache warm: the
    // floor under any stall that repaints the window.
    double wholePaint = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer paint;
        paint.start();
        window->repaint();
        wholePaint = std::min(wholePaint, paint.nsecsElapsed() / 1e6);
        spinFor(20);
    }
    std::printf("whole window painted again, nothing changed: %.2f ms (fastest of 5)\n",
                wholePaint);

    std::printf("connect %s, view %s, save %s, import %s\n", connected ? "ok" : "FAILED",
                viewButton ? "clicked" : "NO BUTTON", saved ? "ok" : "FAILED",
                imported ? "ok" : "FAILED");
    printFigure("longest UI stall: connect", connectStall, "ms", kFrameMs);
    printFigure("longest UI stall: View Settings", viewStall, "ms", kFrameMs);
    printFigure("longest UI stall: Save Settings", saveStall, "ms", kFrameMs);
    printFigure("longest UI stall: rescale (any layout)", rescaleStall, "ms", kFrameMs);
    printFigure("longest UI stall: first show of a page", pageStall, "ms", kFrameMs);
    printFigure("longest UI stall: import applied", importStall, "ms", kFrameMs);
    printFigure("longest UI stall: legends refitted, new size", refitStall, "ms", kFrameMs);

    window.reset();
    printFigure("peak memory (ru_maxrss)", peakMemoryMiB(), "MiB", kPeakMemoryTargetMiB);
    return connected && saved && viewButton && imported ? 0 : 1;
}
