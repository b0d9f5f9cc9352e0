// Reading the description, the layers and the lighting of a keypad.

#include "device/keydata.h"
#include "device/packet.h"
#include "model/keytexts.h"
#include "tst_device_support.h"

#include <QElapsedTimer>

// Well inside the shortest reply deadline (the description's 249 ms): a
// refusal or a short answer ends a read without waiting one out.
constexpr int kAtOnceMs = 200;

class TestDeviceReads : public QObject
{
    Q_OBJECT

private slots:
    void init() { VirtualKeypad::reset(); }

    void readsDescription();
    void descriptionFailsAtOnceOnNak();
    void readsLayerStream();
    void reassemblesChunksInAnyOrder();
    void ignoresSlotsOutsideModel();
    void rejectsUndecodableBlocks();
    void lightingLengthBelowPayloadFailsAtOnce();
    void silentLayerKeepsDefaultsAndPartialKeys();
};

void TestDeviceReads::readsDescription()
{
    VirtualKeypadConfig config = modelConfig(8, 1, 2);
    config.model.layerCount = 3;
    config.model.layoutP = 5;
    config.model.layoutS = 6;
    config.model.reservedB = 7;
    VirtualKeypad::plug(config);
    HIDManager manager;
    QVERIFY(manager.openDevice());
    QCOMPARE(manager.keySlotCount(), 25);  // nothing known yet
    DeviceInfo info;
    QVERIFY(manager.readDeviceInfo(info));
    QCOMPARE(info.valid, uint8_t(1));
    QCOMPARE(info.keyCount, uint8_t(8));
    QCOMPARE(info.encoderCount, uint8_t(1));
    QCOMPARE(info.extraKeyCount, uint8_t(2));
    QCOMPARE(info.layoutS, uint8_t(6));
    QCOMPARE(manager.keySlotCount(), 13);
    QCOMPARE(manager.deviceInfo().reservedB, uint8_t(7));
    QVERIFY(!manager.busy.load());

    // A silent keypad: false after the deadline, the description zeroed.
    VirtualKeypad::setSilent(true);
    QVERIFY(!manager.readDeviceInfo(info));
    QCOMPARE(info.valid, uint8_t(0));

    // Without a device nothing is sent.
    HIDManager idle;
    QVERIFY(!idle.readDeviceInfo(info));
}

void TestDeviceReads::descriptionFailsAtOnceOnNak()
{
    VirtualKeypad::plug();
    HIDManager manager;
    QVERIFY(manager.openDevice());
    VirtualKeypad::nakNext(3, 1, CmdDeviceInfo);
    DeviceInfo info;
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!manager.readDeviceInfo(info));
    QVERIFY(waited.elapsed() < kAtOnceMs);
    QCOMPARE(manager.keySlotCount(), 25);
}

void TestDeviceReads::readsLayerStream()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));

    // A layer the keypad closes at once: 25 empty records.
    KeyLayer keys;
    manager.flushInput();
    QVERIFY(manager.readLayer(2, keys));
    QCOMPARE(keys.size(), 25);
    for (const KeyConfig &key : keys)
        QVERIFY(key.isEmpty());

    // One slot of every kind, a macro in chunks among them.
    VirtualKeypad::setKey(1, 0, VirtualKeySlot::singleKey(0x04));
    VirtualKeypad::setKey(1, 1, VirtualKeySlot::media(0x00CD));
    VirtualKeypad::setKey(1, 2, VirtualKeySlot::mouse(3));
    VirtualKeypad::setKey(1, 3, VirtualKeySlot::combination(0x03, {0x06}));
    std::vector<VirtualKeySlot::MacroStep> steps;
    for (int i = 0; i < 20; ++i)
        steps.push_back({uint8_t(i % 2), 0x05, uint16_t(300 + i)});
    VirtualKeypad::setKey(1, 24, VirtualKeySlot::macro(steps));
    manager.flushInput();
    QVERIFY(manager.readLayer(1, keys));
    QCOMPARE(keys[0].type, uint8_t(KeyTypeSingle));
    QCOMPARE(fullTextOf(keys[0]), QStringLiteral("A"));
    QCOMPARE(keys[1].mediaCode, uint16_t(0x00CD));
    QCOMPARE(shortTextOf(keys[1]), QStringLiteral("Play/Pause"));
    QCOMPARE(shortTextOf(keys[2]), QStringLiteral("W+"));
    QCOMPARE(fullTextOf(keys[3]), QStringLiteral("LCtrl + LShift + C"));
    QCOMPARE(keys[24].macroSteps.size(), 20);
    QCOMPARE(keys[24].macroSteps[19].delay, uint16_t(319));
    QCOMPARE(keys[24].macroSteps[19].action, uint8_t(1));
    QCOMPARE(keys[3].dirty, uint8_t(1));
    QVERIFY(keys[4].isEmpty());
}

void TestDeviceReads::reassemblesChunksInAnyOrder()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    Bytes payload{12};
    for (int i = 0; i < 12; ++i) {
        const Bytes step{uint8_t(i % 2), 0x07, uint8_t(i), 0};
        payload.insert(payload.end(), step.begin(), step.end());
    }
    const Bytes block = keyBlock(KeyTypeMacro, payload);  // 58 bytes: 56 + 2
    const Bytes first(block.begin(), block.begin() + 56);
    const Bytes second(block.begin() + 56, block.end());
    answerCommand(CmdReadLayer, {chunkReply(0, 5, 1, 2, second), chunkReply(0, 5, 0, 2, first),
                                 ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager.readLayer(0, keys));
    QCOMPARE(keys[5].type, uint8_t(KeyTypeMacro));
    QCOMPARE(keys[5].macroSteps.size(), 12);
    QCOMPARE(keys[5].macroSteps[11].delay, uint16_t(11));

    // A macro whose chunks never complete leaves its slot empty.
    answerCommand(CmdReadLayer, {chunkReply(0, 5, 0, 2, first), ack(0, 0xFF)});
    QVERIFY(manager.readLayer(0, keys));
    QVERIFY(keys[5].isEmpty());
}

void TestDeviceReads::ignoresSlotsOutsideModel()
{
    HIDManager manager;
    QVERIFY(connectManager(manager, modelConfig(16, 0)));
    QCOMPARE(manager.keySlotCount(), 16);
    const Bytes single = keyBlock(KeyTypeSingle, {0x04});
    answerCommand(CmdReadLayer, {keyDataReply(0, 20, single), keyDataReply(0, 3, single),
                                 keyDataReply(1, 4, single), ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager.readLayer(0, keys));
    QVERIFY(keys[20].isEmpty());
    QVERIFY(keys[4].isEmpty());  // another layer's reply
    QCOMPARE(keys[3].keycode, uint8_t(0x04));
}

void TestDeviceReads::rejectsUndecodableBlocks()
{
    KeyConfig record;
    record.setSingleKey(0x09);
    const KeyConfig before = record;
    auto decode = [&record](const Bytes &block) {
        return decodeKeyData(block.data(), int(block.size()), record);
    };

    // Combination of 7 keys; macros of 0 and 65 steps; a step that does not fit.
    QVERIFY(!decode(keyBlock(KeyTypeCombination, {0x01, 7, 4, 5, 6, 7, 8, 9, 10})));
    QVERIFY(!decode(keyBlock(KeyTypeMacro, {0, 0, 0, 0, 0})));
    Bytes huge{65};
    huge.resize(1 + 65 * 4, 0x04);
    QVERIFY(!decode(keyBlock(KeyTypeMacro, huge)));
    QVERIFY(!decode(keyBlock(KeyTypeMacro, {1, 0, 4, 0})));
    QVERIFY(!decode(keyBlock(0x09, {1})));
    QVERIFY(!decode(keyBlock(KeyTypeMedia, {0xCD})));
    Bytes lying = keyBlock(KeyTypeSingle, {0x04});
    lying[7] = 2;  // claims two payload bytes, holds one
    QVERIFY(!decode(lying));
    QVERIFY(!decodeKeyData(nullptr, 20, record));
    QVERIFY(record.sameAssignment(before));

    // Six keys decode, without zeros, modifiers and repeats.
    QVERIFY(decode(keyBlock(KeyTypeCombination, {0x01, 6, 4, 0, 0xE1, 4, 5, 6})));
    QCOMPARE(record.keycodes, QByteArray("\x04\x05\x06"));
    QCOMPARE(record.modifiers, uint8_t(0x01));

    // Through a layer read: the slot stays empty.
    VirtualKeypad::reset();
    HIDManager manager;
    QVERIFY(connectManager(manager));
    answerCommand(CmdReadLayer,
                  {keyDataReply(0, 4, keyBlock(KeyTypeCombination, {0x01, 7, 4, 5, 6, 7, 8, 9, 10})),
                   ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager.readLayer(0, keys));
    QVERIFY(keys[4].isEmpty());
}

void TestDeviceReads::lightingLengthBelowPayloadFailsAtOnce()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    VirtualLighting stored;
    stored.effect = 7;
    stored.colors[15] = {1, 2, 3};
    VirtualKeypad::setLighting(3, stored);
    LedLayerConfig lighting;
    QVERIFY(manager.sendReadLedLayer(3, lighting));
    QCOMPARE(lighting.effect, uint8_t(7));
    QCOMPARE(lighting.colors[15], (RgbColor{1, 2, 3}));
    QCOMPARE(lighting.colors[0], RgbColor());

    Bytes shortPayload{0x0A, 3, 0xFE, 51, 9};
    answerCommand(CmdReadLighting, {longReply(shortPayload), longReply({0x0A, 3, 0xFE, 52, 9})});
    LedLayerConfig untouched;
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!manager.sendReadLedLayer(3, untouched));
    QVERIFY(waited.elapsed() < kAtOnceMs);
    QCOMPARE(untouched.effect, uint8_t(1));

    // A NAK for the lighting ends the read as well, silently.
    QTest::qWait(10);
    manager.flushInput();  // the reply after the refused one
    answerCommand(CmdReadLighting, {nakReply(3, 3, 0xFE)});
    waited.restart();
    QVERIFY(!manager.sendReadLedLayer(3, untouched));
    QVERIFY(waited.elapsed() < kAtOnceMs);
}

void TestDeviceReads::silentLayerKeepsDefaultsAndPartialKeys()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    for (int layer = 0; layer < 4; ++layer)
        VirtualKeypad::setKey(layer, 2, VirtualKeySlot::singleKey(uint8_t(0x10 + layer)));
    VirtualLighting red;
    red.effect = 4;
    red.colors.fill({255, 0, 0});
    for (int layer = 0; layer < 4; ++layer)
        VirtualKeypad::setLighting(layer, red);

    // Layer 1 sends one key and never ends; its lighting never comes.
    const Bytes partial = keyDataReply(1, 9, keyBlock(KeyTypeSingle, {0x20}));
    VirtualKeypad::setReplyHook([partial](int, const Bytes &report, std::vector<Bytes> &out) {
        if (report.size() < 3 || report[2] != 1)
            return false;
        if (report[1] == CmdReadLayer)
            out = {partial};
        return report[1] == CmdReadLayer || report[1] == CmdReadLighting;
    });

    QSignalSpy progress(&manager, &HIDManager::progressUpdated);
    KeyLayers layers;
    LedLayers lighting;
    QVERIFY(!manager.readAllConfiguration(layers, lighting));
    QCOMPARE(layers.size(), 4);
    QCOMPARE(lighting.size(), 4);
    QCOMPARE(layers[0][2].keycode, uint8_t(0x10));
    QCOMPARE(layers[3][2].keycode, uint8_t(0x13));
    QCOMPARE(layers[1].size(), 25);
    QCOMPARE(layers[1][9].keycode, uint8_t(0x20));  // decoded before the deadline
    QVERIFY(layers[1][2].isEmpty());
    QCOMPARE(lighting[0].effect, uint8_t(4));
    QCOMPARE(lighting[1].effect, uint8_t(1));
    QCOMPARE(lighting[1].colors[0], RgbColor());
    QVERIFY(!lighting[2].isChanged());
    QVERIFY(!manager.busy.load());

    QCOMPARE(progress.count(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(progress[i][0].toInt(), i);
        QCOMPARE(progress[i][1].toInt(), 8);
    }
    QCOMPARE(progress[2][2].toString(), QStringLiteral("Reading keys from layer 2..."));
    QCOMPARE(progress[7][2].toString(), QStringLiteral("Reading RGB from layer 4..."));
}

QTEST_GUILESS_MAIN(TestDeviceReads)
#include "tst_device_reads.moc"
