#include "tst_legacy_support.h"
#include "tst_store_save.h"

#include "legacy/legacyread.h"
#include "legacy/legacytables.h"
#include "legacy/legacywrite.h"
#include "model/keytexts.h"

using namespace legacytest;

namespace {

constexpr uint8_t A = 0x04, B = 0x05, C = 0x06, LCtrl = 0xE0, LShift = 0xE1;

struct Case {
    const char *name;
    KeyConfig written;
    KeyConfig readBack; // what the family's record keeps of it
};

KeyConfig single(uint8_t usage)
{
    KeyConfig key;
    key.setSingleKey(usage);
    return key;
}
KeyConfig combination(uint8_t mask, const QByteArray &keys)
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
KeyConfig media(uint16_t code)
{
    KeyConfig key;
    key.setMedia(code);
    return key;
}
KeyConfig mouse(uint8_t action)
{
    KeyConfig key;
    key.setMouseAction(action);
    return key;
}

const QByteArray kC(1, char(C));
const QByteArray kAB("\x04\x05", 2);

// Assignments of every type on layer 0, mouse actions on layer 1.
QVector<Case> r20WideCases()
{
    QVector<Case> cases{
        {"single key", single(A), single(A)},
        {"lone modifier", single(LShift), macro({{0, LShift, 0}, {1, LShift, 20}})},
        {"combination", combination(0x03, kC),
         macro({{0, LCtrl, 0}, {0, LShift, 20}, {0, C, 20}, {1, C, 20}, {1, LShift, 20}, {1, LCtrl, 20}})},
        {"combination of two keys", combination(0x00, kAB),
         macro({{0, A, 0}, {0, B, 20}, {1, B, 20}, {1, A, 20}})},
        {"macro", macro({{0, A, 0}, {1, A, 35}, {0, LShift, 70}, {0, B, 300}, {1, B, 20}, {1, LShift, 5}}),
         macro({{0, A, 0}, {0, LShift, 70}, {0, B, 300}, {1, B, 20}, {1, LShift, 20}, {1, A, 20}})},
        {"timed single press", macro({{0, A, 150}, {1, A, 20}}), macro({{0, A, 150}, {1, A, 20}})},
        {"macro of releases only", macro({{1, A, 0}}), KeyConfig()},
        {"media", media(0x00CD), media(0x00CD)},
        {"empty", KeyConfig(), KeyConfig()},
    };
    return cases;
}

QVector<Case> oldCases()
{
    QVector<Case> cases{
        {"single key", single(A), single(A)},
        {"lone modifier", single(LShift), macro({{0, LShift, 0}, {1, LShift, 20}})},
        {"combination", combination(0x03, kC),
         macro({{0, LCtrl, 0}, {0, LShift, 0}, {0, C, 0}, {1, C, 20}, {1, LShift, 20}, {1, LCtrl, 20}})},
        {"combination of two keys", combination(0x01, kAB),
         macro({{0, LCtrl, 0}, {0, A, 0}, {0, B, 0}, {1, B, 20}, {1, A, 20}, {1, LCtrl, 20}})},
        {"macro", macro({{0, A, 40}, {1, A, 20}, {0, B, 50}, {1, B, 20}}),
         macro({{0, A, 40}, {0, B, 40}, {1, B, 20}, {1, A, 20}})},
        {"macro with a modifier", macro({{0, A, 60}, {0, LCtrl, 20}, {0, B, 20}, {1, B, 20}}),
         macro({{0, LCtrl, 60}, {0, A, 60}, {0, B, 60}, {1, B, 20}, {1, A, 20}, {1, LCtrl, 20}})},
        {"timed single press", macro({{0, A, 150}, {1, A, 20}}), macro({{0, A, 150}, {1, A, 20}})},
        {"media", media(0x0192), media(0x0192)},
        {"empty", KeyConfig(), KeyConfig()},
    };
    return cases;
}

QString describe(const KeyConfig &key)
{
    QStringList steps;
    for (const MacroStep &s : key.macroSteps)
        steps << QStringLiteral("%1:%2:%3").arg(s.action).arg(s.keycode, 2, 16, QChar('0')).arg(s.delay);
    return QStringLiteral("type=%1 key=%2 media=%3 mouse=%4 steps=[%5] text=%6")
        .arg(key.type).arg(key.keycode).arg(key.mediaCode).arg(key.mouseAction)
        .arg(steps.join(' ')).arg(fullTextOf(key));
}

// Writes `cases` on layer 0 and every mouse action on layer 1 through a save,
// reads both layers back and compares them with what the family keeps.
void roundTrip(Family family, const QVector<Case> &cases, int lastMouseAction)
{
    LegacyKeypad keypad(family);
    const int format = keypad.info.format;
    QVector<int> writable;
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (legacyWritableSlot(format, slot))
            writable << slot;
    QVERIFY(writable.size() >= cases.size() && writable.size() > lastMouseAction);

    // Something to overwrite, so "empty" is really written.
    for (int k = 1; k <= 24; ++k)
        keypad.setRecord(0, k, recordOf({{4, 2}, {10, 1}, {11, 0xE2}, {9, 0xE2}}));

    KeyboardData store;
    for (int i = 0; i < cases.size(); ++i) {
        store.updateKey(0, writable[i], [&](KeyConfig &k) { k = cases[i].written; });
        store.updateKey(0, writable[i], [&](KeyConfig &k) { k.dirty = 1; });
    }
    for (int action = 0; action <= lastMouseAction; ++action)
        store.updateKey(1, writable[action], [&](KeyConfig &k) { k.setMouseAction(uint8_t(action)); });
    QVERIFY(legacySave(keypad.handle, keypad.info, store));
    QCOMPARE(keypad.commitCount(), 1);

    KeyLayers layers;
    QVERIFY(legacyReadAllLayers(keypad.handle, keypad.info, layers));
    for (int i = 0; i < cases.size(); ++i) {
        const KeyConfig &read = layers[0][writable[i]];
        QVERIFY2(read.sameAssignment(cases[i].readBack),
                 qPrintable(QStringLiteral("%1: read %2, expected %3")
                                .arg(cases[i].name, describe(read), describe(cases[i].readBack))));
    }
    for (int action = 0; action <= lastMouseAction; ++action)
        QVERIFY2(layers[1][writable[action]].sameAssignment(mouse(uint8_t(action))),
                 qPrintable(QStringLiteral("mouse %1: read %2").arg(action).arg(describe(layers[1][writable[action]]))));
}

} // namespace

class TestLegacyRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void r20WideKeepsThePresses();
    void oldKeepsOneMaskAndOneDelay();
};

void TestLegacyRoundTrip::r20WideKeepsThePresses()
{
    roundTrip(Family::R20Wide, r20WideCases(), 15);
}

void TestLegacyRoundTrip::oldKeepsOneMaskAndOneDelay()
{
    // Gestures have no record on an "Old" keypad; the mouse page refuses them.
    roundTrip(Family::Old, oldCases(), 10);
    LegacyKeypad keypad(Family::Old);
    KeyboardData store;
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setMouseAction(12); });
    QVERIFY(legacySave(keypad.handle, keypad.info, store));
    KeyLayer keys;
    QVERIFY(legacyReadLayer(keypad.handle, keypad.info, 0, keys));
    QVERIFY(keys[0].isEmpty());
}

QTEST_GUILESS_MAIN(TestLegacyRoundTrip)
#include "tst_legacy_roundtrip.moc"
