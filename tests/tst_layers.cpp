#include "tst_flows_support.h"
#include "tst_control_support.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/window/widget.h"
#include "virtual_keypad/r20widefirmware.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QTextEdit>
#include <QtTest>

namespace {

QList<QPushButton *> layerButtons(const QWidget &window)
{
    QList<QPushButton *> buttons;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->property("layer").isValid())
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(), [](QPushButton *a, QPushButton *b) {
        return a->property("layer").toInt() < b->property("layer").toInt();
    });
    return buttons;
}

// "110" for two shown buttons of three; the checked one as its number.
QString shownLayerButtons(const QWidget &window)
{
    QString shown;
    for (QPushButton *button : layerButtons(window))
        shown += button->isVisibleTo(&window) && button->isEnabled() ? '1' : '0';
    return shown;
}

int checkedLayerButton(const QWidget &window)
{
    int checked = 0;
    for (QPushButton *button : layerButtons(window))
        if (button->isChecked())
            checked = checked ? -1 : button->property("layer").toInt();
    return checked;
}

void assignKey(KeyboardData &store, int layer, int key, const QString &text)
{
    store.updateKey(layer, key, [&text](KeyConfig &config) {
        config.type = KeyTypeSingle;
        // The usage of the letter: the record's texts are worded from it.
        config.keycode = uint8_t(0x04 + (text.at(0).unicode() - 'A'));
    });
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT
private slots:
    void buttonCountPullsTheLayerIntoRange_data();
    void buttonCountPullsTheLayerIntoRange();
    void switchingLayers();
    void legacyMarksFollowTheLayer();
};

void TestLayers::buttonCountPullsTheLayerIntoRange_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("layer");

    // Layer 3 (index 2) is current and key 4 selected before the count changes.
    QTest::newRow("0") << 0 << "000" << 0 << 2;
    QTest::newRow("1") << 1 << "100" << 1 << 0;
    QTest::newRow("2") << 2 << "110" << 2 << 1;
    QTest::newRow("3") << 3 << "111" << 3 << 2;
    QTest::newRow("7 stores 3") << 7 << "111" << 3 << 2;
}

void TestLayers::buttonCountPullsTheLayerIntoRange()
{
    QFETCH(int, count);
    QFETCH(QString, shown);
    QFETCH(int, checked);
    QFETCH(int, layer);

    Widget window(AppSettings(), *HIDManager::instance());
    KeyboardData &store = window.keyboardData();
    window.setForcedLayerDisplayCount(3);
    layerButtons(window).at(2)->click();
    QCOMPARE(store.currentLayer(), 2);
    assignKey(store, layer, 1, QStringLiteral("B"));
    store.selectKey(4);

    QSignalSpy texts(&store, &KeyboardData::keyButtonTextChanged);
    QSignalSpy selection(&store, &KeyboardData::selectedKeyChanged);
    window.setForcedLayerDisplayCount(count);

    QCOMPARE(window.effectiveLayerDisplayCount(), shown.count('1'));
    QCOMPARE(shownLayerButtons(window), shown);
    QCOMPARE(checkedLayerButton(window), checked);
    QCOMPARE(store.currentLayer(), layer);

    const bool moved = layer != 2;
    // A layer pulled into range re-sends all its texts and drops the
    // selection; an untouched layer keeps both.
    QCOMPARE(texts.count(), moved ? kKeySlotCount : 0);
    QCOMPARE(selection.count(), moved ? 1 : 0);
    QCOMPARE(store.selectedKey(), moved ? -1 : 4);
    if (moved)
        QCOMPARE(texts.at(1).at(1).toString(), QStringLiteral("B"));
}

void TestLayers::switchingLayers()
{
    Widget window(AppSettings(), *HIDManager::instance());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.applyLayout(layoutById(Layout16K3E_S0));
    window.setForcedLayerDisplayCount(3);
    KeyboardData &store = window.keyboardData();
    const QList<QPushButton *> buttons = layerButtons(window);
    auto *display = window.findChild<QTextEdit *>();
    auto *key0 = qobject_cast<KeyButton *>(controlButton(window, 0));
    QVERIFY(display && key0);

    assignKey(store, 1, 0, QStringLiteral("Q"));
    QVERIFY(!key0->isAssigned());

    // To layer 2: its texts and marks reach the buttons.
    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(store.currentLayer(), 1);
    QCOMPARE(checkedLayerButton(window), 2);
    QCOMPARE(key0->text(), QStringLiteral("Q"));
    QVERIFY(key0->isAssigned());

    // Clicking the current layer again still re-sends the texts, drops the
    // selection and clears the display.
    QTest::mouseClick(key0, Qt::LeftButton);
    QCOMPARE(store.selectedKey(), 0);
    QVERIFY(key0->isChecked());
    QCOMPARE(display->toPlainText(), QStringLiteral("Q"));
    QSignalSpy texts(&store, &KeyboardData::keyButtonTextChanged);
    QSignalSpy selection(&store, &KeyboardData::selectedKeyChanged);
    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(texts.count(), kKeySlotCount);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(selection.first().first().toInt(), -1);
    QCOMPARE(store.selectedKey(), -1);
    QVERIFY(!key0->isChecked());
    QVERIFY(display->toPlainText().isEmpty());
    QCOMPARE(checkedLayerButton(window), 2);

    // Back to layer 1: the mark goes with the text.
    QTest::mouseClick(buttons.at(0), Qt::LeftButton);
    QCOMPARE(store.currentLayer(), 0);
    QVERIFY(key0->text().isEmpty());
    QVERIFY(!key0->isAssigned());
    QCOMPARE(checkedLayerButton(window), 1);
}

bool isMarked(const QPushButton *button)
{
    if (auto *key = qobject_cast<const KeyButton *>(button))
        return key->isAssigned();
    if (auto *knob = qobject_cast<const KnobButton *>(button))
        return knob->isAssigned();
    return false;
}

void TestLayers::legacyMarksFollowTheLayer()
{
    // On these two legacy layouts a control edits another key than its slot
    // number: the single knob's button 0 edits key 3, the six-key pad's
    // knob buttons 6..8 edit keys 16..18.
    const struct {
        uint8_t keys;
        uint8_t knobs;
        const char *layout;
        int button;
        int key;
    } cases[] = {{0, 1, "Layout_0K_1E_P0_S0", 0, 3}, {6, 1, "Layout_6K_1E_P0_S0", 6, 16}};
    for (const auto &c : cases) {
        LogCapture log;
        auto window = flowtest::makeWindow();
        VirtualKeypadConfig config;
        config.vendorId = 0xF1C3;
        config.productId = 0x8830;
        VirtualKeypad::plug(config, std::make_unique<R20WideFirmware>(
                                        LegacyFirmware::Identity{c.keys, c.knobs, 10, 0}));
        QVERIFY(flowtest::waitFor([&log] { return flowtest::configLoaded(log); }));
        QCOMPARE(window->currentLayout().name, QString::fromLatin1(c.layout));
        QCOMPARE(window->keyIndexForButton(c.button), c.key);
        window->setForcedLayerDisplayCount(3);

        KeyboardData &store = window->keyboardData();
        assignKey(store, 1, c.key, QStringLiteral("K"));
        store.updateKey(1, c.button, [&](KeyConfig &k) { k = KeyConfig(); });
        QTest::mouseClick(layerButtons(*window).at(1), Qt::LeftButton);
        QCOMPARE(store.currentLayer(), 1);
        QVERIFY2(isMarked(controlButton(*window, c.button)), c.layout);
        QCOMPARE(controlButton(*window, c.button)->text(), QStringLiteral("K"));

        QTest::mouseClick(layerButtons(*window).at(0), Qt::LeftButton);
        QCOMPARE(isMarked(controlButton(*window, c.button)), !store.layers()[0][c.key].isEmpty());

        // The picture outlives the keypad, and the six-key pad's knob keeps
        // its family's numbering until the next keypad is read; the single
        // knob's numbering holds only while the keypad is there.
        VirtualKeypad::unplug();
        QVERIFY(flowtest::waitFor([&window] {
            return flowtest::statusLabel(*window)->text() == flowtest::kNoDeviceText;
        }));
        QCOMPARE(window->currentLayout().name, QString::fromLatin1(c.layout));
        QCOMPARE(window->keyIndexForButton(c.button), c.keys > 0 ? c.key : c.button);
        window.reset();
        flowtest::dropKeypads();
    }
}

QTEST_MAIN(TestLayers)
#include "tst_layers.moc"
