// A save counts only what the keypad holds afterwards: writes it acknowledged
// and then lost are read back, reported and left to the next save.

#include "device/packet.h"
#include "device/savefailure.h"
#include "keypad/failuretexts.h"
#include "legacy/legacywrite.h"
#include "tst_device_support.h"
#include "tst_language_support.h"
#include "tst_legacy_support.h"

#include <functional>

namespace {

KeyConfig singleKey(uint8_t usage)
{
    KeyConfig record;
    record.setSingleKey(usage);
    return record;
}

KeyConfig macroOf(int steps)
{
    KeyConfig record;
    record.setMacro(macroSteps(steps));
    return record;
}

LedLayerConfig lightingWithEffect(uint8_t effect)
{
    LedLayerConfig record;
    record.effect = effect;
    record.colors[3] = {10, 20, 30};
    record.dirty = 1;
    return record;
}

SaveSnapshot snapshotOf(const QVector<SavedKey> &keys, const QVector<SavedLighting> &lighting = {})
{
    SaveSnapshot snapshot;
    snapshot.keys = keys;
    snapshot.lighting = lighting;
    return snapshot;
}

// Only what the result still lists counts as saved (its marks are cleared).
QVector<int> savedKeysOf(const SaveResult &result)
{
    QVector<int> keys;
    for (const SavedKey &item : result.writtenKeys)
        keys << item.key;
    return keys;
}

} // namespace

class TestSaveVerification : public QObject
{
    Q_OBJECT

private slots:
    void currentKeypadWritesNotKept();
    void legacyWritesNotKept();
    void statusCountsWhatWasNotKept();
};

void TestSaveVerification::currentKeypadWritesNotKept()
{
    const QVector<SavedKey> keys{{0, 1, singleKey(0x04)}, {0, 2, macroOf(64)}, {2, 5, singleKey(0x06)}};
    const QVector<SavedLighting> lighting{{1, lightingWithEffect(5)}};
    struct Case {
        const char *name;
        std::function<void()> fault;
        QVector<int> saved;
        int keysNotKept;
        int lightingNotKept;
        SaveFailure failure;
    };
    const Case cases[] = {
        {"clean", [] {}, {1, 2, 5}, 0, 0, SaveFailure::None},
        {"key acknowledged, then lost", [] { VirtualKeypad::forgetWrite(CmdWriteKey, 1); },
         {2, 5}, 1, 0, SaveFailure::NotKept},
        {"key stored otherwise", [] { VirtualKeypad::alterStored(CmdWriteKey, 2); },
         {1, 2}, 1, 0, SaveFailure::NotKept},
        {"macro chunk lost", [] { VirtualKeypad::forgetWrite(CmdWriteMacroChunk, 3); },
         {1, 5}, 1, 0, SaveFailure::NotKept},
        {"lighting lost", [] { VirtualKeypad::forgetWrite(CmdWriteLighting, 1); },
         {1, 2, 5}, 0, 1, SaveFailure::NotKept},
        {"read back unanswered", [] { VirtualKeypad::dropReply(CmdReadLayer, 1); },
         {5}, 0, 0, SaveFailure::NoAnswer},
    };
    for (const Case &c : cases) {
        HIDManager manager;
        QVERIFY(connectManager(manager));
        c.fault();
        const SaveResult result = manager.saveSnapshot(snapshotOf(keys, lighting));
        QCOMPARE(savedKeysOf(result), c.saved);
        QCOMPARE(result.notKeptKeys, c.keysNotKept);
        QCOMPARE(result.notKeptLighting, c.lightingNotKept);
        QCOMPARE(result.writtenLighting.size(), 1 - c.lightingNotKept);
        QCOMPARE(int(result.failure), int(c.failure));
        QCOMPARE(result.ok, c.failure == SaveFailure::None);

        // The next save writes what is still marked, and then it is there.
        VirtualKeypad::clearFaults();
        QVector<SavedKey> marked;
        for (const SavedKey &item : keys)
            if (!c.saved.contains(item.key))
                marked << item;
        const SaveResult next = manager.saveSnapshot(
            snapshotOf(marked, c.lightingNotKept ? lighting : QVector<SavedLighting>{}));
        QVERIFY2(next.ok, c.name);
        QCOMPARE(VirtualKeypad::key(0, 1), VirtualKeySlot::singleKey(0x04));
        QCOMPARE(VirtualKeypad::key(2, 5), VirtualKeySlot::singleKey(0x06));
        QCOMPARE(VirtualKeypad::key(0, 2).payload.size(), size_t(1 + 4 * 64));
        QCOMPARE(int(VirtualKeypad::lighting(1).effect), 5);
    }
}

void TestSaveVerification::legacyWritesNotKept()
{
    using namespace legacytest;
    for (Family family : {Family::R20Wide, Family::Old}) {
        LegacyKeypad keypad(family);
        VirtualKeypad::forgetWrite(0xFD, 1, keypad.id);
        SaveSnapshot snapshot = snapshotOf({{0, 1, singleKey(0x04)}, {1, 3, singleKey(0x05)}});
        if (family == Family::R20Wide) {
            snapshot.lighting = {{0, lightingWithEffect(2)}};
            VirtualKeypad::forgetWrite(0xFE, 1, keypad.id);
        }
        const SaveResult result = legacySave(keypad.handle, keypad.info, snapshot);
        QVERIFY(result.started && !result.ok);
        QCOMPARE(int(result.failure), int(SaveFailure::NotKept));
        QCOMPARE(savedKeysOf(result), QVector<int>{3});
        QCOMPARE(result.notKeptKeys, 1);
        QCOMPARE(result.notKeptLighting, family == Family::R20Wide ? 1 : 0);

        // Written again, it lands.
        VirtualKeypad::clearFaults(keypad.id);
        SaveSnapshot again = snapshotOf({snapshot.keys.first()}, snapshot.lighting);
        const SaveResult next = legacySave(keypad.handle, keypad.info, again);
        QVERIFY(next.ok);
        QCOMPARE(savedKeysOf(next), QVector<int>{1});
        QCOMPARE(next.writtenLighting.size(), snapshot.lighting.size());
    }
}

void TestSaveVerification::statusCountsWhatWasNotKept()
{
    SaveResult result;
    result.started = true;
    result.failure = SaveFailure::NotKept;
    result.notKeptKeys = 2;
    QCOMPARE(saveStatusText(result), QStringLiteral("Save failed: the keypad did not keep 2 keys"));
    result.notKeptKeys = 1;
    result.notKeptLighting = 3;
    QCOMPARE(saveStatusText(result),
             QStringLiteral("Save failed: the keypad did not keep 1 key and 3 lighting records"));
    QCOMPARE(inChinese([&] { return saveStatusText(result); }),
             QStringLiteral("保存失败：设备未保存1个按键和3项灯光设置"));
    result.notKeptKeys = 0;
    result.notKeptLighting = 1;
    QCOMPARE(saveStatusText(result),
             QStringLiteral("Save failed: the keypad did not keep 1 lighting record"));
}

QTEST_GUILESS_MAIN(TestSaveVerification)
#include "tst_save_verification.moc"
