// How close a full read and a full save come to what the protocol allows, and
// how long the UI thread's event loop ever waits meanwhile.
//
// A fully programmed 16-key 3-knob keypad (every slot set, several 64-step
// macros, all lighting changed) on the virtual keypad at 1 ms per reply
// report. The floor of an operation is its fixed pauses (20 ms after each
// layer read; 10 ms after each key or lighting write, 5 ms after each macro
// chunk) plus one report time per reply the keypad sent. A save reads back
// the layers and lighting it wrote; its check is held against the save's own
// floor plus the measured read of those layers. Targets: ratios of at most
// 1.10, and no stall of the event loop above 16 ms.

#include "stallmonitor.h"

#include "device/hidmanager.h"
#include "keypad/storesave.h"
#include "model/keyboarddata.h"
#include "virtualkeypad.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QTimer>
#include <QtConcurrent>
#include <cstdio>

namespace {

constexpr int kLatencyMs = 1;

// Runs `work` on the thread pool while the UI thread's event loop spins.
template <typename T, typename F>
T runOnWorker(F work)
{
    QFutureWatcher<T> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<T>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run(work));
    loop.exec();
    return watcher.result();
}

int repliesSent()
{
    int count = 0;
    for (const VirtualReportRecord &record : VirtualKeypad::records())
        count += record.direction == VirtualReportRecord::Direction::DeviceToHost ? 1 : 0;
    return count;
}

int writesWithCommand(int command)
{
    int count = 0;
    for (const auto &report : VirtualKeypad::writtenReports())
        count += report.size() > 1 && report[1] == command ? 1 : 0;
    return count;
}

QVector<MacroStep> steps(int count, int offset)
{
    QVector<MacroStep> list;
    for (int i = 0; i < count; ++i)
        list.append(MacroStep{uint8_t(i % 2), uint8_t(0x04 + (i / 2 + offset) % 26), uint16_t(20 + i)});
    return list;
}

// Every slot of every layer assigned, a 64-step macro on every knob press,
// every layer's effect and colours changed.
void programEverything(KeyboardData &store)
{
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key) {
            KeyConfig slot;
            const bool knobPress = key >= 16 && (key - 16) % 3 == 2;
            switch (knobPress ? -1 : (key + layer) % 5) {
            case -1: slot.setMacro(steps(kMaxMacroSteps, key)); break;
            case 0: slot.setSingleKey(uint8_t(0x04 + key)); break;
            case 1: slot.setMacro(steps(4 + key, key)); break;
            case 2: slot.setMedia(uint16_t(0x00E9)); break;
            case 3: slot.setMouseAction(uint8_t(key % 16)); break;
            default: slot.setCombination(0x01, QByteArray(1, char(0x04 + key))); break;
            }
            store.replaceKey(layer, key, slot);
        }
        store.setLayerEffect(layer, uint8_t(2 + layer));
        for (int led = 0; led < kLedCount; ++led)
            store.setLedColor(layer, led, uint8_t(16 * led), uint8_t(50 * layer), 7);
    }
}

void printRatio(const char *what, double measuredMs, double pausesMs, int replies)
{
    const double floorMs = pausesMs + replies * kLatencyMs;
    std::printf("%-5s measured %8.1f ms  floor %8.1f ms (pauses %.0f ms + %d replies x %d ms)  "
                "ratio %.3f\n",
                what, measuredMs, floorMs, pausesMs, replies, kLatencyMs, measuredMs / floorMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("zentrik.*.debug=false"));
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    VirtualKeypad::reset();
    VirtualKeypad::plug();
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(kLatencyMs));

    // A programmed store, preloaded into the keypad for the read.
    KeyboardData store;
    programEverything(store);
    HIDManager manager;
    StallMonitor monitor;

    // Connect: the search finds the keypad, the connect task reads its description.
    QEventLoop waitConnected;
    QObject::connect(&manager, &HIDManager::deviceConnected, &waitConnected, &QEventLoop::quit);
    monitor.restart();
    manager.startMonitoring();
    waitConnected.exec();
    const bool infoOk = runOnWorker<bool>([&manager] {
        DeviceInfo info;
        return manager.readDeviceInfo(info);
    });
    const double connectStall = monitor.longestMs();

    // Bring the programmed contents onto the keypad unmeasured, then read them.
    {
        const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
        runOnWorker<SaveResult>([&] { return manager.saveSnapshot(snapshot); });
    }
    VirtualKeypad::clearRecords();
    monitor.restart();
    QElapsedTimer clock;
    clock.start();
    KeyLayers layers;
    LedLayers lighting;
    const bool readOk = runOnWorker<bool>([&] { return manager.readAllConfiguration(layers, lighting); });
    const double readMs = clock.nsecsElapsed() / 1e6;
    const double readStall = monitor.longestMs();
    const int readReplies = repliesSent();

    // Everything marked changed again, saved from a snapshot.
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key)
            store.updateKey(layer, key, [](KeyConfig &record) { record.dirty = 1; });
        LedLayerConfig lighting = store.ledLayers()[layer];
        lighting.dirty = 1;
        store.replaceLedLayer(layer, lighting);
    }
    VirtualKeypad::clearRecords();
    monitor.restart();
    clock.restart();
    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
    const SaveResult result = runOnWorker<SaveResult>([&] { return manager.saveSnapshot(snapshot); });
    applySaveResult(store, result);
    const double saveMs = clock.nsecsElapsed() / 1e6;
    const double saveStall = monitor.longestMs();
    const int saveReplies = repliesSent();
    const int items = snapshot.itemCount();
    const int chunks = writesWithCommand(2);
    // Each write is acknowledged once; every other reply belongs to the reads
    // that check the save.
    const int writeReplies = writesWithCommand(1) + chunks + writesWithCommand(5) + writesWithCommand(9);

    std::printf("\nDevice link, 16 keys + 3 knobs, every slot and all lighting, %d ms per reply\n",
                kLatencyMs);
    std::printf("description %s, read %s, save %s (%d items, %d macro chunks)\n",
                infoOk ? "ok" : "FAILED", readOk ? "ok" : "FAILED", result.ok ? "ok" : "FAILED",
                items, chunks);
    printRatio("read", readMs, kLayerCount * 20.0, readReplies);
    printRatio("save", saveMs, items * 10.0 + chunks * 5.0, saveReplies);
    const double writesFloorMs = items * 10.0 + chunks * 5.0 + writeReplies * kLatencyMs;
    std::printf("save with its check %.1f ms against the writes' floor %.1f ms + the read of the "
                "touched layers %.1f ms = %.1f ms: ratio %.3f\n",
                saveMs, writesFloorMs, readMs, writesFloorMs + readMs,
                saveMs / (writesFloorMs + readMs));
    std::printf("longest UI stall: connect %.1f ms, read %.1f ms, save %.1f ms (target <= 16 ms)\n",
                connectStall, readStall, saveStall);
    return infoOk && readOk && result.ok ? 0 : 1;
}
