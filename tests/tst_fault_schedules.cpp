// Saves under randomized fault schedules, on the current protocol and on both
// legacy families. Each schedule is numbered; the generator's starting state
// is derived from that number and printed, so a failing schedule can be run
// again on its own (ZENTRIK_SCHEDULE=<number> runs just that one).
// ZENTRIK_FAULT_SCHEDULES=<count> runs that many current-protocol schedules
// (and a quarter as many per legacy family) instead of the short default run.
//
// After every faulty save the keypad is plugged back, reconnected and read:
//   - every item whose mark the save cleared is on the keypad as assigned;
//   - every item still marked goes out with the next (fault-free) save;
//   - an edit made while the save ran is not lost;
//   - the save returned within a bound derived from the protocol's deadlines.

#include "legacy/legacyread.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacysession.h"
#include "legacy/legacytables.h"
#include "tst_device_support.h"
#include "tst_store_save.h"
#include "tst_legacy_support.h"

#include <QElapsedTimer>
#include <QtConcurrent>
#include <set>

namespace {

constexpr int kCurrentSchedules = 100;
constexpr int kLegacySchedulesPerFamily = 25;

// splitmix64: small, fast and the same on every platform.
class ScheduleRandom
{
public:
    explicit ScheduleRandom(uint64_t state) : m_state(state) {}
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % uint64_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }

private:
    uint64_t m_state;
};

uint64_t rngStateOf(int family, int scheduleNumber)
{
    return (uint64_t(family + 1) << 32) ^ (uint64_t(scheduleNumber) * 0x2545F4914F6CDD1Dull);
}

// The number of current-protocol schedules: ZENTRIK_FAULT_SCHEDULES when set
// to a positive count, else the short run. Legacy families get a quarter.
int currentScheduleCount()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("ZENTRIK_FAULT_SCHEDULES", &ok);
    return ok && count > 0 ? count : kCurrentSchedules;
}

int legacyScheduleCount()
{
    return currentScheduleCount() == kCurrentSchedules
               ? kLegacySchedulesPerFamily
               : qMax(1, currentScheduleCount() / 4);
}

// -1: every schedule; otherwise the one named in ZENTRIK_SCHEDULE.
int onlySchedule()
{
    bool ok = false;
    const int number = qEnvironmentVariableIntValue("ZENTRIK_SCHEDULE", &ok);
    return ok ? number : -1;
}

uint8_t randomUsage(ScheduleRandom &rng) { return uint8_t(rng.between(0x04, 0x65)); }

// Any assignment the pages can make, 64-step macros included.
KeyConfig randomRecord(ScheduleRandom &rng)
{
    KeyConfig record;
    switch (rng.below(6)) {
    case 0:
        break;
    case 1:
        record.setSingleKey(randomUsage(rng));
        break;
    case 2: {
        QByteArray usages;
        const int count = rng.between(1, 6);
        for (int i = 0; i < count; ++i)
            usages.append(char(randomUsage(rng)));
        record.setCombination(uint8_t(rng.below(256)), usages);
        break;
    }
    case 3: {
        QVector<MacroStep> steps;
        const int count = rng.percent(30) ? kMaxMacroSteps : rng.between(1, kMaxMacroSteps);
        for (int i = 0; i < count; ++i)
            steps.append(MacroStep{uint8_t(i % 2), randomUsage(rng), uint16_t(rng.below(500))});
        record.setMacro(steps);
        break;
    }
    case 4:
        record.setMedia(uint16_t(rng.between(0x00B0, 0x0230)));
        break;
    default:
        record.setMouseAction(uint8_t(rng.below(16)));
        break;
    }
    record.dirty = 1;
    return record;
}

VirtualKeySlot virtualSlotOf(const KeyConfig &record)
{
    switch (record.type) {
    case KeyTypeSingle:
        return VirtualKeySlot::singleKey(record.keycode);
    case KeyTypeCombination:
        return VirtualKeySlot::combination(
            record.modifiers, std::vector<uint8_t>(record.keycodes.begin(), record.keycodes.end()));
    case KeyTypeMacro: {
        std::vector<VirtualKeySlot::MacroStep> steps;
        for (const MacroStep &step : record.macroSteps)
            steps.push_back({step.action, step.keycode, step.delay});
        return VirtualKeySlot::macro(steps);
    }
    case KeyTypeMedia:
        return VirtualKeySlot::media(record.mediaCode);
    case KeyTypeMouse:
        return VirtualKeySlot::mouse(record.mouseAction);
    default:
        return VirtualKeySlot::empty();
    }
}

void randomLightingEdit(ScheduleRandom &rng, KeyboardData &store, int layerCount)
{
    const int layer = rng.below(layerCount);
    if (rng.percent(50))
        store.setLayerEffect(layer, uint8_t(rng.below(8)));
    const int leds = rng.between(1, 4);
    for (int i = 0; i < leds; ++i)
        store.setLedColor(layer, rng.below(kLedCount), uint8_t(rng.below(256)),
                          uint8_t(rng.below(256)), uint8_t(rng.below(256)));
}

QString where(int layer, int key) { return QStringLiteral("layer %1 key %2").arg(layer).arg(key); }

// Runs `work` on the global pool while this thread, acting as the UI thread,
// keeps its event loop going and runs `onUiThread` (edits during the save).
// False when the work outlived `boundMs`; it is still awaited then.
template <typename Work, typename UiStep>
bool runBounded(QFuture<SaveResult> &future, Work work, qint64 boundMs, UiStep onUiThread,
                qint64 &elapsedMs)
{
    QElapsedTimer timer;
    timer.start();
    future = QtConcurrent::run(work);
    bool inTime = true;
    while (!future.isFinished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        onUiThread(timer.elapsed());
        if (timer.elapsed() > boundMs) {
            inTime = false;
            future.waitForFinished();
        }
        QThread::msleep(1);
    }
    elapsedMs = timer.elapsed();
    QCoreApplication::processEvents();
    return inTime;
}

// Worst case of the current protocol: every packet attempted three times,
// each waiting out the 500 ms acknowledgement deadline, 50 ms apart.
qint64 currentSaveBoundMs(const SaveSnapshot &snapshot, int spikeMs)
{
    qint64 packets = snapshot.lighting.size();
    for (const SavedKey &item : snapshot.keys) {
        if (item.record.type == KeyTypeMacro)
            packets += (9 + 1 + 4 * item.record.macroSteps.size() - 1) / 56 + 1;
        else
            packets += 1;
    }
    // Then the save reads back each layer it wrote keys to (5 s deadline) and
    // each lighting record (1.5 s).
    std::set<int> layers;
    for (const SavedKey &item : snapshot.keys)
        layers.insert(item.layer);
    const qint64 readBack = qint64(layers.size()) * 5000 + snapshot.lighting.size() * 1500;
    const qint64 worst = packets * 3 * (500 + 50 + 5) + snapshot.itemCount() * 10 + spikeMs + readBack;
    return 3 * worst + 2000;
}

// Legacy writes are never acknowledged: the pauses are the deadlines.
qint64 legacySaveBoundMs(const SaveSnapshot &snapshot)
{
    // Then each layer is read back (a report, 120 ms at most, per key) and the
    // lighting once per layer.
    const qint64 readBack = 4 * (25 * 120 + 120);
    const qint64 worst = snapshot.keys.size() * 20 + snapshot.lighting.size() * 20 + 200 + readBack;
    return 3 * worst + 2000;
}

} // namespace

class TestFaultSchedules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { VirtualKeypad::reset(); }
    void currentProtocolSchedules();
    void legacySchedules_data();
    void legacySchedules();

private:
    void runCurrentSchedule(int scheduleNumber);
    void runLegacySchedule(legacytest::Family family, int scheduleNumber);
};

void TestFaultSchedules::initTestCase()
{
    // Hundreds of saves under faults log thousands of lines, warnings
    // among them; a single schedule run again on its own keeps them.
    if (onlySchedule() < 0)
        QLoggingCategory::setFilterRules(QStringLiteral("zentrik.*.debug=false\n"
                                                        "zentrik.*.warning=false"));
}

// ---------------------------------------------------------------------------
// Current protocol

void TestFaultSchedules::currentProtocolSchedules()
{
    const int only = onlySchedule();
    int ran = 0;
    // A schedule named on its own runs whatever the count.
    const int count = qMax(currentScheduleCount(), only + 1);
    for (int number = 0; number < count; ++number) {
        if (only >= 0 && number != only)
            continue;
        runCurrentSchedule(number);
        if (QTest::currentTestFailed())
            return;
        ++ran;
    }
    qInfo("current protocol: %d fault schedules ran", ran);
}

void TestFaultSchedules::runCurrentSchedule(int scheduleNumber)
{
    const uint64_t rngState = rngStateOf(0, scheduleNumber);
    ScheduleRandom rng(rngState);
    const QString schedule = QStringLiteral("current schedule %1 (rngState 0x%2)")
                                 .arg(scheduleNumber)
                                 .arg(rngState, 16, 16, QLatin1Char('0'));

    VirtualKeypad::reset();
    VirtualKeypadConfig config = modelConfig(16, 3);
    config.model.layerCount = 4;
    const int device = VirtualKeypad::plug(config);
    const auto latency = std::chrono::milliseconds(rng.below(2));
    VirtualKeypad::setReplyLatency(latency, device);

    // What the keypad holds before the user starts editing.
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key) {
            if (rng.percent(30))
                VirtualKeypad::setKey(layer, key, virtualSlotOf(randomRecord(rng)), device);
        }
        if (rng.percent(50)) {
            VirtualLighting lighting;
            lighting.effect = uint8_t(rng.below(8));
            for (auto &rgb : lighting.colors)
                rgb = {uint8_t(rng.below(256)), uint8_t(rng.below(256)), uint8_t(rng.below(256))};
            VirtualKeypad::setLighting(layer, lighting, device);
        }
    }

    HIDManager manager;
    QVERIFY2(manager.openDevice(), qPrintable(schedule));
    DeviceInfo info;
    QVERIFY2(manager.readDeviceInfo(info), qPrintable(schedule));
    KeyboardData store;
    {
        KeyLayers layers;
        LedLayers lighting;
        QVERIFY2(manager.readAllConfiguration(layers, lighting), qPrintable(schedule));
        store.loadLayers(layers);
        store.loadLighting(lighting);
    }

    // The user's edits, marked changed.
    const int edits = rng.between(1, 6);
    for (int i = 0; i < edits; ++i) {
        const int layer = rng.below(kLayerCount);
        const int key = rng.below(kKeySlotCount);
        store.updateKey(layer, key, [&](KeyConfig &k) { k = randomRecord(rng); });
    }
    if (rng.percent(40))
        randomLightingEdit(rng, store, kLayerCount);

    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
    const int items = snapshot.itemCount();

    // The fault plan. The faults pick among the write commands (1 key, 2 macro
    // chunk, 5 clear, 9 lighting); "any command" also meets the reads that
    // check the writes.
    static const int writeCommands[] = {1, 2, 5, 9};
    QStringList plan;
    const int faults = rng.between(1, 2);
    for (int i = 0; i < faults; ++i) {
        const int command = rng.percent(25) ? VirtualKeypad::AnyCommand : writeCommands[rng.below(4)];
        const int nth = rng.between(1, 4);
        switch (rng.below(8)) {
        case 6:
            VirtualKeypad::forgetWrite(command, nth, device);
            plan << QStringLiteral("request %1 of command %2 acknowledged, then forgotten").arg(nth).arg(command);
            break;
        case 7:
            VirtualKeypad::alterStored(command, nth, device);
            plan << QStringLiteral("request %1 of command %2 stored altered").arg(nth).arg(command);
            break;
        case 0:
            VirtualKeypad::dropReply(command, nth, device);
            plan << QStringLiteral("drop reply %1 of command %2").arg(nth).arg(command);
            break;
        case 1: {
            const uint8_t status = rng.percent(50) ? VirtualKeypad::StatusBadChecksum
                                                   : VirtualKeypad::StatusNoSuchKey;
            const int count = rng.between(1, 3);
            VirtualKeypad::nakNext(status, count, command, device);
            plan << QStringLiteral("NAK status %1 for %2 requests of command %3")
                        .arg(status).arg(count).arg(command);
            break;
        }
        case 2:
            VirtualKeypad::corruptReplyChecksum(command, nth, 0, device);
            plan << QStringLiteral("corrupt checksum of reply to request %1 of command %2")
                        .arg(nth).arg(command);
            break;
        case 3:
            VirtualKeypad::staleAckFirst(command, nth, device);
            plan << QStringLiteral("stale ACK before request %1 of command %2").arg(nth).arg(command);
            break;
        case 4: {
            const int write = rng.between(1, 12);
            VirtualKeypad::unplugAfterWrite(write, device);
            plan << QStringLiteral("unplug after write %1").arg(write);
            break;
        }
        default:
            VirtualKeypad::failWrite(command, nth, device);
            plan << QStringLiteral("hid_write fails for request %1 of command %2").arg(nth).arg(command);
            break;
        }
    }

    // Worker-thread events at a given item: a latency spike, or the cable
    // pulled while a report is on its way.
    const int spikeAt = rng.percent(30) ? rng.below(items) : -1;
    const int spikeMs = rng.between(50, 450);
    const int unplugAt = rng.percent(15) ? rng.below(items) : -1;
    if (spikeAt >= 0)
        plan << QStringLiteral("latency %1 ms from item %2").arg(spikeMs).arg(spikeAt);
    if (unplugAt >= 0)
        plan << QStringLiteral("unplug at item %1").arg(unplugAt);
    const QMetaObject::Connection workerHook = connect(
            &manager, &HIDManager::progressUpdated, &manager, [=](int current, int, const QString &) {
                if (current == spikeAt)
                    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(spikeMs), device);
                else if (spikeAt >= 0 && current == spikeAt + 1)
                    VirtualKeypad::setReplyLatency(latency, device);
                if (current == unplugAt)
                    VirtualKeypad::unplug(device);
            },
            Qt::DirectConnection);

    // An edit made on the UI thread while the save runs, at a given item.
    const int editAt = rng.percent(50) ? rng.below(items) : -1;
    const int editLayer = rng.below(kLayerCount);
    const int editKey = rng.below(kKeySlotCount);
    const KeyConfig editRecord = randomRecord(rng);
    const bool editLighting = rng.percent(30);
    const int lightingEditState = int(rng.next() & 0x7FFFFFFF);
    bool editDone = false;
    int progressSeen = -1;
    QObject uiContext;
    connect(&manager, &HIDManager::progressUpdated, &uiContext,
            [&](int current, int, const QString &) { progressSeen = current; },
            Qt::QueuedConnection);
    if (editAt >= 0)
        plan << QStringLiteral("edit layer %1 key %2 at item %3").arg(editLayer).arg(editKey).arg(editAt);
    const QString described = schedule + QStringLiteral(": ") + plan.join(QStringLiteral("; "));

    QFuture<SaveResult> save;
    qint64 elapsedMs = 0;
    const qint64 boundMs = currentSaveBoundMs(snapshot, spikeMs);
    const bool inTime = runBounded(
        save, [&manager, snapshot] { return manager.saveSnapshot(snapshot); }, boundMs,
        [&](qint64) {
            if (editAt < 0 || editDone || progressSeen < editAt)
                return;
            editDone = true;
            store.updateKey(editLayer, editKey, [&](KeyConfig &k) { k = editRecord; });
            if (editLighting) {
                ScheduleRandom editRng{uint64_t(lightingEditState)};
                randomLightingEdit(editRng, store, kLayerCount);
            }
        },
        elapsedMs);
    // The reads that follow report progress too: the schedule is over.
    disconnect(workerHook);
    QVERIFY2(inTime, qPrintable(described + QStringLiteral(": save took %1 ms, bound %2 ms")
                                                .arg(elapsedMs).arg(boundMs)));
    const SaveResult result = save.result();
    QVERIFY2(result.started, qPrintable(described));
    QVERIFY2(result.ok == (result.failure == SaveFailure::None),
             qPrintable(described + QStringLiteral(": a failed save names no reason")));
    applySaveResult(store, result);
    QCOMPARE(int(manager.busy.load()), 0);

    // Plug back, reconnect and read everything.
    VirtualKeypad::clearFaults(device);
    VirtualKeypad::setReplyLatency(latency, device);
    if (!VirtualKeypad::isPlugged(device))
        VirtualKeypad::plugBack(device);
    manager.closeDevice();
    QVERIFY2(manager.openDevice(), qPrintable(described));
    QVERIFY2(manager.readDeviceInfo(info), qPrintable(described));
    KeyLayers readBack;
    LedLayers lightingBack;
    QVERIFY2(manager.readAllConfiguration(readBack, lightingBack), qPrintable(described));

    for (const SavedKey &item : snapshot.keys) {
        const KeyConfig &slot = store.layers()[item.layer][item.key];
        if (slot.dirty)
            continue;
        QVERIFY2(readBack[item.layer][item.key].sameAssignment(slot),
                 qPrintable(described + QStringLiteral(": cleared mark but not on the keypad, ")
                            + where(item.layer, item.key)));
    }
    for (const SavedLighting &item : snapshot.lighting) {
        const LedLayerConfig &record = store.ledLayers()[item.layer];
        if (record.isChanged())
            continue;
        QVERIFY2(lightingBack[item.layer].sameLighting(record),
                 qPrintable(described + QStringLiteral(": lighting of layer %1 cleared but not on the keypad")
                                            .arg(item.layer)));
    }

    // The next save takes everything still marked.
    QVERIFY2(saveAll(manager, store), qPrintable(described + QStringLiteral(": next save failed")));
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key) {
            QVERIFY2(!store.layers()[layer][key].dirty,
                     qPrintable(described + QStringLiteral(": still marked after the next save, ")
                                + where(layer, key)));
            QVERIFY2(VirtualKeypad::key(layer, key, device) == virtualSlotOf(store.layers()[layer][key]),
                     qPrintable(described + QStringLiteral(": keypad differs from the store, ")
                                + where(layer, key)));
        }
        QVERIFY2(!store.ledLayers()[layer].isChanged(), qPrintable(described));
        const VirtualLighting onKeypad = VirtualKeypad::lighting(layer, device);
        QCOMPARE(onKeypad.effect, store.ledLayers()[layer].effect);
        for (int led = 0; led < kLedCount; ++led) {
            const RgbColor &color = store.ledLayers()[layer].colors[led];
            QVERIFY2(onKeypad.colors[led] == (VirtualLighting::Rgb{color.r, color.g, color.b}),
                     qPrintable(described + QStringLiteral(": lighting of layer %1 lost").arg(layer)));
        }
    }
}

// ---------------------------------------------------------------------------
// Legacy families

void TestFaultSchedules::legacySchedules_data()
{
    QTest::addColumn<int>("family");
    QTest::newRow("R20Wide") << int(legacytest::Family::R20Wide);
    QTest::newRow("Old") << int(legacytest::Family::Old);
}

void TestFaultSchedules::legacySchedules()
{
    QFETCH(int, family);
    const int only = onlySchedule();
    int ran = 0;
    const int count = qMax(legacyScheduleCount(), only + 1);
    for (int number = 0; number < count; ++number) {
        if (only >= 0 && number != only)
            continue;
        runLegacySchedule(legacytest::Family(family), number);
        if (QTest::currentTestFailed())
            return;
        ++ran;
    }
    qInfo("%s: %d fault schedules ran", QTest::currentDataTag(), ran);
}

// What a legacy keypad gives back for `record`: the family keeps only what
// its key record can express.
static KeyConfig legacyExpected(int format, const KeyConfig &record, LegacyReport &encoded)
{
    encoded.fill(0);
    legacyEncode(format, record, encoded);
    KeyConfig decoded;
    legacyDecode(format, encoded.data(), int(encoded.size()), decoded);
    return decoded;
}

void TestFaultSchedules::runLegacySchedule(legacytest::Family family, int scheduleNumber)
{
    const uint64_t rngState = rngStateOf(1 + int(family), scheduleNumber);
    ScheduleRandom rng(rngState);
    const bool r20 = family == legacytest::Family::R20Wide;
    const int format = r20 ? LegacyFormatR20Wide : LegacyFormatOld;
    const QString schedule = QStringLiteral("%1 schedule %2 (rngState 0x%3)")
                                 .arg(legacyFamilyName(format))
                                 .arg(scheduleNumber)
                                 .arg(rngState, 16, 16, QLatin1Char('0'));

    VirtualKeypad::reset();
    std::unique_ptr<LegacyFirmware> firmware;
    if (r20)
        firmware = std::make_unique<R20WideFirmware>(R20WideFirmware::defaultIdentity());
    else
        firmware = std::make_unique<OldFirmware>(OldFirmware::defaultIdentity());
    const int layerCount = LegacyFirmware::LayerCount;
    for (int layer = 0; layer < layerCount; ++layer) {
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            const int wireKey = legacyWireKey(format, slot);
            if (wireKey < 0 || !rng.percent(30))
                continue;
            LegacyReport encoded;
            legacyExpected(format, randomRecord(rng), encoded);
            LegacyFirmware::Record record{};
            std::copy(encoded.begin() + LegacyFirmware::RecordOffset, encoded.end(), record.begin());
            firmware->setRecord(layer, wireKey, record);
        }
    }
    const int device = VirtualKeypad::plug(VirtualKeypadConfig(), std::move(firmware));
    VirtualKeypad::setReplyLatency(std::chrono::microseconds(rng.below(2) * 1000), device);
    auto withFirmware = [device](const std::function<void(LegacyFirmware &)> &fn) {
        VirtualKeypad::withFirmware(device, [&fn](VirtualFirmware &f) {
            fn(dynamic_cast<LegacyFirmware &>(f));
        });
    };

    HIDManager manager;
    QVERIFY2(manager.openDevice(), qPrintable(schedule));
    LegacyConnectResult connected = legacyConnectRead(manager);
    QVERIFY2(connected.legacyOk && connected.readComplete, qPrintable(schedule));
    const LegacyDeviceInfo info = connected.info;
    QCOMPARE(info.format, format);
    KeyboardData store;
    store.loadLayers(connected.layers);
    if (!connected.lighting.isEmpty())
        store.loadLighting(connected.lighting);

    // Edits only where the keypad has somewhere to keep them, as the window
    // refuses the others.
    auto randomWritable = [&](int &layer, int &slot) {
        layer = rng.below(layerCount);
        do
            slot = rng.below(kKeySlotCount);
        while (!legacyWritableSlot(format, slot));
    };
    std::set<std::pair<int, int>> edited;
    const int edits = rng.between(1, 6);
    for (int i = 0; i < edits; ++i) {
        int layer = 0, slot = 0;
        randomWritable(layer, slot);
        store.updateKey(layer, slot, [&](KeyConfig &k) { k = randomRecord(rng); });
        edited.insert({layer, slot});
    }
    if (rng.percent(40))
        randomLightingEdit(rng, store, layerCount);
    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);

    // Faults of a keypad that never answers a write: the write call fails,
    // the cable comes out, the keypad goes silent, or it takes a write and
    // does not keep it (forgets it, or stores it altered).
    QStringList plan;
    const int faults = rng.between(1, 2);
    for (int i = 0; i < faults; ++i) {
        switch (rng.below(5)) {
        // Reads answer from the keypad's working memory, so only what a read
        // can show is forgotten: a key write (not the commit), and the lighting
        // of an R20Wide (the Old keypads have no lighting read).
        case 3: {
            const bool lighting = r20 && !snapshot.lighting.isEmpty() && rng.percent(30);
            const int command = lighting ? 0xFE : 0xFD;
            const int nth = rng.between(1, lighting ? snapshot.lighting.size() : snapshot.keys.size());
            VirtualKeypad::forgetWrite(command, nth, device);
            plan << QStringLiteral("request %1 of command 0x%2 forgotten").arg(nth).arg(command, 0, 16);
            break;
        }
        case 4: {
            const int nth = rng.between(1, snapshot.keys.size());
            VirtualKeypad::alterStored(0xFD, nth, device);
            plan << QStringLiteral("key write %1 stored altered").arg(nth);
            break;
        }
        case 0: {
            const int command = rng.percent(70) ? 0xFD : 0xFE;
            const int nth = rng.between(1, 8);
            VirtualKeypad::failWrite(command, nth, device);
            plan << QStringLiteral("hid_write fails for request %1 of command 0x%2")
                        .arg(nth).arg(command, 0, 16);
            break;
        }
        case 1: {
            const int write = rng.between(1, 10);
            VirtualKeypad::unplugAfterWrite(write, device);
            plan << QStringLiteral("unplug after write %1").arg(write);
            break;
        }
        default: {
            const int answers = rng.below(3);
            withFirmware([answers](LegacyFirmware &f) { f.silenceAfter(answers); });
            plan << QStringLiteral("silent after %1 answers").arg(answers);
            break;
        }
        }
    }

    // An edit on the UI thread a little while into the save.
    const int editAfterMs = rng.percent(50) ? rng.below(150) : -1;
    int editLayer = 0, editSlot = 0;
    randomWritable(editLayer, editSlot);
    const KeyConfig editRecord = randomRecord(rng);
    bool editDone = false;
    if (editAfterMs >= 0)
        plan << QStringLiteral("edit layer %1 key %2 after %3 ms").arg(editLayer).arg(editSlot).arg(editAfterMs);
    const QString described = schedule + QStringLiteral(": ") + plan.join(QStringLiteral("; "));

    QFuture<SaveResult> save;
    qint64 elapsedMs = 0;
    const qint64 boundMs = legacySaveBoundMs(snapshot);
    const bool inTime = runBounded(
        save, [&manager, info, snapshot] { return legacySaveSession(manager, info, snapshot); },
        boundMs,
        [&](qint64 elapsed) {
            if (editAfterMs < 0 || editDone || elapsed < editAfterMs)
                return;
            editDone = true;
            store.updateKey(editLayer, editSlot, [&](KeyConfig &k) { k = editRecord; });
            edited.insert({editLayer, editSlot});
        },
        elapsedMs);
    QVERIFY2(inTime, qPrintable(described + QStringLiteral(": save took %1 ms, bound %2 ms")
                                                .arg(elapsedMs).arg(boundMs)));
    const SaveResult result = save.result();
    QVERIFY2(!result.started || result.ok == (result.failure == SaveFailure::None),
             qPrintable(described + QStringLiteral(": a failed save names no reason")));
    applySaveResult(store, result);
    QCOMPARE(int(manager.busy.load()), 0);

    // Plug back, reconnect, probe and read everything.
    VirtualKeypad::clearFaults(device);
    withFirmware([](LegacyFirmware &f) { f.silenceAfter(-1); });
    if (!VirtualKeypad::isPlugged(device))
        VirtualKeypad::plugBack(device);
    manager.closeDevice();
    QVERIFY2(manager.openDevice(), qPrintable(described));
    connected = legacyConnectRead(manager);
    QVERIFY2(connected.legacyOk && connected.readComplete, qPrintable(described));

    LegacyFirmware::Memory kept;
    withFirmware([&kept](LegacyFirmware &f) { kept = f.committed(); });
    auto checkOnKeypad = [&](int layer, int slot, const QString &what) {
        LegacyReport encoded;
        const KeyConfig expected = legacyExpected(format, store.layers()[layer][slot], encoded);
        if (!connected.layers[layer][slot].sameAssignment(expected))
            return what + QStringLiteral(" (read back), ") + where(layer, slot);
        const LegacyFirmware::Record &record = kept.records[size_t(layer)][size_t(legacyWireKey(format, slot) - 1)];
        if (!std::equal(record.begin(), record.end(), encoded.begin() + LegacyFirmware::RecordOffset))
            return what + QStringLiteral(" (not committed), ") + where(layer, slot);
        return QString();
    };
    auto checkLighting = [&](int layer) {
        const LedLayerConfig &record = store.ledLayers()[layer];
        if (r20)
            return connected.lighting[layer].sameLighting(record);
        return kept.lightingValue[size_t(layer)] == oldLightingValue(record);
    };

    for (const SavedKey &item : snapshot.keys) {
        if (store.layers()[item.layer][item.key].dirty)
            continue;
        const QString problem = checkOnKeypad(item.layer, item.key, QStringLiteral("cleared mark but not on the keypad"));
        QVERIFY2(problem.isEmpty(), qPrintable(described + QStringLiteral(": ") + problem));
    }
    for (const SavedLighting &item : snapshot.lighting) {
        if (store.ledLayers()[item.layer].isChanged())
            continue;
        QVERIFY2(checkLighting(item.layer),
                 qPrintable(described + QStringLiteral(": lighting of layer %1 cleared but not on the keypad")
                                            .arg(item.layer)));
    }

    // The next save takes everything still marked.
    const SaveSnapshot next = saveSnapshotOf(store, SaveKind::All);
    std::set<int> lightingChanged;
    for (const SaveSnapshot *saved : {&snapshot, &next})
        for (const SavedLighting &item : saved->lighting)
            lightingChanged.insert(item.layer);
    const SaveResult nextResult = legacySaveSession(manager, connected.info, next);
    QVERIFY2(nextResult.ok, qPrintable(described + QStringLiteral(": next save failed")));
    applySaveResult(store, nextResult);
    withFirmware([&kept](LegacyFirmware &f) { kept = f.committed(); });
    connected.layers.clear();
    {
        HIDManager::DeviceSession session(manager);
        QVERIFY2(legacyReadAllLayers(session.handle(), connected.info, connected.layers), qPrintable(described));
        if (r20)
            QVERIFY2(legacyReadLighting(session.handle(), connected.info, connected.lighting), qPrintable(described));
    }
    for (int layer = 0; layer < layerCount; ++layer) {
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            QVERIFY2(!store.layers()[layer][slot].dirty,
                     qPrintable(described + QStringLiteral(": still marked after the next save, ")
                                + where(layer, slot)));
        }
        QVERIFY2(!store.ledLayers()[layer].isChanged(), qPrintable(described));
        if (lightingChanged.count(layer))
            QVERIFY2(checkLighting(layer),
                     qPrintable(described + QStringLiteral(": lighting of layer %1 lost").arg(layer)));
    }
    for (const auto &slot : edited) {
        const QString problem = checkOnKeypad(slot.first, slot.second, QStringLiteral("edit lost"));
        QVERIFY2(problem.isEmpty(), qPrintable(described + QStringLiteral(": ") + problem));
    }
}

QTEST_GUILESS_MAIN(TestFaultSchedules)
#include "tst_fault_schedules.moc"
