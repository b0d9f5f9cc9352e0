// A keypad plugged in and pulled out, as the window sees it: plug to "Device
// connected", plug to every layer shown, unplug to the window blanked, and
// the enumerations a second while no keypad is there. Once with the device
// events of the virtual keypad's bus (as udev's would come) and once with
// the 2 Hz search alone, on the same machine.
//
// Runs offscreen. Targets with events: plug to every layer shown within
// 1.1 x the read's own floor (opening and reading the keypad on its own)
// plus 50 ms; unplug to blanked within 50 ms; at most 0.1 enumerations a
// second while idle.

#include "benchloop.h"
#include "keypad/settingsfile.h"

#include "app/look/imagememory.h"
#include "app/window/widget.h"
#include "device/devicewatcher.h"
#include "device/hidmanager.h"
#include "keypad/connectresult.h"
#include "virtualkeypad.h"
#include "virtualwatcher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QThreadPool>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 12;
constexpr int kIdleSeconds = 12;
constexpr double kUnplugTargetMs = 50.0;
constexpr double kIdleEnumTargetPerSecond = 0.1;
constexpr char kModel[] = "16k3e";

struct Figures {
    std::vector<double> connected, layers, blanked;
    double enumerationsPerSecond = 0;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double maximum(const std::vector<double> &values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// Opening the keypad and reading everything the window shows, with nothing
// else running: what no plug can beat.
double readFloorMs()
{
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        VirtualKeypad::reset();
        VirtualKeypad::installDemoKeypad(kModel);
        HIDManager link;
        QElapsedTimer clock;
        clock.start();
        if (!link.openDevice())
            return -1;
        readConnectedKeypad(link);
        runs.push_back(clock.nsecsElapsed() / 1e6);
    }
    VirtualKeypad::reset();
    return median(runs);
}

Figures measure(Widget &window, const char *source)
{
    Figures figures;
    QLabel *status = window.findChild<QLabel *>(QStringLiteral("topTipBar"));
    const QString connected = QStringLiteral("Device connected");
    const QString none = QStringLiteral("Connect the device with a usb cable");
    const auto firstKeyShown = [&] {
        // The control in the first slot, found as a script finds it.
        for (QPushButton *key : window.findChildren<QPushButton *>())
            if (key->property("buttonIndex") == QVariant(0))
                return !key->text().isEmpty();
        return false;
    };
    for (int run = 0; run < kRuns; ++run) {
        VirtualKeypad::reset();
        spinUntil([&] { return status->text() == none; }, 3000);
        // Plugs fall on every phase of the search's half second.
        spinFor(600 + run * 500 / kRuns);

        QElapsedTimer clock;
        clock.start();
        VirtualKeypad::installDemoKeypad(kModel);
        if (!spinUntil([&] { return status->text() == connected; }, 5000))
            break;
        figures.connected.push_back(clock.nsecsElapsed() / 1e6);
        if (!spinUntil(firstKeyShown, 5000))
            break;
        figures.layers.push_back(clock.nsecsElapsed() / 1e6);
        spinUntil([] { return QThreadPool::globalInstance()->activeThreadCount() == 0; }, 5000);
        // Unplugs fall on every phase of the presence probe's second.
        spinFor(100 + run * 1000 / kRuns);

        clock.restart();
        VirtualKeypad::unplug();
        if (!spinUntil([&] { return status->text() == none && !firstKeyShown(); }, 5000))
            break;
        figures.blanked.push_back(clock.nsecsElapsed() / 1e6);
    }

    VirtualKeypad::reset();
    spinFor(1000);
    VirtualKeypad::clearCounters();
    QElapsedTimer idle;
    idle.start();
    spinFor(kIdleSeconds * 1000);
    figures.enumerationsPerSecond = VirtualKeypad::enumerateCount() / (idle.nsecsElapsed() / 1e9);

    std::printf("\n%s: %zu plugs and unplugs of the %s demo keypad\n", source,
                figures.blanked.size(), kModel);
    std::printf("  plug -> \"Device connected\"   median %7.1f ms  max %7.1f ms\n",
                median(figures.connected), maximum(figures.connected));
    std::printf("  plug -> every layer shown    median %7.1f ms  max %7.1f ms\n",
                median(figures.layers), maximum(figures.layers));
    std::printf("  unplug -> blanked            median %7.1f ms  max %7.1f ms\n",
                median(figures.blanked), maximum(figures.blanked));
    std::printf("  idle enumerations            %7.2f /s over %d s\n", figures.enumerationsPerSecond,
                kIdleSeconds);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    prepareBenchProcess();
    Q_INIT_RESOURCE(resources);
    reuseFreedImageMemory();
    VirtualKeypad::reset();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    HIDManager::setRequestLinesPrinted(false);

    const double floorMs = readFloorMs();
    std::printf("read's own floor (open + read of every layer): %.1f ms\n", floorMs);

    HIDManager::instance()->setWatcher(new VirtualBusWatcher);
    auto window = std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
    window->show();
    spinFor(500);
    const Figures events = measure(*window, "Device events");
    HIDManager::instance()->setWatcher(new PollWatcher);
    const Figures polling = measure(*window, "2 Hz search");

    std::printf("\nWith device events (targets), and the 2 Hz search beside them\n");
    const double layersTarget = 1.1 * floorMs + 50.0;
    printFigure("plug -> every layer shown (median)", median(events.layers), "ms", layersTarget);
    printFigure("plug -> every layer shown (max)", maximum(events.layers), "ms", layersTarget);
    printFigure("unplug -> blanked (median)", median(events.blanked), "ms", kUnplugTargetMs);
    printFigure("unplug -> blanked (max)", maximum(events.blanked), "ms", kUnplugTargetMs);
    printFigure("idle enumerations per second", events.enumerationsPerSecond, "/s",
                kIdleEnumTargetPerSecond);
    std::printf("2 Hz search: plug -> connected %.1f ms, -> layers %.1f ms, unplug -> blanked "
                "%.1f ms, idle %.2f enumerations/s (medians; events faster by %.1fx, %.1fx, "
                "%.1fx)\n",
                median(polling.connected), median(polling.layers), median(polling.blanked),
                polling.enumerationsPerSecond,
                median(polling.connected) / std::max(0.001, median(events.connected)),
                median(polling.layers) / std::max(0.001, median(events.layers)),
                median(polling.blanked) / std::max(0.001, median(events.blanked)));
    return events.blanked.size() == size_t(kRuns) && polling.blanked.size() == size_t(kRuns) ? 0 : 1;
}
