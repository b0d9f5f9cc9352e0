// The menu bar, the controls' context menu, the status line's word after an
// edit, and undo bringing its change into view, on a window connected to the
// virtual keypad.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "app/editing/editcontrols.h"
#include "app/editing/edithistory.h"
#include "app/keypadview/functionrows.h"
#include "app/keypadview/layercolumn.h"
#include "app/editing/layercopy.h"
#include "app/window/windowmenus.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QStackedWidget>
#include <QUndoStack>

using namespace flowtest;

namespace {

constexpr uint8_t UsageB = 0x05;
constexpr uint16_t VolumeUp = 0xE9;

QMenu *menuTitled(const Widget &window, const QString &title)
{
    for (QAction *action : window.findChild<QMenuBar *>()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

QAction *entry(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The context menu on screen, if one is open.
QMenu *openControlMenu()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("controlMenu") && widget->isVisible())
            return qobject_cast<QMenu *>(widget);
    return nullptr;
}

} // namespace

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void menuEntriesAreTheWindowsCommands();
    void undoNamesTheStepAndTheStatusLineSaysIt();
    void contextMenuOnTheFocusedControl();
    void undoOfALightingChangeShowsItsPageAndLayer();
};

void MenusTest::menuEntriesAreTheWindowsCommands()
{
    LogCapture log;
    auto unplugged = makeWindow();
    QMenu *file = menuTitled(*unplugged, QStringLiteral("&File"));
    QVERIFY(file && menuTitled(*unplugged, QStringLiteral("&Edit"))
            && menuTitled(*unplugged, QStringLiteral("&Help")));
    // Without a keypad, greyed as the buttons are.
    QVERIFY(!entry(file, QStringLiteral("Save Settings"))->isEnabled());
    QVERIFY(!entry(file, QStringLiteral("View Settings"))->isEnabled());
    QVERIFY(entry(file, QStringLiteral("Quit"))->shortcuts().contains(QKeySequence("Ctrl+Q")));
    unplugged.reset();

    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    file = menuTitled(*window, QStringLiteral("&File"));
    QMenu *edit = menuTitled(*window, QStringLiteral("&Edit"));
    QAction *save = entry(file, QStringLiteral("Save Settings"));
    QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
    QVERIFY(save->isEnabled());

    // Save writes the change to the keypad, as the button does.
    controlButton(*window, 9)->click();
    window->keyboardData().appendBaseKey(UsageB);
    QCoreApplication::processEvents();
    save->trigger();
    QVERIFY(waitFor([&] { return poolIdle() && window->keyboardData().layers()[0][9].dirty == 0; }));
    QCOMPARE(VirtualKeypad::key(0, 9), VirtualKeySlot::singleKey(UsageB));

    // Clear All empties the layer as one step, and the status line says so.
    emit edit->aboutToShow();
    entry(edit, QStringLiteral("Clear All"))->trigger();
    QCoreApplication::processEvents();
    for (const KeyConfig &key : window->keyboardData().layers()[0])
        QVERIFY(key.isEmpty());
    QCOMPARE(statusLabel(*window)->text(),
             QString::fromUtf8("Cleared layer 1 \u2014 Ctrl+Z undoes it"));
    QCOMPARE(window->findChild<EditHistory *>()->undoAction()->text(), QStringLiteral("Undo: Clear layer 1"));

    // Copy, Paste and Clear are greyed without a key to work on.
    emit edit->aboutToShow();
    EditControls *edits = window->findChild<EditControls *>();
    QVERIFY(!edits->copyAction()->isEnabled() && !edits->pasteAction()->isEnabled()
            && !edits->deleteAction()->isEnabled());
    QVERIFY(edit->actions().contains(edits->copyAction()));
    controlButton(*window, 2)->click();
    QVERIFY(edits->copyAction()->isEnabled() && !edits->pasteAction()->isEnabled());
    edits->copyAction()->trigger();
    QVERIFY(edits->pasteAction()->isEnabled());

    // Copy layer to… offers the other shown layers and copies.
    emit edit->aboutToShow();
    QMenu *copyTo = entry(edit, QString::fromUtf8("Copy layer to\u2026"))->menu();
    QCOMPARE(copyTo->actions().size(), 2);
    window->findChild<LayerCopy *>()->setAsk([](int, int) { return true; });
    copyTo->actions().first()->trigger();
    QCOMPARE(window->keyboardData().currentLayer(), 1);

    // Reload reads the keypad again, asking first over unsaved changes.
    answerNextMessageBox(QStringLiteral("Discard and read"));
    entry(file, QStringLiteral("View Settings"))->trigger();
    finishTasks();
    QVERIFY(waitFor([&] { return !window->keyboardData().hasUnsavedChanges(); }));
    QCOMPARE(VirtualKeypad::key(0, 9), VirtualKeySlot::singleKey(UsageB));

    // Other commands on files go between Reload and Quit.
    auto *exportAction = new QAction(QStringLiteral("Export"), file);
    window->findChild<WindowMenus *>()->addToFileMenu({exportAction});
    const QList<QAction *> fileEntries = file->actions();
    QVERIFY(fileEntries.indexOf(exportAction) > fileEntries.indexOf(entry(file, "View Settings")));
    QVERIFY(fileEntries.indexOf(exportAction) < fileEntries.indexOf(entry(file, "Quit")) - 1);

    // A recording keeps every key: no menu, no Quit, no Save.
    controlButton(*window, 6)->click();
    window->findChild<MacroPage *>()->startMacroRecording();
    QVERIFY(!window->findChild<QMenuBar *>()->isEnabled());
    QVERIFY(!window->findChild<WindowMenus *>()->quitAction()->isEnabled());
    QVERIFY(!save->isEnabled());
    window->findChild<MacroPage *>()->stopMacroRecording();
    QVERIFY(window->findChild<WindowMenus *>()->quitAction()->isEnabled());

    // Help names the layer keys there are buttons for, and only those act.
    QDialog *shortcuts = window->findChild<WindowMenus *>()->showShortcuts();
    const QList<QTableWidgetItem *> layerRow = shortcuts->findChild<QTableWidget *>()->findItems(
        QStringLiteral("Show layer 1 to 3"), Qt::MatchExactly);
    QCOMPARE(layerRow.size(), 1);
    QCOMPARE(shortcuts->findChild<QTableWidget *>()->item(layerRow[0]->row(), 1)->text(),
             QString::fromUtf8("Ctrl+1 \u2026 Ctrl+3"));
    shortcuts->close();
}

void MenusTest::undoNamesTheStepAndTheStatusLineSaysIt()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    EditHistory *history = window->findChild<EditHistory *>();
    controlButton(*window, 5)->click();
    window->keyboardData().assignMedia(VolumeUp);
    QCoreApplication::processEvents();
    QCOMPARE(history->undoAction()->text(), QStringLiteral("Undo: Vol+ on key 6"));
    history->undoAction()->trigger();
    QCOMPARE(history->redoAction()->text(), QStringLiteral("Redo: Vol+ on key 6"));
    QCOMPARE(statusLabel(*window)->text(), QStringLiteral("Undone: Vol+ on key 6"));
    history->redoAction()->trigger();
    QCOMPARE(statusLabel(*window)->text(), QStringLiteral("Redone: Vol+ on key 6"));

    // A knob part is named as the picture shows it.
    controlButton(*window, 16)->click();
    window->keyboardData().appendBaseKey(UsageB);
    QCoreApplication::processEvents();
    QCOMPARE(history->undoAction()->text(), QStringLiteral("Undo: B on knob 1 turn left"));

    // In Chinese.
    window.reset();
    dropKeypads();
    log.clear();
    auto chinese = makeChineseWindow();
    QVERIFY(chinese);
    chinese->show();
    QVERIFY(connectDemo(log, "16k3e"));
    QVERIFY(menuTitled(*chinese, QString::fromUtf8("编辑(&E)")));
    controlButton(*chinese, 5)->click();
    chinese->keyboardData().assignMedia(VolumeUp);
    QCoreApplication::processEvents();
    QCOMPARE(chinese->findChild<EditHistory *>()->undoAction()->text(),
             QString::fromUtf8("撤销：按键 6 设为 音量+"));
}

void MenusTest::contextMenuOnTheFocusedControl()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QPushButton *key4 = controlButton(*window, 3);
    key4->setFocus();
    QTest::keyClick(key4, Qt::Key_F10, Qt::ShiftModifier);
    QMenu *menu = openControlMenu();
    QVERIFY(menu);
    // The menu works on the control it was opened on.
    QCOMPARE(window->keyboardData().selectedKey(), 3);
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, QStringList({"Copy", "Paste", "Clear", "", "Undo", "Redo"}));
    menu->close();
    QVERIFY(waitFor([] { return !openControlMenu(); }));

    // The Menu key on a knob part, and its Clear is the Delete command.
    QPushButton *press = controlButton(*window, 18);
    press->setFocus();
    QTest::keyClick(press, Qt::Key_Menu);
    menu = openControlMenu();
    QVERIFY(menu);
    QCOMPARE(window->keyboardData().selectedKey(), 18);
    entry(menu, QStringLiteral("Clear"))->trigger();
    QVERIFY(window->keyboardData().layers()[0][18].isEmpty());
    menu->close();
}

void MenusTest::undoOfALightingChangeShowsItsPageAndLayer()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    auto *list = window->findChild<QListWidget *>();
    auto *pages = window->findChild<QStackedWidget *>();

    // A colour changed on layer 2's lighting page.
    window->findChild<LayerColumn *>()->button(1)->click();
    list->setCurrentRow(RowRgbLed);
    const LedLayerConfig before = store.ledLayers()[1];
    store.setLedColor(1, 2, 1, 2, 3);
    QCoreApplication::processEvents();

    // Undone from layer 1's base keys page: layer 2's lighting comes back.
    window->findChild<LayerColumn *>()->button(0)->click();
    list->setCurrentRow(RowBaseKeys);
    QVERIFY(pages->currentWidget() != window->findChild<LightingPage *>());
    window->findChild<EditHistory *>()->undoAction()->trigger();
    QCOMPARE(store.currentLayer(), 1);
    QCOMPARE(list->currentRow(), int(RowRgbLed));
    QCOMPARE(pages->currentWidget(), window->findChild<LightingPage *>());
    QCOMPARE(store.ledLayers()[1].colors[2], before.colors[2]);
    QCOMPARE(statusLabel(*window)->text(), QStringLiteral("Undone: Lighting of layer 2"));
}

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
