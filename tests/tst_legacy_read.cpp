#include "tst_legacy_support.h"

#include "legacy/legacyread.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"
#include "model/keytexts.h"

#include <QThread>

using namespace legacytest;

namespace {

constexpr uint8_t A = 0x04, B = 0x05, LCtrl = 0xE0, LShift = 0xE1;

// Decodes `record` as an answer of exactly `received` bytes, held in a buffer
// of that size so a read past it is a read outside the buffer.
KeyConfig decode(int format, const LegacyFirmware::Record &record, int received = 65)
{
    std::vector<uint8_t> answer = answerOf(record);
    answer.resize(received);
    KeyConfig key;
    legacyDecode(format, answer.data(), received, key);
    return key;
}

KeyConfig r20(const LegacyFirmware::Record &record, int received = 65)
{
    return decode(LegacyFormatR20Wide, record, received);
}
KeyConfig old(const LegacyFirmware::Record &record, int received = 65)
{
    return decode(LegacyFormatOld, record, received);
}

std::vector<uint8_t> prefix(const std::vector<uint8_t> &report, std::size_t n)
{
    return std::vector<uint8_t>(report.begin(), report.begin() + std::min(n, report.size()));
}

QVector<MacroStep> steps(std::initializer_list<MacroStep> list) { return QVector<MacroStep>(list); }

// A single key record of each family for `usage`.
LegacyFirmware::Record r20Key(uint8_t usage) { return recordOf({{4, 1}, {6, 1}, {9, usage}}); }
LegacyFirmware::Record oldKey(uint8_t usage) { return recordOf({{4, 1}, {10, 1}, {12, usage}}); }

} // namespace

class TestLegacyRead : public QObject
{
    Q_OBJECT
private slots:
    void r20WideKeyPresses();
    void oldPairs();
    void mediaAndMouse();
    void shortAnswersGiveEmptySlots();
    void layerAnswersFillTheirSlots();
    void silentKeypadStopsTheRead();
    void leftoverInputDoesNotShiftSlots();
    void r20WideLighting();
};

void TestLegacyRead::r20WideKeyPresses()
{
    KeyConfig key = r20(r20Key(A));
    QCOMPARE(int(key.type), int(KeyTypeSingle));
    QCOMPARE(int(key.keycode), int(A));
    QCOMPARE(fullTextOf(key), QString("A"));
    QCOMPARE(shortTextOf(key), QString("A"));

    key = r20(recordOf({{4, 1}, {6, 1}, {8, 150}, {9, A}}));
    QCOMPARE(int(key.type), int(KeyTypeMacro));
    QCOMPARE(key.macroSteps, steps({{0, A, 150}, {1, A, 20}}));

    // 0xF1..0xF8 stand for the modifiers; a lone modifier plays as a macro.
    key = r20(recordOf({{4, 1}, {6, 1}, {9, 0xF2}}));
    QCOMPARE(key.macroSteps, steps({{0, LShift, 0}, {1, LShift, 20}}));

    // Entries without a key are skipped; delays are big-endian.
    key = r20(recordOf({{4, 1}, {6, 3}, {9, 0xF1}, {12, 0}, {13, 0x01}, {14, 0x02}, {15, B}}));
    QCOMPARE(key.macroSteps, steps({{0, LCtrl, 0}, {0, B, 0x0102}, {1, B, 20}, {1, LCtrl, 20}}));

    // No entry, or a type the family does not define: empty.
    QVERIFY(r20(recordOf({{4, 1}, {6, 2}})).isEmpty());
    QVERIFY(r20(recordOf({{4, 7}, {6, 1}, {9, A}})).isEmpty());
    QVERIFY(r20(recordOf({{4, 0xFF}})).isEmpty());
    QCOMPARE(int(r20(r20Key(A)).dirty), 1);
}

void TestLegacyRead::oldPairs()
{
    // Two pairs sharing Ctrl, delay 30: one delay for every press.
    KeyConfig key = old(recordOf({{4, 1}, {5, 30}, {10, 2}, {11, 0x01}, {12, A}, {13, 0x01}, {14, B}}));
    QCOMPARE(int(key.type), int(KeyTypeMacro));
    QCOMPARE(key.macroSteps, steps({{0, LCtrl, 30}, {0, A, 30}, {0, B, 30}, {1, B, 20}, {1, A, 20},
                                    {1, LCtrl, 20}}));

    key = old(oldKey(A));
    QCOMPARE(int(key.type), int(KeyTypeSingle));
    QCOMPARE(fullTextOf(key), QString("A"));

    // A single key with a delay (little-endian) becomes a timed press.
    key = old(recordOf({{4, 1}, {5, 0x2C}, {6, 0x01}, {10, 1}, {12, A}}));
    QCOMPARE(key.macroSteps, steps({{0, A, 300}, {1, A, 20}}));

    // Modifiers only.
    key = old(recordOf({{4, 1}, {10, 1}, {11, 0x03}}));
    QCOMPARE(key.macroSteps, steps({{0, LCtrl, 0}, {0, LShift, 0}, {1, LShift, 20}, {1, LCtrl, 20}}));

    QVERIFY(old(recordOf({{4, 1}, {5, 30}, {10, 0}})).isEmpty());
    QVERIFY(old(recordOf({{4, 1}, {10, 3}})).isEmpty());
}

void TestLegacyRead::mediaAndMouse()
{
    KeyConfig key = r20(recordOf({{4, 2}, {9, 0xE9}, {12, 0x00}}));
    QCOMPARE(int(key.type), int(KeyTypeMedia));
    QCOMPARE(fullTextOf(key), QString("Vol+"));
    key = old(recordOf({{4, 2}, {11, 0x24}, {12, 0x02}}));
    QCOMPARE(int(key.mediaCode), 0x0224);
    QVERIFY(r20(recordOf({{4, 2}})).isEmpty());

    // R20Wide pointer actions, then gestures only with kind 4.
    QCOMPARE(int(r20(recordOf({{4, 3}, {12, 4}})).mouseAction), 2);
    key = r20(recordOf({{4, 3}, {9, 0xF3}, {21, 0xFF}}));
    QCOMPARE(int(key.mouseAction), 10);
    QCOMPARE(fullTextOf(key), QString("Alt+Wheel Down"));
    QCOMPARE(shortTextOf(key), QString("A+W-"));
    key = r20(recordOf({{4, 3}, {5, 4}, {9, 3}}));
    QCOMPARE(int(key.type), int(KeyTypeMouse));
    QCOMPARE(fullTextOf(key), QString("Up Swipe"));
    QVERIFY(r20(recordOf({{4, 3}, {5, 1}, {9, 3}})).isEmpty());
    QVERIFY(r20(recordOf({{4, 3}, {5, 4}, {9, 6}})).isEmpty());

    // Old: modifiers 1, 2, 4, and no gestures at all.
    QCOMPARE(int(old(recordOf({{4, 3}, {11, 2}, {15, 0xFF}})).mouseAction), 8);
    QCOMPARE(int(old(recordOf({{4, 3}, {11, 4}, {15, 1}})).mouseAction), 9);
    QVERIFY(old(recordOf({{4, 3}, {11, 3}})).isEmpty());
    QVERIFY(old(recordOf({{4, 3}, {11, 0xF1}, {15, 1}})).isEmpty());
}

// Only received bytes count: a record whose fields are not all there is empty.
void TestLegacyRead::shortAnswersGiveEmptySlots()
{
    const auto twoEntries = recordOf({{4, 1}, {6, 2}, {9, A}, {12, B}});
    QCOMPARE(r20(twoEntries, 13).macroSteps.size(), 4);
    QVERIFY(r20(twoEntries, 12).isEmpty());
    QVERIFY(r20(r20Key(A), 4).isEmpty());
    QVERIFY(r20(recordOf({{4, 2}, {9, 0xE9}}), 12).isEmpty());
    QVERIFY(r20(recordOf({{4, 3}, {12, 1}}), 21).isEmpty());
    QCOMPARE(int(r20(recordOf({{4, 3}, {12, 1}}), 22).type), int(KeyTypeMouse));

    const auto twoPairs = recordOf({{4, 1}, {10, 2}, {12, A}, {14, B}});
    QCOMPARE(old(twoPairs, 15).macroSteps.size(), 4);
    QVERIFY(old(twoPairs, 14).isEmpty());
    QVERIFY(old(recordOf({{4, 2}, {11, 0xE9}}), 12).isEmpty());
    QVERIFY(old(recordOf({{4, 3}, {12, 1}}), 15).isEmpty());
    // A pair count beyond the record's room reads only the 20 pairs it holds.
    auto many = recordOf({{4, 1}, {10, 200}});
    for (int offset = 12; offset < 65; offset += 2)
        many[offset - LegacyFirmware::RecordOffset] = A;
    QCOMPARE(old(many).macroSteps.size(), 40);

    KeyConfig key;
    legacyDecodeOld(nullptr, 65, key);
    QVERIFY(key.isEmpty());
}

void TestLegacyRead::layerAnswersFillTheirSlots()
{
    {
        // Keypad key k of layer 1 holds the letter with usage 3 + k.
        LegacyKeypad keypad(Family::Old);
        for (int k = 1; k <= 24; ++k)
            keypad.setRecord(1, k, oldKey(uint8_t(3 + k)));
        KeyLayer keys;
        QVERIFY(legacyReadLayer(keypad.handle, keypad.info, 1, keys));
        QCOMPARE(keypad.written().size(), std::size_t(1));
        QCOMPARE(prefix(keypad.written().at(0), 6),
                 (std::vector<uint8_t>{0x03, 0xFA, 0x0F, 0x03, 2, 0}));
        QCOMPARE(keys.size(), 25);
        QVERIFY(keys[15].isEmpty());
        QCOMPARE(int(keys[18].keycode), 3 + 17); // packet 16 is keypad key 17
        const int expected[25] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                  14, 15, 0,  16, 18, 17, 19, 21, 20, 22, 24, 23};
        for (int slot = 0; slot < 25; ++slot) {
            QCOMPARE(int(keys[slot].dirty), 0);
            if (expected[slot])
                QCOMPARE(int(keys[slot].keycode), 3 + expected[slot]);
        }
    }
    {
        LegacyKeypad keypad(Family::R20Wide);
        for (int k = 1; k <= 25; ++k)
            keypad.setRecord(2, k, r20Key(uint8_t(3 + k)));
        KeyLayers layers;
        QVERIFY(legacyReadAllLayers(keypad.handle, keypad.info, layers));
        QCOMPARE(layers.size(), 4);
        QCOMPARE(layers[0].size(), 25);
        QVERIFY(layers[0][0].isEmpty());
        QCOMPARE(layers[3].size(), 0); // the keypad has three layers
        for (int slot = 0; slot < 25; ++slot)
            QCOMPARE(int(layers[2][slot].keycode), 4 + slot);
        QCOMPARE(prefix(keypad.written().at(2), 5),
                 (std::vector<uint8_t>{0x03, 0xFA, 0x19, 0x00, 3}));

        LegacyDeviceInfo unprobed;
        QVERIFY(!legacyReadAllLayers(keypad.handle, unprobed, layers));
        QCOMPARE(layers.size(), 4);
        QVERIFY(!legacyReadLayer(keypad.handle, keypad.info, 3, layers[0]));
        QVERIFY(!legacyReadLayer(nullptr, keypad.info, 0, layers[0]));
    }
}

void TestLegacyRead::silentKeypadStopsTheRead()
{
    LegacyKeypad keypad(Family::R20Wide);
    for (int k = 1; k <= 25; ++k)
        keypad.setRecord(1, k, r20Key(uint8_t(3 + k)));
    keypad.withFirmware([](LegacyFirmware &f) { f.silenceAfter(25 + 10); });
    KeyLayers layers;
    QVERIFY(!legacyReadAllLayers(keypad.handle, keypad.info, layers));
    QCOMPARE(layers[0].size(), 25);
    QCOMPARE(layers[1].size(), 25);
    QCOMPARE(int(layers[1][9].keycode), 13);
    QVERIFY(layers[1][10].isEmpty());
    QCOMPARE(layers[2].size(), 0);
    QCOMPARE(VirtualKeypad::requestCount(0xFA, keypad.id), 2);
}

// A report left over from an earlier exchange would otherwise be taken for
// packet 0 and push every key one slot on.
void TestLegacyRead::leftoverInputDoesNotShiftSlots()
{
    LegacyKeypad keypad(Family::R20Wide);
    for (int k = 1; k <= 25; ++k)
        keypad.setRecord(0, k, r20Key(uint8_t(3 + k)));
    VirtualKeypad::injectInputReport(answerOf(r20Key(0x27)), keypad.id);
    QThread::msleep(5);
    KeyLayer keys;
    QVERIFY(legacyReadLayer(keypad.handle, keypad.info, 0, keys));
    for (int slot = 0; slot < 25; ++slot)
        QCOMPARE(int(keys[slot].keycode), 4 + slot);
}

void TestLegacyRead::r20WideLighting()
{
    LegacyKeypad keypad(Family::R20Wide);
    for (int layer = 0; layer < 3; ++layer) {
        VirtualLighting lighting;
        lighting.effect = uint8_t(3 + layer);
        for (int led = 0; led < 16; ++led)
            lighting.colors[led] = {uint8_t(layer), uint8_t(led), uint8_t(200 + layer)};
        VirtualKeypad::setLighting(layer, lighting, keypad.id);
    }
    // The second lighting request goes unanswered.
    VirtualKeypad::dropReply(0xFA, 2, keypad.id);
    LedLayers lighting;
    QVERIFY(legacyReadLighting(keypad.handle, keypad.info, lighting));
    QCOMPARE(lighting.size(), 4);
    QCOMPARE(int(lighting[0].effect), 3);
    QCOMPARE(lighting[2].colors[15], (RgbColor{2, 15, 202}));
    QVERIFY(!lighting[2].isChanged());
    QCOMPARE(lighting[1].effect, LedLayerConfig().effect);
    QCOMPARE(lighting[1].colors[0], RgbColor());
    QCOMPARE(prefix(keypad.written().at(2), 5),
             (std::vector<uint8_t>{0x03, 0xFA, 0xB0, 2, 0}));

    LegacyDeviceInfo oldInfo = keypad.info;
    oldInfo.format = LegacyFormatOld;
    QVERIFY(!legacyReadLighting(keypad.handle, oldInfo, lighting));
    QCOMPARE(lighting.size(), 4);
}

QTEST_GUILESS_MAIN(TestLegacyRead)
#include "tst_legacy_read.moc"
