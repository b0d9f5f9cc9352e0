// Undo and redo, copy, paste and swap, layer copy and the keyboard's
// shortcuts, on a window connected to the virtual keypad.

#include "tst_flows_support.h"
#include "tst_control_support.h"
#include "app/keypadview/controlgestures.h"

#include "app/editing/editcontrols.h"
#include "app/editing/edithistory.h"
#include "app/editing/keyclipboard.h"
#include "app/keypadview/layercolumn.h"
#include "app/editing/layercopy.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "widgets/macroflowwidget.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>

using namespace flowtest;

namespace {

constexpr uint8_t UsageA = 0x04, UsageB = 0x05;

KeyConfig keyAt(Widget &window, int layer, int key)
{
    return window.keyboardData().layers()[layer][key];
}

// Selects `slot` and gives it `usage` as the base-key page does; the
// history takes the step once the event is done.
void assignKey(Widget &window, int slot, uint8_t usage)
{
    controlButton(window, slot)->click();
    window.keyboardData().appendBaseKey(usage);
    QCoreApplication::processEvents();
}

int steps(const Widget &window) { return window.findChild<EditHistory *>()->stack()->index(); }


void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(target, key, modifiers);
    QCoreApplication::processEvents();
}

} // namespace

class EditingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void undoAndRedoEachKindOfEdit();
    void undoAcrossASaveWritesTheKeyAgain();
    void historyStartsAfreshOnReads();
    void copyPasteAndSwap();
    void layerCopyAsksOnlyOverAssignments();
    void keyboardControlAndRecording();
    void controlsTellScreenReadersTheirFunction();
};

void EditingTest::undoAndRedoEachKindOfEdit()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    QAction *undo = window->findChild<EditHistory *>()->undoAction();
    QAction *redo = window->findChild<EditHistory *>()->redoAction();
    QVERIFY(!undo->isEnabled());

    // A key function: undo gives back the record and its saved mark.
    const KeyConfig before = keyAt(*window, 0, 9);
    assignKey(*window, 9, UsageB);
    QCOMPARE(steps(*window), 1);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QVERIFY(keyAt(*window, 0, 9).sameAssignment(before));
    QCOMPARE(keyAt(*window, 0, 9).dirty, before.dirty);
    QCOMPARE(controlButton(*window, 9)->text(), window->buttonTextFor(9));
    redo->trigger();
    QCOMPARE(keyAt(*window, 0, 9).keycode, UsageB);
    QCOMPARE(keyAt(*window, 0, 9).dirty, uint8_t(1));

    // Clear and Clear All are one step each, named in the Undo text.
    const KeyConfig media = keyAt(*window, 0, 3);
    QVERIFY(!media.isEmpty());
    controlButton(*window, 3)->click();
    buttonWithText(*window, "Clear")->click();
    QCoreApplication::processEvents();
    QCOMPARE(undo->text(), QStringLiteral("Undo: Clear key 4"));
    undo->trigger();
    QVERIFY(keyAt(*window, 0, 3).sameAssignment(media));
    QCOMPARE(keyAt(*window, 0, 3).dirty, uint8_t(0));
    const KeyLayer layer0 = window->keyboardData().layers()[0];
    buttonWithText(*window, "Clear All")->click();
    QCoreApplication::processEvents();
    QCOMPARE(undo->text(), QStringLiteral("Undo: Clear layer 1"));
    undo->trigger();
    for (int key = 0; key < kKeySlotCount; ++key)
        QVERIFY(window->keyboardData().layers()[0][key].sameAssignment(layer0[key]));

    // Lighting: a run of changes to one LED is one step; the store's own
    // announcement is what the history hears.
    KeyboardData &store = window->keyboardData();
    const LedLayerConfig lighting = store.ledLayers()[0];
    store.setLedColor(0, 2, 1, 2, 3);
    QCoreApplication::processEvents();
    store.setLedColor(0, 2, 4, 5, 6);
    QCoreApplication::processEvents();
    // Done so far: the key, then the two colours as one lighting step.
    QCOMPARE(steps(*window), 2);
    undo->trigger();
    QCOMPARE(store.ledLayers()[0].colors[2], lighting.colors[2]);
    QCOMPARE(store.ledLayers()[0].isChanged(), lighting.isChanged());

    // A delay change of the selected macro, made on layer 2 and undone from
    // layer 1: the window goes back to layer 2.
    window->findChild<LayerColumn *>()->button(1)->click();
    window->keyboardData().updateKey(1, 5, [](KeyConfig &key) {
        key.setMacro({{0, UsageA, 0}, {1, UsageA, 20}});
    });
    window->findChild<EditHistory *>()->noteChange();
    QCoreApplication::processEvents();
    controlButton(*window, 5)->click();
    emit window->findChild<MacroPage *>()->flow()->delayEdited(1, 300);
    QCoreApplication::processEvents();
    QCOMPARE(undo->text(), QStringLiteral("Undo: Delay on key 6"));
    window->findChild<LayerColumn *>()->button(0)->click();
    undo->trigger();
    QCOMPARE(store.currentLayer(), 1);
    QCOMPARE(keyAt(*window, 1, 5).macroSteps[1].delay, uint16_t(20));
}

void EditingTest::undoAcrossASaveWritesTheKeyAgain()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    const VirtualKeySlot original = VirtualKeypad::key(0, 9);
    assignKey(*window, 9, UsageB);
    buttonWithText(*window, "Save Settings")->click();
    // No undo while the save runs.
    QVERIFY(!window->findChild<EditHistory *>()->undoAction()->isEnabled());
    QVERIFY(waitFor([&] { return poolIdle() && keyAt(*window, 0, 9).dirty == 0; }));
    QCOMPARE(VirtualKeypad::key(0, 9), VirtualKeySlot::singleKey(UsageB));
    QCOMPARE(steps(*window), 1);

    QVERIFY(window->findChild<EditHistory *>()->undoAction()->isEnabled());
    window->findChild<EditHistory *>()->undoAction()->trigger();
    QCOMPARE(keyAt(*window, 0, 9).dirty, uint8_t(1));
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return poolIdle() && keyAt(*window, 0, 9).dirty == 0; }));
    QCOMPARE(VirtualKeypad::key(0, 9), original);
}

void EditingTest::historyStartsAfreshOnReads()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    assignKey(*window, 9, UsageB);
    QCOMPARE(steps(*window), 1);
    // The key is changed, so View asks before it reads.
    answerNextMessageBox(QStringLiteral("Discard and read"));
    buttonWithText(*window, "View Settings")->click();
    finishTasks();
    QCOMPARE(steps(*window), 0);
    // The read itself is no step.
    QCoreApplication::processEvents();
    QCOMPARE(steps(*window), 0);

    assignKey(*window, 9, UsageA);
    QCOMPARE(steps(*window), 1);
    dropKeypads();
    log.clear();
    QVERIFY(connectDemo(log, "6k1e"));
    QCoreApplication::processEvents();
    QCOMPARE(steps(*window), 0);
}

void EditingTest::copyPasteAndSwap()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    KeyClipboard *clipboard = window->findChild<KeyClipboard *>();

    // Key 4's function onto key 10 of layer 2, then undone.
    const KeyConfig media = keyAt(*window, 0, 3);
    controlButton(*window, 3)->click();
    window->findChild<EditControls *>()->copyAction()->trigger();
    window->findChild<LayerColumn *>()->button(1)->click();
    const KeyConfig target = keyAt(*window, 1, 9);
    controlButton(*window, 9)->click();
    window->findChild<EditControls *>()->pasteAction()->trigger();
    QVERIFY(keyAt(*window, 1, 9).sameAssignment(media));
    QCOMPARE(keyAt(*window, 1, 9).dirty, uint8_t(1));
    QCOMPARE(controlButton(*window, 9)->text(), window->buttonTextFor(9));
    window->findChild<EditHistory *>()->undo();
    QVERIFY(keyAt(*window, 1, 9).sameAssignment(target));

    // Dropping key 1 onto key 2 swaps them on the current layer.
    window->findChild<LayerColumn *>()->button(0)->click();
    const KeyConfig first = keyAt(*window, 0, 0);
    const KeyConfig second = keyAt(*window, 0, 1);
    QVERIFY(!first.sameAssignment(second));
    QMimeData mime;
    mime.setData(QStringLiteral("application/x-zentrik-control-slot"), "0");
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Outside a real drag the application hands a drop to nobody; the
    // controls' filter is given it directly.
    QObject *controls = window->findChild<ControlGestures *>();
    QVERIFY(controls->eventFilter(controlButton(*window, 1), &drop));
    QVERIFY(keyAt(*window, 0, 0).sameAssignment(second));
    QVERIFY(keyAt(*window, 0, 1).sameAssignment(first));
    QCOMPARE(window->findChild<EditHistory *>()->undoAction()->text(), QStringLiteral("Undo: Swap key 1 and key 2"));
    window->findChild<EditHistory *>()->undo();
    QVERIFY(keyAt(*window, 0, 0).sameAssignment(first));

    // A macro cannot go onto a legacy keypad: refused, said, nothing changed.
    dropKeypads();
    log.clear();
    QVERIFY(connectDemo(log, "r20wide"));
    window->keyboardData().updateKey(0, 1, [](KeyConfig &key) {
        key.setMacro({{0, UsageA, 0}, {1, UsageA, 20}});
    });
    controlButton(*window, 1)->click();
    clipboard->copySelected();
    const KeyConfig legacyKey = keyAt(*window, 0, 2);
    controlButton(*window, 2)->click();
    QVERIFY(!clipboard->pasteToSelected());
    QVERIFY(keyAt(*window, 0, 2).sameAssignment(legacyKey));
    QCOMPARE(statusLabel(*window)->text(), QStringLiteral("This keypad cannot store macros"));
    QCOMPARE(steps(*window), 0);
}

void EditingTest::layerCopyAsksOnlyOverAssignments()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    for (int layer = 1; layer < 3; ++layer)
        for (int key = 0; key < kKeySlotCount; ++key)
            store.updateKey(layer, key, [&](KeyConfig &k) { k.clear(); });
    int asked = 0;
    bool answer = false;
    window->findChild<LayerCopy *>()->setAsk([&](int, int) { ++asked; return answer; });

    // The menu offers the other shown layers.
    std::unique_ptr<QMenu> menu(window->findChild<LayerColumn *>()->createLayerMenu(0));
    QMenu *copyTo = menu->actions().first()->menu();
    QCOMPARE(copyTo->actions().size(), 2);
    copyTo->actions().first()->trigger();
    QCOMPARE(asked, 0);
    QCOMPARE(store.currentLayer(), 1);
    for (int key = 0; key < kKeySlotCount; ++key)
        QVERIFY(store.layers()[1][key].sameAssignment(store.layers()[0][key]));
    QCOMPARE(store.layers()[1][3].dirty, uint8_t(1));

    // Over assignments: asked, and a no leaves the layer as it was.
    store.updateKey(0, 3, [&](KeyConfig &k) { k.setSingleKey(UsageB); });
    QVERIFY(!window->findChild<LayerCopy *>()->copy(0, 1));
    QCOMPARE(asked, 1);
    QVERIFY(!store.layers()[1][3].sameAssignment(store.layers()[0][3]));
    answer = true;
    QVERIFY(window->findChild<LayerCopy *>()->copy(0, 1));
    QCOMPARE(store.layers()[1][3].keycode, UsageB);
    window->findChild<EditHistory *>()->undo();
    QCOMPARE(store.layers()[1][3].mediaCode, keyAt(*window, 1, 3).mediaCode);
    QVERIFY(store.layers()[1][3].type != KeyTypeSingle);
}

void EditingTest::keyboardControlAndRecording()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    KeyboardData &store = window->keyboardData();

    press(window.get(), Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(store.currentLayer(), 1);
    press(window.get(), Qt::Key_4, Qt::ControlModifier); // not shown
    QCOMPARE(store.currentLayer(), 1);
    press(window.get(), Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(store.currentLayer(), 0);

    // Arrows follow the picture: right along the row, down to the next.
    controlButton(*window, 0)->click();
    press(controlButton(*window, 0), Qt::Key_Right);
    QCOMPARE(store.selectedKey(), 1);
    press(controlButton(*window, 1), Qt::Key_Down);
    QCOMPARE(store.selectedKey(), 5);
    press(controlButton(*window, 5), Qt::Key_Left);
    QCOMPARE(store.selectedKey(), 4);

    // Delete clears as "Clear" does; Ctrl+Z brings it back.
    QVERIFY(!keyAt(*window, 0, 4).isEmpty());
    const KeyConfig key5 = keyAt(*window, 0, 4);
    press(window.get(), Qt::Key_Delete);
    QVERIFY(keyAt(*window, 0, 4).isEmpty());
    QCOMPARE(store.selectedKey(), 4);
    QVERIFY(controlButton(*window, 4)->isChecked());
    press(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(keyAt(*window, 0, 4).sameAssignment(key5));

    // While recording every key goes to the recorder, shortcuts included,
    // and the whole recording is one step.
    const int before = steps(*window);
    controlButton(*window, 6)->click();
    MacroPage *macro = window->findChild<MacroPage *>();
    macro->startMacroRecording();
    QVERIFY(macro->isRecording());
    QVERIFY(!window->findChild<EditHistory *>()->undoAction()->isEnabled());
    press(window.get(), Qt::Key_2, Qt::ControlModifier);
    press(window.get(), Qt::Key_Z, Qt::ControlModifier);
    press(window.get(), Qt::Key_Delete);
    press(macro, Qt::Key_Right);
    QCOMPARE(store.currentLayer(), 0);
    QCOMPARE(store.selectedKey(), 6);
    macro->stopMacroRecording();
    QCOMPARE(keyAt(*window, 0, 6).type, uint8_t(KeyTypeMacro));
    QCOMPARE(keyAt(*window, 0, 6).macroSteps.size(), 2);
    QCOMPARE(steps(*window), before + 1);
    QCOMPARE(window->findChild<EditHistory *>()->undoAction()->text(), QStringLiteral("Undo: Macro on key 7"));
}

void EditingTest::controlsTellScreenReadersTheirFunction()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    QPushButton *key3 = controlButton(*window, 2);
    // The macro's whole text, read without its arrow markup.
    const QString macroName = QString::fromUtf8("Key 3: h \u27A1 i");
    QCOMPARE(key3->accessibleName(), macroName);
    QVERIFY(key3->accessibleDescription().contains(QLatin1String("Ctrl+V pastes")));
    QCOMPARE(controlButton(*window, 16)->accessibleName(),
             QStringLiteral("Knob 1 turn left: Vol-"));
    QCOMPARE(controlButton(*window, 18)->accessibleName(), QStringLiteral("Knob 1 press: Mute"));

    // The name follows an edit, its undo and the layer.
    assignKey(*window, 2, UsageB);
    QCOMPARE(key3->accessibleName(), QStringLiteral("Key 3: B"));
    window->findChild<EditHistory *>()->undo();
    QCOMPARE(key3->accessibleName(), macroName);
    window->findChild<LayerColumn *>()->button(1)->click();
    QCOMPARE(controlButton(*window, 0)->accessibleName(), QStringLiteral("Key 1: LCtrl + V"));
    QCOMPARE(key3->accessibleName(), QStringLiteral("Key 3: not assigned"));

    // An unplugged keypad leaves the controls with no function to name.
    window->findChild<LayerColumn *>()->button(0)->click();
    VirtualKeypad::reset();
    QVERIFY(waitFor(
        [&] { return key3->accessibleName() == QStringLiteral("Key 3: not assigned"); }));

    // In Chinese.
    window.reset();
    dropKeypads();
    log.clear();
    auto chinese = makeChineseWindow();
    QVERIFY(chinese);
    chinese->show();
    QVERIFY(connectDemo(log, "16k3e"));
    QCOMPARE(controlButton(*chinese, 1)->accessibleName(), QString::fromUtf8("按键 2：LCtrl + C"));
    QCOMPARE(controlButton(*chinese, 5)->accessibleName(), QString::fromUtf8("按键 6：未设置"));
    QPushButton *turnRight = controlButton(*chinese, 17);
    QCOMPARE(turnRight->accessibleName(), QString::fromUtf8("旋钮 1 右旋：音量+"));
    QVERIFY(turnRight->accessibleDescription().startsWith(QString::fromUtf8("选中后")));
}

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
