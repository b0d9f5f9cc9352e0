#include "tst_legacy_support.h"
#include "tst_store_save.h"

#include "device/hidmanager.h"
#include "legacy/legacytables.h"
#include "legacy/legacywrite.h"

#include <future>

using namespace legacytest;

namespace {

constexpr uint8_t A = 0x04, B = 0x05, C = 0x06, LShift = 0xE1;

using Bytes = std::vector<uint8_t>;

// A 65-byte report from (offset, value) pairs.
Bytes reportOf(std::initializer_list<std::pair<int, uint8_t>> fields)
{
    Bytes report(65, 0);
    for (const auto &field : fields)
        report[field.first] = field.second;
    return report;
}

const Bytes kCommit = reportOf({{0, 3}, {1, 0xFD}, {2, 0xFE}, {3, 0xFF}});

KeyConfig combination(uint8_t mask, QByteArray keys)
{
    KeyConfig key;
    key.setCombination(mask, keys);
    return key;
}

KeyConfig macro(std::initializer_list<MacroStep> steps)
{
    KeyConfig key;
    key.setMacro(QVector<MacroStep>(steps));
    return key;
}

KeyConfig mouse(uint8_t action)
{
    KeyConfig key;
    key.setMouseAction(action);
    return key;
}

KeyConfig media(uint16_t code)
{
    KeyConfig key;
    key.setMedia(code);
    return key;
}

// The last report the keypad was sent.
Bytes lastWritten(const LegacyKeypad &keypad) { return keypad.written().back(); }

} // namespace

class TestLegacyWrite : public QObject
{
    Q_OBJECT
private slots:
    void oldKeyRecords();
    void r20WideKeyRecords();
    void lightingReports();
    void oldSlotsWithoutWireKeyAreSkipped();
    void nothingChangedSendsNothing();
    void failedWriteStopsTheSave();
    void editDuringSaveKeepsItsMark();
    void oldKeypadRefusesSlotsItCannotStore();
};

void TestLegacyWrite::oldKeyRecords()
{
    LegacyKeypad keypad(Family::Old);
    const auto write = [&](int layer, int slot, const KeyConfig &key) {
        return legacyWriteKey(keypad.handle, keypad.info, layer, slot, key);
    };

    // One pair carries the whole combination.
    QVERIFY(write(0, 2, combination(0x03, QByteArray(1, char(A)))));
    QCOMPARE(lastWritten(keypad),
             reportOf({{0, 3}, {1, 0xFD}, {2, 3}, {3, 1}, {4, 1}, {10, 1}, {11, 0x03}, {12, A}}));

    // One mask for every key and the first press's delay for all of them.
    QVERIFY(write(1, 17, macro({{0, LShift, 0}, {0, A, 20}, {1, A, 20}, {0, B, 20}, {1, B, 20},
                                {1, LShift, 20}})));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 18}, {3, 2}, {4, 1}, {10, 2},
                                            {11, 0x02}, {12, A}, {13, 0x02}, {14, B}}));
    QVERIFY(write(2, 18, macro({{0, A, 300}, {1, A, 20}})));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 17}, {3, 3}, {4, 1}, {5, 0x2C},
                                            {6, 0x01}, {10, 1}, {12, A}}));

    KeyConfig modifierOnly;
    modifierOnly.setSingleKey(LShift);
    QVERIFY(write(0, 16, modifierOnly));
    QCOMPARE(lastWritten(keypad),
             reportOf({{0, 3}, {1, 0xFD}, {2, 16}, {3, 1}, {4, 1}, {10, 1}, {11, 0x02}}));

    QVERIFY(write(0, 0, media(0x0224)));
    QCOMPARE(lastWritten(keypad),
             reportOf({{0, 3}, {1, 0xFD}, {2, 1}, {3, 1}, {4, 2}, {10, 1}, {11, 0x24}, {12, 0x02}}));
    QVERIFY(write(0, 0, mouse(9)));
    QCOMPARE(lastWritten(keypad),
             reportOf({{0, 3}, {1, 0xFD}, {2, 1}, {3, 1}, {4, 3}, {10, 3}, {11, 4}, {15, 1}}));
    QVERIFY(write(0, 14, KeyConfig()));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 15}, {3, 1}}));
    QCOMPARE(keypad.written().size(), std::size_t(7));
    QCOMPARE(keypad.commitCount(), 0);

    // Layer 3 does not exist on a legacy keypad.
    QVERIFY(!write(3, 0, mouse(0)));
    QCOMPARE(keypad.written().size(), std::size_t(7));
}

void TestLegacyWrite::r20WideKeyRecords()
{
    LegacyKeypad keypad(Family::R20Wide);
    const auto write = [&](int layer, int slot, const KeyConfig &key) {
        return legacyWriteKey(keypad.handle, keypad.info, layer, slot, key);
    };

    QVERIFY(write(0, 4, combination(0x01, QByteArray(1, char(C)))));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 5}, {3, 1}, {4, 1}, {5, 1}, {6, 2},
                                            {9, 0xF1}, {11, 20}, {12, C}}));

    // Presses keep their own delays; releases do not travel.
    QVERIFY(write(2, 24, macro({{0, LShift, 0}, {0, A, 300}, {1, A, 20}, {1, LShift, 20}})));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 25}, {3, 3}, {4, 1}, {5, 1}, {6, 2},
                                            {9, 0xF2}, {10, 0x01}, {11, 0x2C}, {12, A}}));

    QVERIFY(write(0, 0, mouse(13)));
    QCOMPARE(lastWritten(keypad),
             reportOf({{0, 3}, {1, 0xFD}, {2, 1}, {3, 1}, {4, 3}, {5, 4}, {6, 5}, {9, 3}}));
    QVERIFY(write(0, 0, mouse(6)));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 1}, {3, 1}, {4, 3}, {5, 1}, {6, 5},
                                            {9, 0xF1}, {21, 0xFF}}));
    QVERIFY(write(0, 0, media(0x0183)));
    QCOMPARE(lastWritten(keypad), reportOf({{0, 3}, {1, 0xFD}, {2, 1}, {3, 1}, {4, 2}, {5, 1}, {6, 1},
                                            {9, 0x83}, {12, 0x01}}));

    // At most 18 presses fit a record.
    QVector<MacroStep> long_;
    for (int i = 0; i < 20; ++i)
        long_ << MacroStep{0, uint8_t(A + i), 20};
    KeyConfig longMacro;
    longMacro.setMacro(long_);
    QVERIFY(write(0, 1, longMacro));
    QCOMPARE(int(lastWritten(keypad)[6]), 18);

    const std::size_t sent = keypad.written().size();
    QVERIFY(write(0, 25, mouse(0)));
    KeyConfig broken = mouse(0);
    broken.type = 9;
    QVERIFY(!write(1, 3, broken));
    QCOMPARE(keypad.written().size(), sent);
}

void TestLegacyWrite::lightingReports()
{
    {
        LegacyKeypad keypad(Family::Old);
        KeyboardData store;
        store.setLayerEffect(1, 7);
        store.setLedColor(1, 0, 250, 120, 70);
        store.setLedColor(3, 0, 0, 0, 255); // the keypad has no fourth layer
        QVERIFY(legacySave(keypad.handle, keypad.info, store));
        QCOMPARE(keypad.written().size(), std::size_t(2));
        QCOMPARE(keypad.written()[0],
                 reportOf({{0, 3}, {1, 0xFE}, {2, 0xB0}, {3, 2}, {4, 0x08}, {10, 0x01}, {12, 0x25}}));
        QCOMPARE(keypad.written()[1], kCommit);
        keypad.withFirmware([](LegacyFirmware &f) { QCOMPARE(int(f.committed().lightingValue[1]), 0x25); });
        QVERIFY(!store.ledLayers()[1].isChanged());
        QVERIFY(store.ledLayers()[3].isChanged());
    }
    {
        LegacyKeypad keypad(Family::R20Wide);
        KeyboardData store;
        store.setLayerEffect(2, 4);
        store.setLedColor(2, 15, 1, 2, 3);
        QVERIFY(legacySave(keypad.handle, keypad.info, store));
        Bytes expected = reportOf({{0, 3}, {1, 0xFE}, {2, 0xB0}, {3, 2}, {4, 4}});
        for (int led = 0; led < 15; ++led) {
            expected[5 + 3 * led] = 255;
            expected[6 + 3 * led] = 255;
        }
        expected[50] = 1;
        expected[51] = 2;
        expected[52] = 3;
        QCOMPARE(keypad.written().at(0), expected);
        VirtualLighting stored;
        keypad.withFirmware([&](LegacyFirmware &f) { stored = f.committed().lighting[2]; });
        QCOMPARE(int(stored.effect), 4);
        QCOMPARE(stored.colors[15], (VirtualLighting::Rgb{1, 2, 3}));
        QVERIFY(!store.ledLayers()[2].isChanged());
    }
}

// The "Old" keypad has no key number for slot 20: nothing is sent for it and
// it does not pass for saved. The other changes are still written and
// committed.
void TestLegacyWrite::oldSlotsWithoutWireKeyAreSkipped()
{
    LegacyKeypad keypad(Family::Old);
    KeyboardData store;
    store.updateKey(0, 20, [&](KeyConfig &k) { k.setSingleKey(A); });
    QVERIFY(!legacySave(keypad.handle, keypad.info, store));
    QCOMPARE(int(store.layers()[0][20].dirty), 1);
    QVERIFY(keypad.written().empty());

    store.updateKey(0, 3, [&](KeyConfig &k) { k.setSingleKey(B); });
    const SaveResult result = legacySave(keypad.handle, keypad.info, saveSnapshotOf(store, SaveKind::All));
    applySaveResult(store, result);
    QVERIFY(result.started && !result.ok);
    QCOMPARE(int(result.failure), int(SaveFailure::NotOnKeypad));
    QCOMPARE(result.writtenKeys.size(), 1);
    QCOMPARE(int(store.layers()[0][3].dirty), 0);
    QCOMPARE(int(store.layers()[0][20].dirty), 1);
    // The write and the commit, then the read of the layer that checks it.
    QCOMPARE(keypad.written().size(), std::size_t(3));
    QCOMPARE(keypad.written()[1], kCommit);
    QCOMPARE(keypad.commitCount(), 1);
}

void TestLegacyWrite::nothingChangedSendsNothing()
{
    LegacyKeypad keypad(Family::R20Wide);
    KeyboardData store;
    QVERIFY(legacySave(keypad.handle, keypad.info, store));
    QVERIFY(keypad.written().empty());

    LegacyDeviceInfo unprobed;
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
    QVERIFY(!legacySave(keypad.handle, unprobed, store));
    QVERIFY(!legacySave(nullptr, keypad.info, store));
    QVERIFY(keypad.written().empty());
    QCOMPARE(int(store.layers()[0][0].dirty), 1);
}

void TestLegacyWrite::failedWriteStopsTheSave()
{
    {
        LegacyKeypad keypad(Family::R20Wide);
        KeyboardData store;
        store.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(A); });
        store.updateKey(1, 3, [&](KeyConfig &k) { k.setSingleKey(B); });
        store.updateKey(2, 0, [&](KeyConfig &k) { k.setSingleKey(C); });
        store.setLayerEffect(0, 3);
        VirtualKeypad::failWrite(0xFD, 2, keypad.id); // the record of layer 1 slot 3
        QVERIFY(!legacySave(keypad.handle, keypad.info, store));
        QCOMPARE(int(store.layers()[1][3].dirty), 1);
        QCOMPARE(int(store.layers()[2][0].dirty), 1);
        QVERIFY(store.ledLayers()[0].isChanged());
        // Nothing was committed, so the record that did go out is sent again next time.
        QCOMPARE(int(store.layers()[0][1].dirty), 1);
        QCOMPARE(keypad.written().size(), std::size_t(1));
        QCOMPARE(keypad.commitCount(), 0);
    }
    {
        // A lighting write that fails stops the save before its commit.
        LegacyKeypad keypad(Family::Old);
        KeyboardData store;
        store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
        store.setLayerEffect(0, 3);
        VirtualKeypad::failWrite(0xFE, 1, keypad.id);
        QVERIFY(!legacySave(keypad.handle, keypad.info, store));
        QCOMPARE(keypad.commitCount(), 0);
        QCOMPARE(int(store.layers()[0][0].dirty), 1);
        QVERIFY(store.ledLayers()[0].isChanged());
    }
    {
        // Without the commit the keypad keeps nothing: every mark stays.
        LegacyKeypad keypad(Family::Old);
        KeyboardData store;
        store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
        store.updateKey(1, 0, [&](KeyConfig &k) { k.setSingleKey(B); });
        VirtualKeypad::failWrite(0xFD, 3, keypad.id);
        QVERIFY(!legacySave(keypad.handle, keypad.info, store));
        QCOMPARE(int(store.layers()[0][0].dirty), 1);
        QCOMPARE(int(store.layers()[1][0].dirty), 1);
        QVERIFY(legacySave(keypad.handle, keypad.info, store));
        QCOMPARE(keypad.commitCount(), 1);
        QCOMPARE(int(store.layers()[0][0].dirty), 0);
    }
}

// The save works on a snapshot taken on the UI thread; a slot edited while it
// runs keeps its mark, the others lose theirs once written.
void TestLegacyWrite::editDuringSaveKeepsItsMark()
{
    LegacyKeypad keypad(Family::Old);
    KeyboardData store;
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
    store.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(B); });
    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
    auto save = std::async(std::launch::async, [&keypad, snapshot] {
        return legacySave(keypad.handle, keypad.info, snapshot);
    });
    store.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(C); }); // the user goes on editing
    const SaveResult result = save.get();
    QVERIFY(result.started && result.ok);
    applySaveResult(store, result);
    QCOMPARE(int(store.layers()[0][0].dirty), 0);
    QCOMPARE(int(store.layers()[0][1].dirty), 1);
    QCOMPARE(int(keypad.record(0, 2)[12 - LegacyFirmware::RecordOffset]), int(B));
}

// An "Old" keypad reads slots 19..24 but has no key number to write them: the
// store refuses to change them, so nothing there can end in a save that
// reports success while the keypad never got it.
void TestLegacyWrite::oldKeypadRefusesSlotsItCannotStore()
{
    QCOMPARE(legacyUnwritableSlots(LegacyFormatOld), (QVector<int>{15, 19, 20, 21, 22, 23, 24}));
    QVERIFY(legacyUnwritableSlots(LegacyFormatR20Wide).isEmpty());

    LegacyKeypad keypad(Family::Old);
    KeyboardData store;
    store.updateKey(0, 20, [&](KeyConfig &k) { k.setMedia(0xE9); }); // as read from the keypad
    store.updateKey(0, 20, [&](KeyConfig &k) { k.dirty = 0; });
    store.setUnwritableSlots(legacyUnwritableSlots(LegacyFormatOld));
    QVERIFY(!store.isWritableSlot(20));
    QVERIFY(store.isWritableSlot(18));

    store.selectKey(20);
    store.appendBaseKey(A);
    store.assignMedia(0xEA);
    store.assignMouseAction(1);
    store.assignMacro({{0, A, 0}});
    store.assignPrepared(combination(0x01, QByteArray(1, char(C))));
    store.clearSelectedKey();
    QVERIFY(store.layers()[0][20].sameAssignment(media(0xE9)));
    store.clearAllKeys();
    QVERIFY(store.layers()[0][20].sameAssignment(media(0xE9)));
    QCOMPARE(int(store.layers()[0][20].dirty), 0);
    QCOMPARE(int(store.layers()[0][19].dirty), 0);
    QCOMPARE(int(store.layers()[0][18].dirty), 1);

    store.selectKey(17);
    store.assignMedia(0xEA);
    QCOMPARE(int(store.layers()[0][17].mediaCode), 0xEA);
    store.setUnwritableSlots({});
    QVERIFY(store.isWritableSlot(20));
}

QTEST_GUILESS_MAIN(TestLegacyWrite)
#include "tst_legacy_write.moc"
