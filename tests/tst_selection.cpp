// Selecting controls, the texts they and the key display show, Clear and
// Clear All, and the pages' clicks reaching the selected key.

#include "keypad/layoutcatalogue.h"
#include "tst_control_support.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/window/widget.h"
#include "pages/basekeyspage.h"
#include "pages/extkeyspage.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/procreatepage.h"
#include "pages/procreateshortcuts.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"
#include "widgets/rgbcolorpickerwidget.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;
constexpr uint8_t kUsageD = 0x07;
constexpr uint8_t kUsageUp = 0x52;
constexpr uint8_t kLeftShift = 0xE1;
constexpr uint8_t kLeftGui = 0xE3;

std::unique_ptr<Widget> makeWindow()
{
    auto window = std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
    window->applyLayout(layoutById(Layout16K3E_S0));
    return window;
}

QPushButton *pageButtonWith(const QList<QPushButton *> &buttons, const char *property, int value)
{
    for (QPushButton *button : buttons)
        if (button->property(property).toInt() == value)
            return button;
    return nullptr;
}

QPushButton *procreateButton(const Widget &window, const QString &label)
{
    for (QPushButton *button : window.findChild<ProcreatePage *>()->shortcutButtons())
        if (button->property("procreateLabel").toString() == label)
            return button;
    return nullptr;
}

MacroStep step(uint8_t action, uint8_t usage) { return MacroStep{action, usage, 0}; }

void storeMacro(KeyboardData &store, int key, const QVector<MacroStep> &steps)
{
    store.updateKey(store.currentLayer(), key, [&steps](KeyConfig &config) { config.setMacro(steps); });
}

} // namespace

class SelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void clickingSelectsAndReselects();
    void textsFollowTheModel();
    void arrowsOnlyOnTheBaseKeysRow();
    void procreateShortcutsOnTheirRow();
    void clearAndClearAll();
    void lightingPageSelectsLeds();
    void pagesReplaceThePlaceholders();
    void displayNamesTheControl();
    void lateControlsTakeDrops();
};

void SelectionTest::clickingSelectsAndReselects()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    QPushButton *key3 = controlButton(*window, 3);
    QPushButton *key4 = controlButton(*window, 4);
    QVERIFY(key3 && key4);
    store.updateKey(0, 3, [&](KeyConfig &k) { k.setSingleKey(kUsageA); });

    QSignalSpy selected(&store, &KeyboardData::selectedKeyChanged);
    QSignalSpy full(&store, &KeyboardData::keyFullTextChanged);
    key3->click();
    QCOMPARE(store.selectedKey(), 3);
    QVERIFY(key3->isChecked());
    QCOMPARE(window->findChild<QTextEdit *>()->toPlainText(), QStringLiteral("A"));

    // The same control again stays checked and says so again.
    key3->click();
    QVERIFY(key3->isChecked());
    QCOMPARE(selected.count(), 2);
    QCOMPARE(full.count(), 2);

    key4->click();
    QVERIFY(!key3->isChecked());
    QVERIFY(key4->isChecked());
    QVERIFY(window->findChild<QTextEdit *>()->toPlainText().isEmpty());

    // What each page offers, clicked with the mouse, goes into the control
    // clicked before it and onto that control.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *list = window->findChild<QListWidget *>();
    const auto choose = [&](int control, int row, QPushButton *button) {
        QTest::mouseClick(controlButton(*window, control), Qt::LeftButton);
        list->setCurrentRow(row);
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    };
    choose(4, RowBaseKeys,
           pageButtonWith(window->findChild<BaseKeysPage *>()->keyButtons(), "keycode", kUsageB));
    QCOMPARE(store.layers()[0][4].keycode, kUsageB);
    QCOMPARE(key4->text(), QStringLiteral("B"));
    QVERIFY(qobject_cast<KeyButton *>(key4)->isAssigned());
    choose(5, RowExtKeys, pageButtonWith(window->findChild<ExtKeysPage *>()->keyButtons(), "keycode", 0x68));
    QCOMPARE(store.layers()[0][5].keycode, uint8_t(0x68));
    choose(6, RowMultiMedia,
           pageButtonWith(window->findChild<MultiMediaPage *>()->mediaButtons(), "mediaCode", 226));
    QCOMPARE(store.layers()[0][6].type, uint8_t(KeyTypeMedia));
    QCOMPARE(store.layers()[0][6].mediaCode, uint16_t(226));
    choose(7, RowMouse, pageButtonWith(window->findChild<MousePage *>()->actionButtons(), "mouseAction", 4));
    QCOMPARE(store.layers()[0][7].type, uint8_t(KeyTypeMouse));
    QCOMPARE(store.layers()[0][7].mouseAction, uint8_t(4));
    choose(8, RowProcreate, procreateButton(*window, QStringLiteral("Undo")));
    QCOMPARE(store.layers()[0][8].macroSteps.size(), 4);
    QCOMPARE(controlButton(*window, 8)->text(), QStringLiteral("Undo"));
    QPushButton *effect = window->findChild<LightingPage *>()->effectButtons().at(4);
    choose(9, RowRgbLed, effect);
    QCOMPARE(int(currentLayerEffect(store)), effect->property("modeId").toInt());
    QVERIFY(currentLayerEffect(store) != 1);

    // Out-of-range and absent controls are ignored.
    window->selectButton(25);
    window->selectButton(-1);
    QCOMPARE(store.selectedKey(), 9);
}

void SelectionTest::textsFollowTheModel()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    window->findChild<QListWidget *>()->setCurrentRow(RowExtKeys);

    // Letters are capitals only after a Shift press with no release between.
    storeMacro(store, 0, {step(0, kUsageA), step(0, kUsageB)});
    QCOMPARE(window->buttonTextFor(0), QStringLiteral("a -> b"));
    storeMacro(store, 0, {step(0, kLeftShift), step(0, kUsageA), step(1, kUsageA), step(0, kUsageB)});
    QCOMPARE(window->buttonTextFor(0), QStringLiteral("LShift -..."));
    QVERIFY(window->fullTextFor(0).contains(QStringLiteral("A<span")));
    QVERIFY(window->fullTextFor(0).endsWith(QStringLiteral("</span>b")));

    // Only releases: nothing to name.
    storeMacro(store, 1, {step(1, kUsageA), step(1, kUsageB)});
    QCOMPARE(window->buttonTextFor(1), QStringLiteral("-"));
    QCOMPARE(window->fullTextFor(1), QStringLiteral("Macro(2)"));

    store.updateKey(0, 2, [&](KeyConfig &k) { k.setMouseAction(0); });
    QCOMPARE(window->buttonTextFor(2), QStringLiteral("Mouse Left"));
    QVERIFY(window->buttonTextFor(3).isEmpty());
    QVERIFY(window->buttonTextFor(25).isEmpty());

    // The text a signal carries is not what is shown; the model is.
    store.updateKey(0, 5, [&](KeyConfig &k) { k.setSingleKey(kUsageA); });
    emit store.keyButtonTextChanged(5, QStringLiteral("bogus"));
    QCOMPARE(controlButton(*window, 5)->text(), QStringLiteral("A"));

    // Knob-only pads keep consumer usages in the keycode byte.
    window->applyLayout(layoutById(Layout0K1E_P1S1));
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(233); });
    QVERIFY(window->buttonTextFor(0) != QStringLiteral("Unknown"));
    QCOMPARE(window->buttonTextFor(0), window->fullTextFor(0));
}

void SelectionTest::arrowsOnlyOnTheBaseKeysRow()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    auto *list = window->findChild<QListWidget *>();
    store.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(kUsageUp); });
    list->setCurrentRow(RowBaseKeys);
    window->refreshKeyTexts();
    QCOMPARE(controlButton(*window, 0)->text(), QString::fromUtf8("\u2191"));
    QCOMPARE(window->fullTextFor(0), QString::fromUtf8("\u2191"));

    // The row change alone re-derives the texts.
    list->setCurrentRow(RowExtKeys);
    QCOMPARE(controlButton(*window, 0)->text(), QStringLiteral("Up"));
}

void SelectionTest::procreateShortcutsOnTheirRow()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    auto *list = window->findChild<QListWidget *>();
    list->setCurrentRow(RowProcreate);
    QCOMPARE(window->findChild<QStackedWidget *>()->currentWidget(),
             static_cast<QWidget *>(window->findChild<ProcreatePage *>()));

    controlButton(*window, 6)->click();
    QPushButton *undo = procreateButton(*window, QStringLiteral("Undo"));
    QVERIFY(undo);
    undo->click();
    const KeyConfig &record = store.layers()[0][6];
    QCOMPARE(record.type, uint8_t(KeyTypeMacro));
    QCOMPARE(record.macroSteps.size(), 4);
    QCOMPARE(controlButton(*window, 6)->text(), QStringLiteral("Undo"));

    // Win + D typed by hand is the Clear Selection shortcut.
    store.updateKey(0, 7, [&](KeyConfig &k) { k = procreateRecord({kLeftGui, kUsageD}); });
    window->refreshKeyTexts();
    QCOMPARE(controlButton(*window, 7)->text(), QStringLiteral("Clear Sel"));
    QCOMPARE(window->fullTextFor(7), QStringLiteral("Clear Selection"));

    // Elsewhere the same record reads as its keys.
    list->setCurrentRow(RowExtKeys);
    QVERIFY(controlButton(*window, 6)->text() != QStringLiteral("Undo"));
}

void SelectionTest::clearAndClearAll()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    for (int key : {0, 1, 2})
        store.updateKey(0, key, [&](KeyConfig &k) { k.setSingleKey(kUsageA); });
    window->refreshKeyTexts();
    auto *key1 = qobject_cast<KeyButton *>(controlButton(*window, 1));
    QVERIFY(key1->isAssigned());

    key1->click();
    QPushButton *clear = nullptr;
    QPushButton *clearAll = nullptr;
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("Clear"))
            clear = button;
        if (button->text() == QStringLiteral("Clear All"))
            clearAll = button;
    }
    QVERIFY(clear && clearAll);
    clear->click();
    QVERIFY(store.layers()[0][1].isEmpty());
    QVERIFY(store.layers()[0][1].dirty);
    QCOMPARE(store.selectedKey(), 1);
    QVERIFY(!key1->isChecked());
    QVERIFY(key1->text().isEmpty());
    QVERIFY(!key1->isAssigned());
    QCOMPARE(controlButton(*window, 0)->text(), QStringLiteral("A"));

    controlButton(*window, 2)->click();
    clearAll->click();
    QCOMPARE(store.selectedKey(), -1);
    for (int key : {0, 2}) {
        QVERIFY(store.layers()[0][key].isEmpty());
        QVERIFY(controlButton(*window, key)->text().isEmpty());
        QVERIFY(!controlButton(*window, key)->isChecked());
    }
    QVERIFY(window->findChild<QTextEdit *>()->toPlainText().isEmpty());
}

void SelectionTest::lightingPageSelectsLeds()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    store.updateKey(0, 2, [&](KeyConfig &k) { k.setSingleKey(kUsageA); });
    store.setLedColor(0, 2, 10, 20, 30);
    auto *list = window->findChild<QListWidget *>();
    list->setCurrentRow(RowRgbLed);
    QCOMPARE(window->findChild<QStackedWidget *>()->currentWidget(),
             static_cast<QWidget *>(window->findChild<LightingPage *>()));

    // The keys show their LED colours instead of their texts.
    auto *key2 = qobject_cast<KeyButton *>(controlButton(*window, 2));
    QVERIFY(key2->swatchOn());
    QVERIFY(key2->text().isEmpty());

    // A knob has no LED: nothing happens.
    QPushButton *knob = nullptr;
    for (int slot = 16; slot < kKeySlotCount && !knob; ++slot)
        knob = qobject_cast<KnobButton *>(controlButton(*window, slot));
    QVERIFY(knob);
    knob->click();
    QCOMPARE(store.selectedKey(), -1);
    QVERIFY(!knob->isChecked());

    key2->click();
    QCOMPARE(store.selectedKey(), 2);
    QVERIFY(window->findChild<QTextEdit *>()->toPlainText().isEmpty());
    QCOMPARE(window->findChild<LightingPage *>()->colorPicker()->color().rgb(), qRgb(10, 20, 30));

    // Back on a key page the texts return.
    list->setCurrentRow(RowBaseKeys);
    QVERIFY(!key2->swatchOn());
    QCOMPARE(key2->text(), QStringLiteral("A"));
    QCOMPARE(window->findChild<QTextEdit *>()->toPlainText(), QStringLiteral("A"));
}

void SelectionTest::pagesReplaceThePlaceholders()
{
    auto window = makeWindow();
    auto *stack = window->findChild<QStackedWidget *>();
    QCOMPARE(stack->count(), 11);
    QCOMPARE(stack->widget(RowMacro), static_cast<QWidget *>(window->findChild<MacroPage *>()));
    QCOMPARE(stack->widget(RowMacro)->objectName(), QStringLiteral("macroPage"));

    // Leaving the macro row ends a recording; while it runs the rest is locked.
    auto *list = window->findChild<QListWidget *>();
    list->setCurrentRow(RowMacro);
    controlButton(*window, 0)->click();
    window->findChild<MacroPage *>()->startMacroRecording();
    QVERIFY(window->findChild<MacroPage *>()->isRecording());
    QVERIFY(!list->isEnabled());
    QVERIFY(!window->findChild<BaseKeysPage *>()->isEnabled());
    window->findChild<MacroPage *>()->stopMacroRecording();
    QVERIFY(list->isEnabled());
    QVERIFY(window->findChild<BaseKeysPage *>()->isEnabled());
    window->findChild<MacroPage *>()->startMacroRecording();
    list->setCurrentRow(RowBaseKeys);
    QVERIFY(!window->findChild<MacroPage *>()->isRecording());
}


void SelectionTest::displayNamesTheControl()
{
    auto window = makeWindow();
    KeyboardData &store = window->keyboardData();
    store.updateKey(0, 3, [&](KeyConfig &k) { k.setCombination(0x03, QByteArray(1, char(kUsageA))); });
    controlButton(*window, 3)->click();
    auto *heading = window->findChild<QLabel *>(QStringLiteral("keyDisplayHeading"));
    QVERIFY(heading);
    QCOMPARE(heading->text(), QStringLiteral("Key 4"));

    // The display breaks lines between keys, never inside one or before "+".
    const QString shown = window->findChild<QTextEdit *>()->document()->toRawText();
    QCOMPARE(QString(shown).replace(QChar(0x00A0), QLatin1Char(' ')),
             window->fullTextFor(3));
    QVERIFY(!shown.contains(QStringLiteral(" +")));
    QVERIFY(!shown.contains(QStringLiteral("L ")));
}

void SelectionTest::lateControlsTakeDrops()
{
    // The turn-only knobs of the five-key pad are made when it is first shown,
    // after the window began watching its controls.
    auto window = makeWindow();
    window->applyLayout(layoutById(Layout5K2E));
    int turnButtons = 0;
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        auto *knob = qobject_cast<KnobButton *>(controlButton(*window, slot));
        if (!knob || !knob->isVisibleTo(window.get()))
            continue;
        ++turnButtons;
        QVERIFY2(knob->acceptDrops(), qPrintable(QString::number(slot)));
    }
    QVERIFY(turnButtons >= 4);
}

QTEST_MAIN(SelectionTest)
#include "tst_selection.moc"
