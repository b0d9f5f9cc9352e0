#include "keypad/storesave.h"
#include "device/hidmanager.h"
#include "keypad/connectedkeypad.h"
#include "keypad/keypadfamilies.h"
#include "legacy/legacytables.h"
#include "model/keyboarddata.h"
#include "virtual_keypad/oldfirmware.h"
#include "virtual_keypad/r20widefirmware.h"
#include "virtual_keypad/virtualkeypad.h"

#include <QtTest>

#include <memory>

// Every keypad family driven the same way, only through its KeypadFamily:
// identified and read, changed, saved, read back.
class TestKeypadFamilies : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { VirtualKeypad::reset(); }
    void roundTripThroughTheFamily_data();
    void roundTripThroughTheFamily();
};

namespace {

enum class Model { Current, R20Wide, Old };

void plug(Model model)
{
    VirtualKeypad::reset();
    int id = 0;
    if (model == Model::Current)
        id = VirtualKeypad::plug(VirtualKeypadConfig());
    else if (model == Model::R20Wide)
        id = VirtualKeypad::plug(VirtualKeypadConfig(),
                                 std::make_unique<R20WideFirmware>(R20WideFirmware::defaultIdentity()));
    else
        id = VirtualKeypad::plug(VirtualKeypadConfig(),
                                 std::make_unique<OldFirmware>(OldFirmware::defaultIdentity()));
    VirtualKeypad::setReplyLatency(std::chrono::microseconds(200), id);
}

// The Old keypad keeps one lighting byte per layer and never reads it back.
uint8_t oldLightingByte(int layer)
{
    uint8_t value = 0;
    VirtualKeypad::withFirmware(VirtualKeypad::FirstDevice, [&](VirtualFirmware &firmware) {
        value = dynamic_cast<LegacyFirmware &>(firmware).committed().lightingValue[layer];
    });
    return value;
}

constexpr int kLayer = 1;
constexpr int kMediaSlot = 2, kGestureSlot = 3, kMacroSlot = 4;
constexpr uint8_t kRightSwipe = 12;

} // namespace

void TestKeypadFamilies::roundTripThroughTheFamily_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("unwritableSlots");
    QTest::newRow("current") << int(Model::Current) << "current" << 0;
    QTest::newRow("R20Wide") << int(Model::R20Wide) << "R20Wide" << 0;
    // The Old keypad has no key number for slots 15 and 19..24.
    QTest::newRow("Old") << int(Model::Old) << "Old" << 7;
}

void TestKeypadFamilies::roundTripThroughTheFamily()
{
    QFETCH(int, model);
    QFETCH(QString, family);
    QFETCH(int, unwritableSlots);
    plug(Model(model));
    HIDManager manager;
    QVERIFY(manager.openDevice());

    const KeypadConnectRead connected = identifyAndReadKeypad(manager);
    QVERIFY(connected.family);
    QCOMPARE(QString(connected.family->name()), family);
    QVERIFY(connected.readComplete);
    const KeypadFamily &keypad = *connected.family;
    const KeypadCapabilities &can = keypad.capabilities();
    QCOMPARE(connected.layers.size(), 4);

    // A media key, a gesture and a macro on one layer, and that layer's lighting.
    KeyboardData store;
    store.loadLayers(connected.layers);
    store.updateKey(kLayer, kMediaSlot, [&](KeyConfig &k) { k.setMedia(0xE9); });
    store.updateKey(kLayer, kGestureSlot, [&](KeyConfig &k) { k.setMouseAction(kRightSwipe); });
    const QVector<MacroStep> macro{{0, 0x04, 0}, {1, 0x04, 30}, {0, 0x05, 40}, {1, 0x05, 50}};
    store.updateKey(kLayer, kMacroSlot, [&](KeyConfig &k) { k.setMacro(macro); });
    LedLayerConfig lighting = store.ledLayers()[kLayer];
    lighting.effect = 3;
    lighting.colors.fill(RgbColor{255, 0, 0});
    lighting.dirty = 1;
    store.replaceLedLayer(kLayer, lighting);
    const uint8_t oldByteBefore = can.lighting == LightingKind::Old ? oldLightingByte(kLayer) : 0;

    const KeypadDescription description = describeConnectedKeypad(connected).state.description();
    const SaveResult saved = keypad.save(manager, description, saveSnapshotOf(store, SaveKind::All));
    QVERIFY(saved.ok);
    QCOMPARE(saved.writtenLighting.size(), 1);

    const KeypadContents back = keypad.read(manager);
    QVERIFY(back.readComplete);
    const KeyLayer &layer = back.layers.value(kLayer);
    QCOMPARE(layer.value(kMediaSlot).type, uint8_t(KeyTypeMedia));
    QCOMPARE(layer.value(kMediaSlot).mediaCode, uint16_t(0xE9));
    // What the family says it holds comes back as it was; what it says it
    // cannot hold does not.
    const KeyConfig &gesture = layer.value(kGestureSlot);
    QCOMPARE(gesture.type == KeyTypeMouse && gesture.mouseAction == kRightSwipe, can.mouseGestures);
    QCOMPARE(layer.value(kMacroSlot).macroSteps == macro, can.holdsMacros());

    if (can.lighting == LightingKind::Old) {
        QVERIFY(back.lighting.isEmpty());
        QCOMPARE(oldLightingByte(kLayer), oldLightingValue(lighting));
        QVERIFY(oldLightingByte(kLayer) != oldByteBefore);
    } else {
        QCOMPARE(back.lighting.size(), 4);
        QCOMPARE(back.lighting[kLayer].effect, lighting.effect);
        QCOMPARE(back.lighting[kLayer].colors[0], (RgbColor{255, 0, 0}));
    }

    QCOMPARE(keypad.unwritableSlots(description).size(), unwritableSlots);
    QCOMPARE(keypadFamilyOf(description), &keypad);
}

QTEST_GUILESS_MAIN(TestKeypadFamilies)
#include "tst_keypad_families.moc"
