// Plugging keypads into the window and pulling them out again.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "keypad/layoutcatalogue.h"
#include "widgets/controlbutton.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"
#include "model/keytexts.h"

#include <QListWidget>
#include <QTextEdit>

using namespace flowtest;

namespace {

constexpr uint8_t UsageA = 0x04, UsageC = 0x06, UsageH = 0x0B, UsageI = 0x0C, UsageV = 0x19;
constexpr uint16_t VolumeUp = 0xE9, VolumeDown = 0xEA, Mute = 0xE2;

KeyConfig single(uint8_t usage) { KeyConfig k; k.setSingleKey(usage); return k; }
KeyConfig ctrlWith(uint8_t usage) { KeyConfig k; k.setCombination(0x01, QByteArray(1, char(usage))); return k; }
KeyConfig media(uint16_t code) { KeyConfig k; k.setMedia(code); return k; }
KeyConfig mouse(uint8_t action) { KeyConfig k; k.setMouseAction(action); return k; }
KeyConfig typedHI()
{
    KeyConfig k;
    k.setMacro({{0, UsageH, 0}, {1, UsageH, 20}, {0, UsageI, 20}, {1, UsageI, 20}});
    return k;
}

using Contents = QMap<int, KeyConfig>;

// What the demo keypads hold on their first layer, by slot.
Contents currentDemo(int keyCount)
{
    const KeyConfig keys[] = {single(UsageA), ctrlWith(UsageC), typedHI(), media(VolumeUp), mouse(0)};
    Contents contents;
    for (int slot = 0; slot < 5 && slot < keyCount; ++slot)
        contents[slot] = keys[slot];
    contents[keyCount] = media(VolumeDown);
    contents[keyCount + 1] = media(VolumeUp);
    contents[keyCount + 2] = media(Mute);
    return contents;
}

// A macro whose steps the legacy decoder chooses.
KeyConfig someMacro() { KeyConfig k; k.type = KeyTypeMacro; return k; }

Contents legacyDemo()
{
    // The keypads' Ctrl+C comes back as the press sequence they play.
    return {{0, single(UsageA)}, {1, someMacro()}, {2, media(VolumeUp)}, {3, mouse(0)},
            {16, media(VolumeDown)}, {17, media(VolumeUp)}, {18, media(Mute)}};
}

QVector<int> slotRange(int first, int last)
{
    QVector<int> range;
    for (int slot = first; slot <= last; ++slot)
        range << slot;
    return range;
}

bool isAssigned(const QPushButton *button)
{
    if (auto *key = qobject_cast<const KeyButton *>(button))
        return key->isAssigned();
    if (auto *knob = qobject_cast<const KnobButton *>(button))
        return knob->isAssigned();
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Contents)

class FlowsConnectTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void connectShowsTheKeypad_data();
    void connectShowsTheKeypad();
    void disconnectBlanksEverything();
    void readOfAnEndedConnectionIsDropped();
    void windowGoneBeforeTheReadEnds();
};

void FlowsConnectTest::connectShowsTheKeypad_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("layoutId");
    QTest::addColumn<QVector<int>>("visibleSlots");
    QTest::addColumn<Contents>("contents");
    QTest::addColumn<bool>("legacy");

    QTest::newRow("16k3e") << "16k3e" << int(Layout16K3E_S0) << slotRange(0, 24)
                           << currentDemo(16) << false;
    QTest::newRow("4k3e") << "4k3e" << int(Layout16K3E_S1)
                          << (slotRange(0, 3) + slotRange(16, 24)) << currentDemo(16) << false;
    QTest::newRow("6k1e") << "6k1e" << int(Layout6K1E) << slotRange(0, 8) << currentDemo(6)
                          << false;
    QTest::newRow("0k1e") << "0k1e" << int(Layout0K1E_P1S1) << slotRange(0, 4) << currentDemo(0)
                          << false;
    QTest::newRow("r20wide") << "r20wide" << int(Layout16K3E_S0) << slotRange(0, 24)
                             << legacyDemo() << true;
    QTest::newRow("old") << "old" << int(Layout16K3E_S0) << slotRange(0, 24) << legacyDemo()
                         << true;
}

void FlowsConnectTest::connectShowsTheKeypad()
{
    QFETCH(QString, model);
    QFETCH(int, layoutId);
    QFETCH(QVector<int>, visibleSlots);
    QFETCH(Contents, contents);
    QFETCH(bool, legacy);

    LogCapture log;
    auto window = makeWindow();
    QSignalSpy loaded(&window->keyboardData(), &KeyboardData::keyChanged);
    QVERIFY(connectDemo(log, model.toStdString()));

    // The layers are loaded once: no record is announced twice.
    QSet<QPair<int, int>> records;
    for (const QVariantList &record : loaded)
        records.insert({record.at(0).toInt(), record.at(1).toInt()});
    QVERIFY(!records.isEmpty());
    QCOMPARE(records.size(), loaded.count());

    QCOMPARE(statusLabel(*window)->text(), kConnectedText);
    QCOMPARE(statusLook(*window), kConnectedLook);
    QVERIFY(buttonWithText(*window, "Save Settings")->isEnabled());
    QVERIFY(buttonWithText(*window, "View Settings")->isEnabled());
    QCOMPARE(window->currentLayout().id, layoutId);
    QCOMPARE(log.has(legacy ? "Legacy config loaded from device" : "Config loaded from device"), true);

    // What the keypad holds shows on the visible buttons, marked; every
    // other button is hidden or blank and unmarked.
    const KeyLayer &layer = window->keyboardData().layers()[0];
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        QPushButton *button = controlButton(*window, slot);
        const bool shouldShow = visibleSlots.contains(slot);
        QCOMPARE(button && button->isVisibleTo(window.get()), shouldShow);
        KeyConfig expected = contents.value(slot);
        if (expected.type == KeyTypeMacro && expected.macroSteps.isEmpty()) {
            QCOMPARE(layer[slot].type, uint8_t(KeyTypeMacro));
            QVERIFY(fullTextOf(layer[slot]).startsWith("LCtrl"));
            expected = layer[slot];
        }
        QVERIFY2(layer[slot].sameAssignment(expected),
                 qPrintable(QString("slot %1 type %2 text %3").arg(slot).arg(layer[slot].type)
                                .arg(fullTextOf(layer[slot]))));
        QCOMPARE(layer[slot].dirty, uint8_t(0));
        if (!shouldShow)
            continue;
        // The button shows the record by the window's display rule.
        QCOMPARE(button->text(), window->buttonTextFor(window->keyIndexForButton(slot)));
        QCOMPARE(button->text().isEmpty(), expected.isEmpty());
        QCOMPARE(isAssigned(button), !expected.isEmpty());
    }

    auto *functionList = window->findChild<QListWidget *>();
    QCOMPARE(functionList->item(RowMacro)->text(),
             legacy ? QStringLiteral("DelaySetting") : QStringLiteral("Macro Key"));

    // Lighting: the current demos colour their second layer blue, the
    // R20Wide its first; the Old family brings none back.
    const LedLayers &lighting = window->keyboardData().ledLayers();
    const int blueLayer = model == "r20wide" ? 0 : model == "old" ? -1 : 1;
    for (int i = 0; i < lighting.size(); ++i) {
        QCOMPARE(lighting[i].isChanged(), false);
        QCOMPARE(lighting[i].effect, uint8_t(i == blueLayer ? 2 : 1));
    }
    if (!legacy && model != "0k1e")
        QVERIFY(window->keyboardData().layers()[1][0].sameAssignment(ctrlWith(UsageV)));

    // An Old keypad has slots it cannot store; a keypad of the current family
    // has none past the slots it reported.
    const int slotCount = HIDManager::instance()->keySlotCount();
    QCOMPARE(window->keyboardData().isWritableSlot(15), model != "old" && 15 < slotCount);
    QCOMPARE(window->keyboardData().isWritableSlot(16), 16 < slotCount);
}

void FlowsConnectTest::disconnectBlanksEverything()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "old"));

    KeyboardData &store = window->keyboardData();
    controlButton(*window, 1)->click();
    QVERIFY(controlButton(*window, 1)->isChecked());
    store.appendBaseKey(0x05);
    store.setLayerEffect(2, 4);
    store.setLedColor(1, 3, 1, 2, 3);
    // The lighting page leaves the knobs' texts alone; the unplug must not.
    window->findChild<QListWidget *>()->setCurrentRow(RowRgbLed);

    VirtualKeypad::unplug();
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kNoDeviceText; }));

    QCOMPARE(statusLook(*window), kNoDeviceLook);
    QVERIFY(!buttonWithText(*window, "Save Settings")->isEnabled());
    QVERIFY(!buttonWithText(*window, "View Settings")->isEnabled());
    QVERIFY(window->findChild<QTextEdit *>()->toPlainText().isEmpty());
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (QPushButton *button = controlButton(*window, slot)) {
            QVERIFY(button->text().isEmpty());
            // On the lighting page a key is named by its LED colour.
            if (!qobject_cast<KeyButton *>(button))
                QVERIFY(button->accessibleName().endsWith(QStringLiteral("not assigned")));
            if (auto *control = qobject_cast<ControlButton *>(button))
                QVERIFY(control->fullText().isEmpty());
            QVERIFY(!button->isChecked());
            QVERIFY(!isAssigned(button));
        }
        QVERIFY(store.isWritableSlot(slot));
    }
    QCOMPARE(store.layers().size(), kLayerCount);
    for (const KeyLayer &layer : store.layers())
        for (const KeyConfig &key : layer) {
            QVERIFY(key.isEmpty());
            QCOMPARE(key.dirty, uint8_t(0));
            QVERIFY(shortTextOf(key).isEmpty() && fullTextOf(key).isEmpty());
        }
    const LedLayerConfig defaults;
    QCOMPARE(store.ledLayers().size(), kLayerCount);
    for (const LedLayerConfig &lighting : store.ledLayers()) {
        QCOMPARE(lighting.effect, defaults.effect);
        QVERIFY(lighting.colors == defaults.colors);
        QVERIFY(!lighting.isChanged());
    }
    QCOMPARE(window->findChild<QListWidget *>()->item(RowMacro)->text(),
             QStringLiteral("DelaySetting"));
}

void FlowsConnectTest::readOfAnEndedConnectionIsDropped()
{
    LogCapture log;
    auto window = makeWindow();
    // A slow keypad, pulled out while its description is on the way.
    const int device = VirtualKeypad::installDemoKeypad("16k3e");
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(50), device);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }));
    VirtualKeypad::unplug(device);
    HIDManager::instance()->closeDevice();

    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(20);
    QVERIFY(!log.hasStartingWith("[UI] onDeviceConnected ready"));
    QCOMPARE(statusLabel(*window)->text(), kNoDeviceText);
    for (const KeyConfig &key : window->keyboardData().layers()[0])
        QVERIFY(key.isEmpty());
}

void FlowsConnectTest::windowGoneBeforeTheReadEnds()
{
    LogCapture log;
    auto window = makeWindow();
    const int device = VirtualKeypad::installDemoKeypad("6k1e");
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(5), device);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }));
    window.reset();

    // The read goes on without the window; its result finds nobody.
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(20);
    constexpr int CmdReadLayer = 4;
    QVERIFY(VirtualKeypad::requestCount(CmdReadLayer) >= 4);
    QVERIFY(!log.hasStartingWith("[UI] onDeviceConnected ready"));
    QVERIFY(HIDManager::instance()->isConnected());
}

QTEST_MAIN(FlowsConnectTest)
#include "tst_flows_connect.moc"
