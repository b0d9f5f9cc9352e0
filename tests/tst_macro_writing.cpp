// Macros written rather than recorded: text typed on a keyboard layout, the
// edits of selected steps with their undo, the summary under the flow, and a
// written macro on the keypad.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "app/editing/edithistory.h"
#include "model/keyboarddata.h"
#include "model/macroedits.h"
#include "pages/macropage.h"
#include "pages/macrorecorder.h"
#include "pages/macrostepactions.h"
#include "pages/macrosummary.h"
#include "pages/typedtext.h"
#include "pages/typetextdialog.h"
#include "widgets/macroflowwidget.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>

using namespace flowtest;

namespace {

// XKB keycodes (Linux input code + 8) of the keys the texts below use.
constexpr quint32 kShift = 50, kAltGr = 108, kSpace = 65;
constexpr quint32 kQ = 24, kW = 25, kE = 26, kR = 27, kT = 28, kY = 29, kI = 31;
constexpr quint32 kLeftBrace = 34, kH = 43, kC = 54, k1 = 10;
constexpr int kKeyDelay = 50;

struct Tap {
    quint32 key;
    bool shift = false;
    bool altGr = false;
};

// The steps a recording of these key presses makes, one event every
// kKeyDelay ms, as the keys arrive from the desktop on any layout.
QVector<MacroStep> recorded(const QVector<Tap> &taps)
{
    KeyboardData store;
    store.selectKey(0);
    MacroRecorder recorder(store);
    qint64 now = 1000;
    recorder.setClock([&now] { return now; });
    recorder.setScanCodesArePositions(true);
    recorder.begin();
    const auto event = [&](quint32 key, bool press) {
        recorder.recordKeyEvent(0, key, press, false);
        now += kKeyDelay;
    };
    for (const Tap &tap : taps) {
        if (tap.shift)
            event(kShift, true);
        if (tap.altGr)
            event(kAltGr, true);
        event(tap.key, true);
        event(tap.key, false);
        if (tap.altGr)
            event(kAltGr, false);
        if (tap.shift)
            event(kShift, false);
    }
    return store.layers()[0][0].macroSteps;
}

TypingLayout layout(const char *name)
{
    return TypingLayout::load({QString::fromLatin1(name), QString()});
}

QVector<MacroStep> typed(const QString &text, const TypingLayout &on)
{
    QVector<MacroStep> steps = typeText(text, on, kKeyDelay).steps;
    if (!steps.isEmpty())
        steps.first().delay = 0;
    return steps;
}

MacroStep step(uint8_t action, uint8_t usage, uint16_t delay = 50)
{
    return macroStep(action, usage, delay);
}

QVector<uint8_t> usages(const QVector<MacroStep> &steps)
{
    QVector<uint8_t> codes;
    for (const MacroStep &s : steps)
        codes << s.keycode;
    return codes;
}

} // namespace

class MacroWritingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void cleanup() { dropKeypads(); }
    void textTypesAsARecordingOfItsKeys();
    void whatALayoutCannotTypeAndTheStepLimit();
    void editsOfSelectedSteps();
    void eachEditIsOneUndoStep();
    void unbalancedKeysAreNamedAndFixed();
    void aWrittenMacroReachesTheKeypad();
};

void MacroWritingTest::textTypesAsARecordingOfItsKeys()
{
    const TypingLayout us = layout("us");
    const TypingLayout de = layout("de");
    const TypingLayout fr = layout("fr");
    QVERIFY(us.isValid() && de.isValid() && fr.isValid());

    const QString hi = QStringLiteral("Hi!");
    QCOMPARE(typed(hi, us), recorded({{kH, true}, {kI}, {k1, true}}));

    // Y and Z trade places, ü sits where [ is, @ and € need AltGr.
    const QString zurich = QStringLiteral("Zürich @ 1€");
    QCOMPARE(typed(zurich, de),
             recorded({{kY, true}, {kLeftBrace}, {kR}, {kI}, {kC}, {kH}, {kSpace},
                       {kQ, false, true}, {kSpace}, {k1}, {kE, false, true}}));

    const QString azerty = QStringLiteral("azerty");
    QCOMPARE(typed(azerty, fr), recorded({{kQ}, {kW}, {kE}, {kR}, {kT}, {kY}}));

    // The preview reads the steps back through the same layout.
    QCOMPARE(typedPreview(typed(hi, us), us), hi);
    QCOMPARE(typedPreview(typed(zurich, de), de), zurich);
    QCOMPARE(typedPreview(typed(azerty, fr), fr), azerty);
    // The same keys are another text on another layout.
    QCOMPARE(typedPreview(typed(azerty, fr), us), QStringLiteral("qwerty"));
}

void MacroWritingTest::whatALayoutCannotTypeAndTheStepLimit()
{
    const TypingLayout us = layout("us");
    const TypedText text = typeText(QStringLiteral("aü€ü"), us, kKeyDelay);
    QCOMPARE(text.untypable, QStringLiteral("ü€"));
    QCOMPARE(usages(text.steps), (QVector<uint8_t>{0x04, 0x04}));

    // Four free steps: "ab" fits, "abc" is refused whole.
    TypeTextDialog dialog(4, false, false);
    dialog.useLayout({QStringLiteral("us"), QString()}, us);
    dialog.textEdit()->setPlainText(QStringLiteral("ab"));
    QVERIFY(dialog.addButton()->isEnabled());
    QCOMPARE(dialog.steps().size(), 4);
    dialog.textEdit()->setPlainText(QStringLiteral("abc"));
    QVERIFY(!dialog.addButton()->isEnabled());
    QVERIFY(dialog.problemLabel()->text().contains(QStringLiteral("needs 6 steps")));
    dialog.textEdit()->setPlainText(QStringLiteral("a€"));
    QVERIFY(dialog.addButton()->isEnabled());
    QVERIFY(dialog.problemLabel()->text().endsWith(QStringLiteral("left out: €")));
    QCOMPARE(dialog.steps().size(), 2);

    // Edits that would pass 64 steps change nothing.
    const QVector<MacroStep> full(kMaxMacroSteps, step(0, 0x04));
    QCOMPARE(duplicateSteps(full, {0}).steps, full);
    QCOMPARE(insertSteps(full, {}, keyTap(0x05, 50)).steps, full);
}

void MacroWritingTest::editsOfSelectedSteps()
{
    const MacroStep a = step(0, 0x04), b = step(1, 0x04), c = step(0, 0x05), d = step(1, 0x05);
    const QVector<MacroStep> steps{a, b, c, d};

    MacroEditResult r = deleteSteps(steps, {3, 1});
    QCOMPARE(r.steps, (QVector<MacroStep>{a, c}));
    QCOMPARE(r.selection, (QVector<int>{1}));

    r = duplicateSteps(steps, {0, 1});
    QCOMPARE(r.steps, (QVector<MacroStep>{a, b, a, b, c, d}));
    QCOMPARE(r.selection, (QVector<int>{2, 3}));

    r = moveStepsBy(steps, {2, 3}, -1);
    QCOMPARE(r.steps, (QVector<MacroStep>{a, c, d, b}));
    QCOMPARE(r.selection, (QVector<int>{1, 2}));
    QCOMPARE(moveStepsBy(steps, {3}, 1).steps, steps);
    QCOMPARE(moveStepsTo(steps, {0, 1}, 2).steps, (QVector<MacroStep>{c, d, a, b}));

    r = setStepDelays(steps, {0, 2}, 700);
    QCOMPARE(r.steps[0].delay, uint16_t(700));
    QCOMPARE(r.steps[1].delay, uint16_t(50));
    QCOMPARE(r.steps[2].delay, uint16_t(700));
    QCOMPARE(macroRunningTime(r.steps), 1500);

    r = insertSteps(steps, {1}, keyTap(0x06, 20));
    QCOMPARE(usages(r.steps), (QVector<uint8_t>{0x04, 0x04, 0x06, 0x06, 0x05, 0x05}));
    QCOMPARE(r.selection, (QVector<int>{2, 3}));

    // The flow selects with Shift-click and the arrow keys.
    MacroFlowWidget flow;
    flow.resize(600, 200);
    flow.setSteps(steps);
    flow.setSelectedSteps({1});
    QTest::keyClick(&flow, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&flow, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(flow.selectedSteps(), (QVector<int>{1, 2, 3}));
    QTest::keyClick(&flow, Qt::Key_Left);
    QCOMPARE(flow.selectedSteps(), (QVector<int>{2}));
    QTest::mouseClick(flow.blocks().at(0), Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(flow.selectedSteps(), (QVector<int>{0, 2}));
    QTest::mouseClick(flow.blocks().at(7), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(flow.selectedSteps(), (QVector<int>{0, 1, 2, 3}));

    // The selection is drawn; a shorter macro in its place keeps no block of the longer one.
    const auto shade = [](QWidget *block) {
        return block->grab().toImage().pixelColor(block->width() / 2, 2);
    };
    QCOMPARE(shade(flow.blocks().at(0)), QColor(0x1f, 0x4f, 0x86));
    flow.setSelectedSteps({1});
    QCOMPARE(shade(flow.blocks().at(0)), QColor(0x3a, 0x3a, 0x3a));
    const QList<QWidget *> longer = flow.blocks();
    flow.setSteps({a, b});
    QCOMPARE(flow.blocks(), longer.mid(0, 4));
    QVERIFY(longer.at(4)->isHidden() && longer.at(7)->isHidden() && !longer.at(3)->isHidden());
    QCOMPARE(flow.selectedSteps(), (QVector<int>{1}));
}

void MacroWritingTest::eachEditIsOneUndoStep()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    EditHistory &history = *window->findChild<EditHistory *>();
    MacroPage *page = window->findChild<MacroPage *>();
    MacroFlowWidget *flow = page->flow();
    window->findChild<QListWidget *>()->setCurrentRow(RowMacro);
    controlButton(*window, 2)->click();
    const int key = window->keyIndexForButton(2);
    const QVector<MacroStep> start{step(0, 0x04, 0), step(1, 0x04), step(0, 0x05), step(1, 0x05)};
    store.assignMacro(start);
    history.commitPending();
    const auto stepsNow = [&] { return store.layers()[0][key].macroSteps; };

    // Every edit changes the key once, marks it unsaved and undoes whole.
    const auto check = [&](const char *what, const std::function<void()> &edit,
                           const QVector<MacroStep> &expected) {
        const QVector<MacroStep> before = stepsNow();
        const int depth = history.stack()->count();
        edit();
        history.commitPending();
        QVERIFY2(stepsNow() == expected, what);
        QVERIFY2(store.layers()[0][key].dirty, what);
        QVERIFY2(history.stack()->index() == depth + 1 || history.stack()->count() == depth,
                 what);
        history.undo();
        QVERIFY2(stepsNow() == before, what);
        history.redo();
        QVERIFY2(stepsNow() == expected, what);
    };
    flow->setSelectedSteps({0, 1});
    check("duplicate", [&] { page->duplicateSelectedSteps(); },
          {start[0], start[1], start[0], start[1], start[2], start[3]});
    flow->setSelectedSteps({0, 1});
    check("delete", [&] { page->deleteSelectedSteps(); }, {start[0], start[1], start[2], start[3]});
    flow->setSelectedSteps({2, 3});
    check("move", [&] { page->moveSelectedSteps(-1); }, {start[0], start[2], start[3], start[1]});
    flow->setSelectedSteps({1, 2});
    QVector<MacroStep> delayed = stepsNow();
    delayed[1].delay = delayed[2].delay = 900;
    check("delays", [&] { page->setSelectedDelays(900); }, delayed);
    flow->setSelectedSteps({3});
    QVector<MacroStep> inserted = stepsNow() + keyTap(0x06, 50);
    check("insert", [&] { page->insertKey(0x06); }, inserted);

    // The flow's keys reach its actions before the window's Delete (which
    // would clear the whole key).
    flow->setFocus();
    flow->setSelectedSteps({4, 5});
    check("Delete key", [&] { QTest::keyClick(flow, Qt::Key_Delete); }, delayed);
    flow->setSelectedSteps({0});
    QVERIFY(page->stepActions()->action(MacroStepActions::MoveLater)->isEnabled());
    check("Alt+Right", [&] { QTest::keyClick(flow, Qt::Key_Right, Qt::AltModifier); },
          {delayed[1], delayed[0], delayed[2], delayed[3]});
}

void MacroWritingTest::unbalancedKeysAreNamedAndFixed()
{
    KeyboardData store;
    MacroPage page(store);
    store.loadLayers([] {
        KeyLayers layers(kLayerCount, KeyLayer(kKeySlotCount));
        layers[0][0].setMacro({step(0, 0x04), step(0, 0x05), step(1, 0x04), step(1, 0x06)});
        return layers;
    }());
    store.selectKey(0);
    page.show();
    MacroSummary *summary = page.summary();
    QVERIFY(summary->warningLabel()->isVisible());
    QCOMPARE(summary->warningLabel()->text(),
             QStringLiteral("Pressed and never released: B; Released and never pressed: C"));
    QCOMPARE(summary->totalsLabel()->text(), QStringLiteral("Running time 0.20 s · 4 of 64 steps used"));

    summary->fixButton()->click();
    const QVector<MacroStep> fixed = store.layers()[0][0].macroSteps;
    QCOMPARE(fixed, (QVector<MacroStep>{step(0, 0x04), step(0, 0x05), step(1, 0x04), step(1, 0x05)}));
    QVERIFY(macroBalance(fixed).isBalanced());
    QVERIFY(!summary->warningLabel()->isVisible());
    QVERIFY(!summary->fixButton()->isVisible());
}

void MacroWritingTest::aWrittenMacroReachesTheKeypad()
{
    LogCapture log;
    auto window = connectedWindow(log, "16k3e");
    QVERIFY(window);
    KeyboardData &store = window->keyboardData();
    MacroPage *page = window->findChild<MacroPage *>();
    window->findChild<QListWidget *>()->setCurrentRow(RowMacro);
    controlButton(*window, 4)->click();
    const int key = window->keyIndexForButton(4);
    page->setTypingLayout({QStringLiteral("de"), QString()}, layout("de"));

    std::unique_ptr<TypeTextDialog> dialog(page->createTypeTextDialog());
    dialog->textEdit()->setPlainText(QStringLiteral("Zürich @ 1€"));
    QVERIFY(dialog->addButton()->isEnabled());
    page->addTypedText(*dialog);
    const KeyConfig written = store.layers()[0][key];
    QCOMPARE(written.macroSteps.size(), 28);
    QCOMPARE(page->summary()->previewLabel()->text(),
             QStringLiteral("Types on German: Zürich @ 1€"));

    buttonWithText(*window, QStringLiteral("Save Settings"))->click();
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kSavedText; }));
    QVERIFY(!store.layers()[0][key].dirty);
    buttonWithText(*window, QStringLiteral("View Settings"))->click();
    finishTasks();
    QVERIFY(store.layers()[0][key].sameAssignment(written));
    QCOMPARE(store.layers()[0][key].macroSteps, written.macroSteps);
}

QTEST_MAIN(MacroWritingTest)
#include "tst_macro_writing.moc"
