// From a click on a control to the keypad's memory: every page assigns to a
// selected key, "Save Settings" writes it, and the keypad holds it.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"
#include "virtual_keypad/legacyfirmware.h"
#include "pages/basekeyspage.h"
#include "pages/extkeyspage.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/oldlightingpage.h"
#include "pages/procreatepage.h"
#include "pages/procreateshortcuts.h"
#include "pages/r20widelightingpage.h"
#include "widgets/keybutton.h"
#include "widgets/rgbcolorpickerwidget.h"
#include "model/keytexts.h"

#include <QButtonGroup>
#include <QListWidget>
#include <QMap>

using namespace flowtest;

namespace {

constexpr uint8_t kUsageA = 0x04, kUsageC = 0x06, kUsageI = 0x0C;
constexpr uint8_t kUsageF13 = 0x68, kLeftCtrl = 0xE0;
constexpr uint16_t kPlayPause = 0xCD;
constexpr uint8_t kMouseLeft = 0;
constexpr int kEffect = 4;
const QColor kLedColor(10, 200, 30);

QPushButton *withProperty(const QList<QPushButton *> &buttons, const char *name, int value)
{
    for (QPushButton *button : buttons)
        if (button->property(name).toInt() == value)
            return button;
    return nullptr;
}

QPushButton *procreateButton(const Widget &window, const char *label)
{
    for (QPushButton *button : window.findChild<ProcreatePage *>()->shortcutButtons())
        if (button->property("procreateLabel").toString() == QLatin1String(label))
            return button;
    return nullptr;
}

// A shortcut that is one key alone (stored as a single key).
const char *singleKeyShortcut()
{
    for (const ProcreateShortcut &shortcut : procreateShortcuts())
        if (shortcut.keyCount == 1)
            return shortcut.label;
    return nullptr;
}

void showRow(Widget &window, int row) { window.findChild<QListWidget *>()->setCurrentRow(row); }

bool idle()
{
    return QThreadPool::globalInstance()->activeThreadCount() == 0
        && !HIDManager::instance()->busy.load();
}

VirtualKeySlot wireForm(const KeyConfig &c)
{
    switch (c.type) {
    case KeyTypeSingle: return VirtualKeySlot::singleKey(c.keycode);
    case KeyTypeMedia: return VirtualKeySlot::media(c.mediaCode);
    case KeyTypeMouse: return VirtualKeySlot::mouse(c.mouseAction);
    case KeyTypeCombination:
        return VirtualKeySlot::combination(
            c.modifiers, std::vector<uint8_t>(c.keycodes.begin(), c.keycodes.end()));
    case KeyTypeMacro: {
        std::vector<VirtualKeySlot::MacroStep> steps;
        for (const MacroStep &s : c.macroSteps)
            steps.push_back({s.action, s.keycode, s.delay});
        return VirtualKeySlot::macro(steps);
    }
    default: return VirtualKeySlot::empty();
    }
}

// What an older keypad keeps of an assignment: its record read back.
KeyConfig legacyKept(const QString &model, const KeyConfig &written)
{
    LegacyReport report{};
    KeyConfig kept;
    if (model == QLatin1String("r20wide")) {
        legacyEncodeR20Wide(written, report);
        legacyDecodeR20Wide(report.data(), int(report.size()), kept);
    } else {
        legacyEncodeOld(written, report);
        legacyDecodeOld(report.data(), int(report.size()), kept);
    }
    return kept;
}

// The controls a test can assign to: shown and storable, in slot order.
QList<int> usableSlots(Widget &window)
{
    QList<int> controls;
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        QPushButton *button = controlButton(window, slot);
        if (button && button->isVisibleTo(&window)
            && window.keyboardData().isWritableSlot(window.keyIndexForButton(slot)))
            controls << slot;
    }
    return controls;
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }
    void everyPageReachesTheKeypad_data();
    void everyPageReachesTheKeypad();
};

void EndToEndTest::everyPageReachesTheKeypad_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("current") << QStringLiteral("16k3e");
    QTest::newRow("r20wide") << QStringLiteral("r20wide");
    QTest::newRow("old") << QStringLiteral("old");
}

void EndToEndTest::everyPageReachesTheKeypad()
{
    QFETCH(QString, model);
    const bool legacy = model != QLatin1String("16k3e");
    LogCapture log;
    auto window = makeWindow();
    window->show();
    QVERIFY(connectDemo(log, model.toStdString()));
    QVERIFY(waitFor([&] { return idle(); }));
    KeyboardData &store = window->keyboardData();
    // Full keys take no new base key, so the layer starts empty.
    buttonWithText(*window, QStringLiteral("Clear All"))->click();
    const QList<int> controls = usableSlots(*window);
    QVERIFY2(controls.size() >= 8, qPrintable(QString::number(controls.size())));

    // What each control was given, by the key index it edits.
    QMap<int, KeyConfig> assigned;
    int next = 0;
    auto select = [&](int row) {
        showRow(*window, row);
        const int slot = controls.at(next++);
        controlButton(*window, slot)->click();
        return window->keyIndexForButton(slot);
    };
    auto remember = [&](int key) { assigned[key] = store.layers()[0][key]; };

    // A recorded macro goes to the keypad by itself when recording ends.
    if (!legacy) {
        const int key = select(RowMacro);
        window->findChild<MacroPage *>()->recordButton()->click();
        QVERIFY(window->findChild<MacroPage *>()->isRecording());
        QTest::keyClick(window->findChild<MacroPage *>(), Qt::Key_H);
        QTest::keyClick(window->findChild<MacroPage *>(), Qt::Key_I);
        window->findChild<MacroPage *>()->recordButton()->click();
        QVERIFY(!window->findChild<MacroPage *>()->isRecording());
        QCOMPARE(store.layers()[0][key].macroSteps.size(), 4);
        QCOMPARE(store.layers()[0][key].macroSteps.at(2).keycode, kUsageI);
        remember(key);
        QVERIFY(waitFor([&] {
            return statusLabel(*window)->text().startsWith(QStringLiteral("Macro saved to Key "));
        }));
        QCOMPARE(VirtualKeypad::key(0, key), wireForm(assigned[key]));
        QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }));
        QVERIFY(waitFor([&] { return idle(); }));
    }

    int key = select(RowBaseKeys);
    withProperty(window->findChild<BaseKeysPage *>()->keyButtons(), "keycode", kUsageA)->click();
    QCOMPARE(store.layers()[0][key].keycode, kUsageA);
    remember(key);

    key = select(RowBaseKeys);
    withProperty(window->findChild<BaseKeysPage *>()->keyButtons(), "keycode", kLeftCtrl)->click();
    withProperty(window->findChild<BaseKeysPage *>()->keyButtons(), "keycode", kUsageC)->click();
    QCOMPARE(store.layers()[0][key].type, uint8_t(KeyTypeCombination));
    remember(key);

    key = select(RowProcreate);
    procreateButton(*window, "Undo")->click();
    QCOMPARE(store.layers()[0][key].macroSteps.size(), 4);
    QCOMPARE(controlButton(*window, controls.at(next - 1))->text(), QStringLiteral("Undo"));
    remember(key);

    key = select(RowExtKeys);
    withProperty(window->findChild<ExtKeysPage *>()->keyButtons(), "keycode", kUsageF13)->click();
    QCOMPARE(store.layers()[0][key].keycode, kUsageF13);
    remember(key);

    key = select(RowMultiMedia);
    withProperty(window->findChild<MultiMediaPage *>()->mediaButtons(), "mediaCode", kPlayPause)->click();
    QCOMPARE(store.layers()[0][key].mediaCode, kPlayPause);
    remember(key);

    key = select(RowMouse);
    withProperty(window->findChild<MousePage *>()->actionButtons(), "mouseAction", kMouseLeft)->click();
    QCOMPARE(store.layers()[0][key].type, uint8_t(KeyTypeMouse));
    remember(key);

    key = select(RowProcreate);
    procreateButton(*window, singleKeyShortcut())->click();
    QCOMPARE(store.layers()[0][key].type, uint8_t(KeyTypeSingle));
    remember(key);

    // Lighting: the family's own page; a key with an LED takes the colour.
    showRow(*window, RowRgbLed);
    int ledKey = -1;
    for (int slot : controls)
        if (qobject_cast<KeyButton *>(controlButton(*window, slot)) && ledKey < 0) {
            controlButton(*window, slot)->click();
            ledKey = window->keyIndexForButton(slot);
        }
    QVERIFY(ledKey >= 0 && ledKey < 16);
    RgbColor expectedColor{uint8_t(kLedColor.red()), uint8_t(kLedColor.green()), uint8_t(kLedColor.blue())};
    uint8_t expectedEffect = kEffect;
    if (model == QLatin1String("16k3e")) {
        window->findChild<LightingPage *>()->effectGroup()->button(kEffect)->click();
        emit window->findChild<LightingPage *>()->colorPicker()->colorChanged(kLedColor);
    } else if (model == QLatin1String("r20wide")) {
        window->findChild<R20WideLightingPage *>()->modeButtons().at(2)->click();
        window->findChild<R20WideLightingPage *>()->paletteButtons().at(5)->click();
        expectedEffect = store.ledLayers()[0].effect;
        expectedColor = store.ledLayers()[0].colors[size_t(ledKey)];
    } else {
        window->findChild<OldLightingPage *>()->modeButtons().at(2)->click();
        window->findChild<OldLightingPage *>()->colorButtons().at(3)->click();
        expectedEffect = store.ledLayers()[0].effect;
        expectedColor = oldPageColors()[3].color;
        ledKey = 0;
    }
    QCOMPARE(store.ledLayers()[0].effect, expectedEffect);
    QVERIFY(store.ledLayers()[0].colors[size_t(ledKey)] == expectedColor);
    const LedLayerConfig expectedLighting = store.ledLayers()[0];

    buttonWithText(*window, QStringLiteral("Save Settings"))->click();
    // An "Old" keypad cannot report its lighting: the save says it went
    // unchecked rather than claiming success.
    const QString savedText =
        model == QLatin1String("old") ? QStringLiteral("Saved. Lighting sent, not checked")
                                      : QString(kSavedText);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == savedText; }));
    QVERIFY(waitFor([&] { return idle(); }));

    if (!legacy) {
        for (auto it = assigned.cbegin(); it != assigned.cend(); ++it)
            QVERIFY2(VirtualKeypad::key(0, it.key()) == wireForm(it.value()),
                     qPrintable(QString("key %1").arg(it.key())));
        const VirtualLighting lighting = VirtualKeypad::lighting(0);
        QCOMPARE(int(lighting.effect), kEffect);
        const VirtualLighting::Rgb wanted{expectedColor.r, expectedColor.g, expectedColor.b};
        QVERIFY(lighting.colors[size_t(ledKey)] == wanted);
        return;
    }

    // An "Old" keypad keeps one colour and effect byte per layer and has no
    // way to read it back.
    if (model == QLatin1String("old")) {
        uint8_t kept = 0;
        VirtualKeypad::withFirmware(VirtualKeypad::FirstDevice, [&](VirtualFirmware &firmware) {
            kept = dynamic_cast<LegacyFirmware &>(firmware).memory().lightingValue[0];
        });
        QCOMPARE(int(kept), int(oldLightingValue(expectedLighting)));
    }

    // The older keypads are read back the way the window reads them.
    log.clear();
    VirtualKeypad::unplug();
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kNoDeviceText; }));
    log.clear();
    VirtualKeypad::plugBack();
    QVERIFY(waitFor([&] { return configLoaded(log); }));
    for (auto it = assigned.cbegin(); it != assigned.cend(); ++it) {
        const KeyConfig &read = store.layers()[0][it.key()];
        const KeyConfig kept = legacyKept(model, it.value());
        QVERIFY(!kept.isEmpty());
        QVERIFY2(read.sameAssignment(kept),
                 qPrintable(QString("key %1: wrote %2, read %3")
                                .arg(it.key()).arg(fullTextOf(it.value()), fullTextOf(read))));
    }
    if (model == QLatin1String("r20wide")) {
        QCOMPARE(store.ledLayers()[0].effect, expectedEffect);
        QVERIFY(store.ledLayers()[0].colors[size_t(ledKey)] == expectedColor);
    }
}

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
