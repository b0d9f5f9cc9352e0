// Replies whose length bytes lie: the program never reads outside a report.
// Worth running under AddressSanitizer.

#include "device/keydata.h"
#include "device/packet.h"
#include "tst_device_support.h"

#include <QRandomGenerator>
#include <memory>

class TestDeviceUntrusted : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ignoresOversizedKeyBlocks();
    void ignoresOversizedChunks();
    void rejectsPayloadPastBlock();
    void survivesRandomBlocks();
    void survivesRandomLayerStream();

private:
    HIDManager *manager = nullptr;
};

void TestDeviceUntrusted::init()
{
    manager = new HIDManager;
    QVERIFY(connectManager(*manager));
}

void TestDeviceUntrusted::cleanup()
{
    delete manager;
    manager = nullptr;
}

void TestDeviceUntrusted::ignoresOversizedKeyBlocks()
{
    // A 12-step macro fills the 58 bytes a reply can hold exactly.
    Bytes payload{12};
    for (int i = 0; i < 12; ++i) {
        const Bytes step{0, 0x04, uint8_t(i), 0};
        payload.insert(payload.end(), step.begin(), step.end());
    }
    const Bytes full = keyBlock(KeyTypeMacro, payload);
    QCOMPARE(full.size(), size_t(58));
    const Bytes single = keyBlock(KeyTypeSingle, {0x04});
    answerCommand(CmdReadLayer, {keyDataReply(0, 1, single, 59), keyDataReply(0, 2, single, 200),
                                 keyDataReply(0, 3, single, 255), keyDataReply(0, 4, full),
                                 ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager->readLayer(0, keys));
    QVERIFY(keys[1].isEmpty());
    QVERIFY(keys[2].isEmpty());
    QVERIFY(keys[3].isEmpty());
    QCOMPARE(keys[4].macroSteps.size(), 12);
}

void TestDeviceUntrusted::ignoresOversizedChunks()
{
    Bytes steps(1 + 4 * 20, 0x01);
    steps[0] = 20;
    const Bytes block = keyBlock(KeyTypeMacro, steps);  // 90 bytes
    Bytes first(block.begin(), block.begin() + 56);
    const Bytes second(block.begin() + 56, block.end());
    answerCommand(CmdReadLayer,
                  {chunkReply(0, 6, 0, 2, first, 57), chunkReply(0, 6, 1, 2, second, 255),
                   chunkReply(0, 7, 0, 0, first), chunkReply(0, 7, 9, 2, first),
                   chunkReply(0, 8, 0, 2, first), chunkReply(0, 8, 1, 2, second), ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager->readLayer(0, keys));
    QVERIFY(keys[6].isEmpty());
    QVERIFY(keys[7].isEmpty());
    QCOMPARE(keys[8].macroSteps.size(), 20);

    // The lighting reader takes its 52 bytes whatever larger length is claimed.
    Bytes lighting{0x0A, 1, 0xFE, 255, 6};
    answerCommand(CmdReadLighting, {longReply(lighting)});
    LedLayerConfig record;
    QVERIFY(manager->sendReadLedLayer(1, record));
    QCOMPARE(record.effect, uint8_t(6));
}

void TestDeviceUntrusted::rejectsPayloadPastBlock()
{
    // The block's own length claims more payload than the reply carried.
    Bytes lying = keyBlock(KeyTypeCombination, {0x01, 2, 4, 5});
    lying[7] = 49;
    answerCommand(CmdReadLayer, {keyDataReply(0, 2, lying), ack(0, 0xFF)});
    KeyLayer keys;
    QVERIFY(manager->readLayer(0, keys));
    QVERIFY(keys[2].isEmpty());

    // A description claiming fewer than seven bytes is not taken.
    answerCommand(CmdDeviceInfo, {longReply({0x0B, 0, 0, 6, 16, 3})});
    DeviceInfo info;
    QVERIFY(!manager->readDeviceInfo(info));
    QCOMPARE(info.valid, uint8_t(0));
}

void TestDeviceUntrusted::survivesRandomBlocks()
{
    // Every block sits in a heap buffer of exactly its length, so a read past
    // it is caught by the address checker.
    QRandomGenerator random(1234);
    int decoded = 0;
    for (int i = 0; i < 20000; ++i) {
        const int length = int(random.bounded(80));
        std::unique_ptr<uint8_t[]> block(new uint8_t[size_t(std::max(length, 1))]);
        for (int b = 0; b < length; ++b)
            block[size_t(b)] = uint8_t(random.bounded(256));
        if (length > 8) {
            block[0] = uint8_t(random.bounded(6));
            block[7] = uint8_t(random.bounded(length));
            block[8] = random.bounded(8) == 0 ? uint8_t(random.bounded(256)) : 0;
        }
        if (length > 10 && block[0] == KeyTypeMacro)
            block[9] = uint8_t(random.bounded(70));
        KeyConfig record;
        if (decodeKeyData(block.get(), length, record)) {
            ++decoded;
            QVERIFY(record.macroSteps.size() <= kMaxMacroSteps);
            QVERIFY(record.keycodes.size() <= kMaxCombinationKeys);
        }
    }
    QVERIFY(decoded > 0);
}

void TestDeviceUntrusted::survivesRandomLayerStream()
{
    QRandomGenerator random(99);
    std::vector<Bytes> replies;
    const uint8_t commands[] = {CmdKeyData, CmdMacroChunk, CmdAck, CmdNak, 0x42};
    for (int i = 0; i < 300; ++i) {
        Bytes head(62);
        for (uint8_t &b : head)
            b = uint8_t(random.bounded(256));
        head[0] = commands[random.bounded(5)];
        head[1] = 0;
        head[2] = uint8_t(random.bounded(30));
        if (random.bounded(2))
            head[3] = uint8_t(random.bounded(8));
        Bytes report = longReply(head);
        if (random.bounded(4) == 0)
            report.resize(size_t(1 + random.bounded(63)));  // cut short
        if (random.bounded(10) == 0)
            report.resize(200, 0xEE);  // longer than an input report
        if (report.size() > 4 && report[1] == CmdAck && report[4] == 0xFF)
            report[4] = 0;  // keep the layer going
        replies.push_back(report);
    }
    replies.push_back(ack(0, 0xFF));
    answerCommand(CmdReadLayer, replies);
    KeyLayer keys;
    QVERIFY(manager->readLayer(0, keys));
    QCOMPARE(keys.size(), 25);
    for (const KeyConfig &key : keys) {
        QVERIFY(key.macroSteps.size() <= kMaxMacroSteps);
        QVERIFY(key.keycodes.size() <= kMaxCombinationKeys);
    }
}

QTEST_GUILESS_MAIN(TestDeviceUntrusted)
#include "tst_device_untrusted.moc"
