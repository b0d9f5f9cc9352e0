// Writing keys, macros and lighting, and the two save flows.

#include "device/keypadslots.h"
#include "device/packet.h"
#include "device/savefailure.h"
#include "keypad/failuretexts.h"
#include "model/keytexts.h"
#include "tst_device_support.h"
#include "tst_language_support.h"
#include "tst_store_save.h"

#include <QtConcurrent>
#include <functional>

class TestDeviceWrites : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void encodesEveryPayloadType();
    void cutsMacrosIntoChunks();
    void skipsSlotsOutsideModel();
    void savesLightingOnly();
    void failedKeyKeepsOnlyItsMark();
    void failedSaveNamesItsReason();
    void keysOnlySaveReportsEachKey();
    void everythingWrittenReadsBack();
    void editDuringSaveKeepsItsMark();

private:
    HIDManager *manager = nullptr;
};

void TestDeviceWrites::init()
{
    manager = new HIDManager;
    QVERIFY(connectManager(*manager));
    VirtualKeypad::clearRecords();
}

void TestDeviceWrites::cleanup()
{
    delete manager;
    manager = nullptr;
}

// Packet bytes 0 to 3 and the key data block of one write-key report.
static Bytes writeKeyBlock(const Bytes &report)
{
    return Bytes(report.begin() + 5, report.begin() + 5 + report[4]);
}

void TestDeviceWrites::encodesEveryPayloadType()
{
    KeyConfig single;
    single.setSingleKey(0x1E);
    single.modifiers = 0x02;  // left over from an earlier combination: not sent
    KeyConfig media;
    media.setMedia(0x0192);
    KeyConfig mouse;
    mouse.setMouseAction(12);
    KeyConfig combination;
    combination.setCombination(0x05, QByteArray("\x04\x05\x06\x07\x08\x09"));
    combination.keycodes += QByteArray("\x0A\x0B");  // eight, as a device read may leave
    QVERIFY(manager->sendWriteKey(0, 1, single));
    QVERIFY(manager->sendWriteKey(0, 2, media));
    QVERIFY(manager->sendWriteKey(0, 3, mouse));
    QVERIFY(manager->sendWriteKey(2, 4, combination));

    const std::vector<Bytes> written = writtenWithCommand(CmdWriteKey);
    QCOMPARE(written.size(), size_t(4));
    QCOMPARE(written[0][2], uint8_t(0));
    QCOMPARE(written[0][3], uint8_t(1));
    QCOMPARE(writeKeyBlock(written[0]), keyBlock(KeyTypeSingle, {0x1E}));
    QCOMPARE(writeKeyBlock(written[1]), keyBlock(KeyTypeMedia, {0x92, 0x01}));
    QCOMPARE(writeKeyBlock(written[2]), keyBlock(KeyTypeMouse, {12}));
    QCOMPARE(written[3][2], uint8_t(2));
    QCOMPARE(written[3][3], uint8_t(4));
    QCOMPARE(writeKeyBlock(written[3]), keyBlock(KeyTypeCombination, {0x05, 6, 4, 5, 6, 7, 8, 9}));
    for (const Bytes &report : written)
        QCOMPARE(report[63], packetChecksum(report.data() + 1));

    QCOMPARE(VirtualKeypad::key(0, 1), VirtualKeySlot::singleKey(0x1E));
    QCOMPARE(VirtualKeypad::key(0, 2), VirtualKeySlot::media(0x0192));
    QCOMPARE(VirtualKeypad::key(2, 4), VirtualKeySlot::combination(0x05, {4, 5, 6, 7, 8, 9}));

    // A clear, then the lighting packet.
    VirtualKeypad::setKey(1, 6, VirtualKeySlot::mouse(1));
    QVERIFY(manager->sendClearKey(1, 6));
    QVERIFY(VirtualKeypad::key(1, 6).isEmpty());
    LedLayerConfig lighting;
    lighting.effect = 3;
    lighting.colors[2] = RgbColor{10, 20, 30};
    QVERIFY(manager->sendWriteLedLayer(1, lighting));
    const Bytes light = writtenWithCommand(CmdWriteLighting).at(0);
    QCOMPARE(light[3], uint8_t(0xFE));
    QCOMPARE(light[4], uint8_t(52));
    QCOMPARE(light[5], uint8_t(3));
    QCOMPARE(light[5 + 4 + 6], uint8_t(10));
    QCOMPARE(VirtualKeypad::lighting(1).colors[2], (VirtualLighting::Rgb{10, 20, 30}));

    // What has no encoding is refused before anything goes out.
    const size_t sent = VirtualKeypad::writtenReports().size();
    KeyConfig odd;
    odd.type = 9;
    QVERIFY(!manager->sendWriteKey(0, 1, odd));
    KeyConfig noSteps;
    noSteps.type = KeyTypeMacro;
    QVERIFY(!manager->sendWriteMacro(0, 1, noSteps));
    KeyConfig tooLong;
    tooLong.setMacro(macroSteps(65));
    QVERIFY(!manager->sendWriteMacro(0, 1, tooLong));
    QCOMPARE(VirtualKeypad::writtenReports().size(), sent);
}

void TestDeviceWrites::cutsMacrosIntoChunks()
{
    struct Case {
        int steps;
        std::vector<int> lengths;
    };
    const Case cases[] = {{64, {56, 56, 56, 56, 42}}, {11, {54}}, {12, {56, 2}}};
    for (const Case &c : cases) {
        VirtualKeypad::clearRecords();
        KeyConfig macro;
        macro.setMacro(macroSteps(c.steps));
        QVERIFY(manager->sendWriteMacro(3, 9, macro));
        const std::vector<Bytes> chunks = writtenWithCommand(CmdWriteMacroChunk);
        QCOMPARE(chunks.size(), c.lengths.size());
        Bytes joined;
        for (size_t i = 0; i < chunks.size(); ++i) {
            QCOMPARE(chunks[i][2], uint8_t(3));
            QCOMPARE(chunks[i][3], uint8_t(9));
            QCOMPARE(chunks[i][4], uint8_t(i));
            QCOMPARE(chunks[i][5], uint8_t(chunks.size()));
            QCOMPARE(int(chunks[i][6]), c.lengths[i]);
            joined.insert(joined.end(), chunks[i].begin() + 7, chunks[i].begin() + 7 + chunks[i][6]);
        }
        QCOMPARE(int(joined.size()), 9 + 1 + 4 * c.steps);
        QCOMPARE(joined[0], uint8_t(KeyTypeMacro));
        QCOMPARE(int(joined[9]), c.steps);
        const VirtualKeySlot stored = VirtualKeypad::key(3, 9);
        QCOMPARE(stored.type, uint8_t(KeyTypeMacro));
        QCOMPARE(int(stored.payload.size()), 1 + 4 * c.steps);
    }

    // A chunk that is never acknowledged fails the macro after three tries.
    VirtualKeypad::clearRecords();
    VirtualKeypad::nakNext(1, 3, CmdWriteMacroChunk);
    KeyConfig macro;
    macro.setMacro(macroSteps(12));
    QVERIFY(!manager->sendWriteMacro(0, 0, macro));
    QCOMPARE(writtenWithCommand(CmdWriteMacroChunk).size(), size_t(3));
}

void TestDeviceWrites::skipsSlotsOutsideModel()
{
    VirtualKeypad::reset();
    QVERIFY(connectManager(*manager, modelConfig(16, 0)));
    VirtualKeypad::clearRecords();
    KeyboardData store;
    store.updateKey(0, 20, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    store.updateKey(0, 21, [&](KeyConfig &k) { k.setMacro(macroSteps(4)); });
    store.updateKey(0, 22, [&](KeyConfig &k) { k.dirty = 1; });  // an empty slot: a clear
    store.updateKey(0, 3, [&](KeyConfig &k) { k.setSingleKey(0x05); });
    // Nothing goes out for a slot the keypad did not report, and it does not
    // pass for saved: it keeps its mark and the save names the reason.
    const SaveResult result = manager->saveSnapshot(saveSnapshotOf(store, SaveKind::All));
    applySaveResult(store, result);
    QVERIFY(!result.ok);
    QCOMPARE(int(result.failure), int(SaveFailure::NotOnKeypad));
    QCOMPARE(saveStatusText(result), QStringLiteral("Save failed: this keypad has no such key"));
    QCOMPARE(inChinese([&] { return saveStatusText(result); }),
             QStringLiteral("保存失败：此设备没有该按键"));
    // The one write, then the read of its layer that checks it.
    QCOMPARE(VirtualKeypad::writtenReports().size(), size_t(2));
    QCOMPARE(writtenWithCommand(CmdReadLayer).size(), size_t(1));
    QCOMPARE(store.layers()[0][3].dirty, uint8_t(0));
    for (int key : {20, 21, 22})
        QCOMPARE(store.layers()[0][key].dirty, uint8_t(1));

    // An 8-key keypad with one knob has slots 0..10 (its knob at 8..10). A
    // store that knows it refuses the rest, so clearing every key and
    // saving writes no slot at 11 or beyond.
    manager->closeDevice();
    QVERIFY(connectManager(*manager, modelConfig(8, 1)));
    VirtualKeypad::clearRecords();
    QCOMPARE(slotsBeyondKeypad(manager->deviceInfo()),
             (QVector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    QVERIFY(slotsBeyondKeypad(DeviceInfo()).isEmpty());
    KeyboardData eightKeys;
    eightKeys.setUnwritableSlots(slotsBeyondKeypad(manager->deviceInfo()));
    eightKeys.clearAllKeys();
    eightKeys.selectKey(16);
    eightKeys.assignMedia(0x00E9);
    eightKeys.selectKey(10);
    eightKeys.assignMedia(0x00EA);
    QVERIFY(saveAll(*manager, eightKeys));
    QCOMPARE(writtenWithCommand(CmdClearKey).size() + writtenWithCommand(CmdWriteKey).size(),
             size_t(11));
    for (int command : {CmdClearKey, CmdWriteKey})
        for (const Bytes &report : writtenWithCommand(command))
            QVERIFY2(report[3] < 11, qPrintable(QStringLiteral("slot %1 written").arg(report[3])));
    QCOMPARE(VirtualKeypad::key(0, 10), VirtualKeySlot::media(0x00EA));
}

void TestDeviceWrites::savesLightingOnly()
{
    KeyboardData store;
    store.setLedColor(2, 5, 1, 2, 3);
    QSignalSpy progress(manager, &HIDManager::progressUpdated);
    QSignalSpy finished(manager, &HIDManager::operationFinished);
    QVERIFY(saveAll(*manager, store));
    QCOMPARE(progress.count(), 1);
    QCOMPARE(progress[0][0].toInt(), 0);
    QCOMPARE(progress[0][1].toInt(), 1);
    QCOMPARE(progress[0][2].toString(), QStringLiteral("Saving RGB layer 3..."));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished[0][0].toBool(), true);
    QCOMPARE(finished[0][1].toString(), QStringLiteral("Save completed"));
    QVERIFY(!store.ledLayers()[2].isChanged());
    QCOMPARE(VirtualKeypad::lighting(2).colors[5], (VirtualLighting::Rgb{1, 2, 3}));

    // Nothing left to write; without a device no signal at all.
    QVERIFY(saveAll(*manager, store));
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished[1][1].toString(), QStringLiteral("Nothing to save"));
    HIDManager idle;
    QSignalSpy idleFinished(&idle, &HIDManager::operationFinished);
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    QVERIFY(!saveAll(idle, store));
    QVERIFY(!saveKeys(idle, store));
    QCOMPARE(idleFinished.count(), 0);
    QCOMPARE(store.layers()[0][0].dirty, uint8_t(1));
}

void TestDeviceWrites::failedKeyKeepsOnlyItsMark()
{
    KeyboardData store;
    store.updateKey(1, 0, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    store.updateKey(1, 1, [&](KeyConfig &k) { k.setSingleKey(0x05); });
    store.updateKey(1, 2, [&](KeyConfig &k) { k.setSingleKey(0x06); });
    VirtualFault refuse;
    refuse.kind = VirtualFault::Kind::Nak;
    refuse.command = CmdWriteKey;
    refuse.nth = 2;
    refuse.status = 4;
    VirtualKeypad::addFault(refuse);
    QSignalSpy progress(manager, &HIDManager::progressUpdated);
    QSignalSpy finished(manager, &HIDManager::operationFinished);
    QVERIFY(!saveAll(*manager, store));
    QCOMPARE(store.layers()[1][0].dirty, uint8_t(0));
    QCOMPARE(store.layers()[1][1].dirty, uint8_t(1));
    QCOMPARE(store.layers()[1][2].dirty, uint8_t(0));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished[0][0].toBool(), false);
    QCOMPARE(finished[0][1].toString(), QStringLiteral("Some items failed to save, please retry"));
    QCOMPARE(progress.count(), 3);
    QCOMPARE(progress[1][2].toString(), QStringLiteral("Saving key L2 K1..."));
    QCOMPARE(progress[2][0].toInt(), 2);
    QCOMPARE(progress[2][1].toInt(), 3);
    QCOMPARE(writtenWithCommand(CmdWriteKey).size(), size_t(3));
}

// Every failure of a save comes back with the reason the window shows;
// what did not reach the keypad keeps its mark and goes with the next save.
void TestDeviceWrites::failedSaveNamesItsReason()
{
    struct Case {
        const char *name;
        std::function<void()> fault;
        SaveFailure failure;
        const char *english;
        const char *chinese;
    };
    const Case cases[] = {
        {"refused", [] { VirtualKeypad::nakNext(4, 1, CmdWriteKey); }, SaveFailure::Refused,
         "Save failed: the keypad refused the change", "保存失败：设备拒绝了更改"},
        {"padded refusal",
         [] {
             VirtualKeypad::setPaddedReplies(true);
             VirtualKeypad::nakNext(1, 3, CmdWriteKey);
         },
         SaveFailure::Refused, "Save failed: the keypad refused the change", "保存失败：设备拒绝了更改"},
        {"no answer",
         [] {
             VirtualFault silence;
             silence.kind = VirtualFault::Kind::DropReply;
             silence.command = CmdWriteLighting;
             silence.count = 3;
             VirtualKeypad::addFault(silence);
         },
         SaveFailure::NoAnswer, "Save failed: the keypad did not answer", "保存失败：设备没有响应"},
        {"unplugged", [] { VirtualKeypad::unplugAfterWrite(1); }, SaveFailure::Unplugged,
         "Save failed: the keypad was unplugged", "保存失败：设备已被拔出"},
    };
    for (const Case &c : cases) {
        manager->closeDevice();
        QVERIFY(connectManager(*manager));
        VirtualKeypad::clearRecords();
        KeyboardData store;
        store.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(0x04); });
        store.setLayerEffect(0, 3);
        c.fault();
        QSignalSpy finished(manager, &HIDManager::operationFinished);
        const SaveResult result = manager->saveSnapshot(saveSnapshotOf(store, SaveKind::All));
        applySaveResult(store, result);
        QVERIFY2(result.started && !result.ok, c.name);
        QCOMPARE(int(saveFailureOf(result)), int(c.failure));
        QCOMPARE(saveStatusText(result), QString::fromUtf8(c.english));
        QCOMPARE(inChinese([&] { return saveStatusText(result); }), QString::fromUtf8(c.chinese));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished[0][0].toBool(), false);
        // Refusals hit the key, silence the lighting, the cable both.
        QCOMPARE(bool(store.layers()[0][1].dirty), c.failure != SaveFailure::NoAnswer);
        QCOMPARE(store.ledLayers()[0].isChanged(), c.failure != SaveFailure::Refused);

        // A second save (keypad back, answering again) takes what is left.
        VirtualKeypad::clearFaults();
        VirtualKeypad::setPaddedReplies(false);
        if (!VirtualKeypad::isPlugged()) {
            VirtualKeypad::plugBack();
            QVERIFY(manager->openDevice());
        }
        QVERIFY2(saveAll(*manager, store), c.name);
        QVERIFY(!store.layers()[0][1].dirty && !store.ledLayers()[0].isChanged());
        QCOMPARE(VirtualKeypad::key(0, 1), VirtualKeySlot::singleKey(0x04));
        QCOMPARE(int(VirtualKeypad::lighting(0).effect), 3);
    }

    // No keypad open: not started, told as unplugged; success names nothing.
    HIDManager idle;
    KeyboardData store;
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    const SaveResult none = idle.saveSnapshot(saveSnapshotOf(store, SaveKind::All));
    QCOMPARE(saveStatusText(none), QStringLiteral("Save failed: the keypad was unplugged"));
    SaveResult fine;
    fine.started = fine.ok = true;
    QVERIFY(inChinese([&] { return saveStatusText(fine); }).isEmpty());
}

void TestDeviceWrites::keysOnlySaveReportsEachKey()
{
    KeyboardData store;
    QSignalSpy finished(manager, &HIDManager::operationFinished);
    {
        LogCapture log;
        store.setLedColor(0, 0, 9, 9, 9);  // lighting does not count here
        QVERIFY(saveKeys(*manager, store));
        QVERIFY(log.has(QStringLiteral("HIDManager: nothing to save")));
        QCOMPARE(finished[0][1].toString(), QStringLiteral("Nothing to save"));
        QVERIFY(store.ledLayers()[0].isChanged());
    }
    store.updateKey(3, 4, [&](KeyConfig &k) { k.setMacro(macroSteps(6)); });
    store.updateKey(3, 5, [&](KeyConfig &k) { k.setSingleKey(0x07); });
    VirtualKeypad::nakNext(4, 1, CmdWriteKey);
    LogCapture log;
    QVERIFY(!saveKeys(*manager, store));
    QVERIFY(log.has(QStringLiteral("HIDManager: saved layer= 3 key= 4")));
    QVERIFY(log.has(QStringLiteral("HIDManager: FAILED layer= 3 key= 5")));
    QCOMPARE(finished.last()[1].toString(), QStringLiteral("Some keys failed to save, please retry"));
    QCOMPARE(store.layers()[3][4].dirty, uint8_t(0));
    QCOMPARE(store.layers()[3][5].dirty, uint8_t(1));
    QVERIFY(writtenWithCommand(CmdWriteLighting).empty());
}

// A fully programmed keypad: every slot of every layer, long macros, all lighting.
static void programEverything(KeyboardData &store)
{
    for (int layer = 0; layer < 4; ++layer) {
        for (int key = 0; key < 25; ++key) {
            KeyConfig slot;
            switch ((key + layer) % 6) {
            case 0: slot.setSingleKey(uint8_t(0x04 + key)); break;
            case 1: slot.setMacro(macroSteps(key % 3 == 0 ? 64 : 1 + key)); break;
            case 2: slot.setMedia(uint16_t(0x00E2 + key)); break;
            case 3: slot.setMouseAction(uint8_t(key % 16)); break;
            case 4: slot.setCombination(uint8_t(1 << (key % 8)), QByteArray("\x04\x1d\x2c", key % 4)); break;
            default: slot.clear(); slot.dirty = 1; break;
            }
            store.replaceKey(layer, key, slot);
        }
        store.setLayerEffect(layer, uint8_t(layer + 2));
        for (int led = 0; led < 16; ++led)
            store.setLedColor(layer, led, uint8_t(led * 16), uint8_t(layer * 60), uint8_t(255 - led));
    }
}

void TestDeviceWrites::everythingWrittenReadsBack()
{
    KeyboardData store;
    programEverything(store);
    QVERIFY(saveAll(*manager, store));
    for (int layer = 0; layer < 4; ++layer) {
        for (int key = 0; key < 25; ++key)
            QCOMPARE(store.layers()[layer][key].dirty, uint8_t(0));
        QVERIFY(!store.ledLayers()[layer].isChanged());
    }

    KeyLayers layers;
    LedLayers lighting;
    QVERIFY(manager->readAllConfiguration(layers, lighting));
    for (int layer = 0; layer < 4; ++layer) {
        for (int key = 0; key < 25; ++key) {
            const KeyConfig &read = layers[layer][key];
            const KeyConfig &written = store.layers()[layer][key];
            QVERIFY2(read.sameAssignment(written),
                     qPrintable(QStringLiteral("layer %1 key %2").arg(layer).arg(key)));
            QCOMPARE(fullTextOf(read), fullTextOf(written));
            QCOMPARE(shortTextOf(read), shortTextOf(written));
        }
        QCOMPARE(lighting[layer].effect, store.ledLayers()[layer].effect);
        QVERIFY(lighting[layer].colors == store.ledLayers()[layer].colors);
    }
}

void TestDeviceWrites::editDuringSaveKeepsItsMark()
{
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(3));
    KeyboardData store;
    for (int key = 0; key < 10; ++key)
        store.updateKey(0, key, [&](KeyConfig &k) { k.setSingleKey(uint8_t(0x04 + key)); });
    store.setLayerEffect(0, 5);

    // The UI thread edits slot 1 (already written) and slot 8 (not yet) when
    // the save reaches slot 5, and the lighting as well.
    bool edited = false;
    connect(manager, &HIDManager::progressUpdated, this, [&](int, int, const QString &msg) {
        if (msg != QLatin1String("Saving key L1 K5...") || edited)
            return;
        edited = true;
        store.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(0x30); });
        store.updateKey(0, 8, [&](KeyConfig &k) { k.setMedia(0x00E9); });
        store.setLedColor(0, 0, 1, 1, 1);
    });

    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
    QFuture<SaveResult> save = QtConcurrent::run([this, snapshot] {
        return manager->saveSnapshot(snapshot);
    });
    QTRY_VERIFY_WITH_TIMEOUT(save.isFinished(), 10000);
    QCoreApplication::processEvents();
    QVERIFY(edited);
    const SaveResult result = save.result();
    QVERIFY(result.ok);
    applySaveResult(store, result);

    QCOMPARE(store.layers()[0][0].dirty, uint8_t(0));
    QCOMPARE(store.layers()[0][1].dirty, uint8_t(1));
    QCOMPARE(store.layers()[0][8].dirty, uint8_t(1));
    QCOMPARE(store.layers()[0][9].dirty, uint8_t(0));
    QVERIFY(store.ledLayers()[0].isChanged());
    QCOMPARE(VirtualKeypad::key(0, 1), VirtualKeySlot::singleKey(0x05));  // the snapshot's value

    // The next save brings the edits to the keypad.
    QVERIFY(saveAll(*manager, store));
    QCOMPARE(VirtualKeypad::key(0, 1), VirtualKeySlot::singleKey(0x30));
    QCOMPARE(VirtualKeypad::key(0, 8), VirtualKeySlot::media(0x00E9));
    QCOMPARE(VirtualKeypad::lighting(0).colors[0], (VirtualLighting::Rgb{1, 1, 1}));
    QCOMPARE(store.layers()[0][1].dirty, uint8_t(0));
}

QTEST_GUILESS_MAIN(TestDeviceWrites)
#include "tst_device_writes.moc"
