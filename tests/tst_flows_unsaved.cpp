// Unsaved changes: kept aside over an unplug, asked about before they could
// be lost, and shown on the window and its controls.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "pages/macropage.h"
#include "widgets/keybutton.h"
#include "widgets/macroflowwidget.h"

#include <algorithm>

#include <QKeyEvent>
#include <QListWidget>
#include <QStackedWidget>

using namespace flowtest;

namespace {

constexpr uint8_t UsageB = 0x05;
constexpr uint8_t UsageC = 0x06;

void assignKey(Widget &window, int slot, uint8_t usage)
{
    controlButton(window, slot)->click();
    window.keyboardData().appendBaseKey(usage);
}

bool reconnected(LogCapture &log, int device)
{
    log.clear();
    VirtualKeypad::plugBack(device);
    return waitFor([&log] { return configLoaded(log); }) && waitFor(poolIdle);
}

} // namespace

class FlowsUnsavedTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }
    void editsSurviveAnUnplug();
    void closeAndViewAskFirst();
    void recordingAcrossAnUnplugAndTheFlowAfterView();
    void aRecordingHoldsTheRestOfTheWindow();
};

void FlowsUnsavedTest::editsSurviveAnUnplug()
{
    LogCapture log;
    auto window = makeWindow();
    const int first = VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(waitFor([&] { return configLoaded(log); }) && waitFor(poolIdle));
    QVERIFY(!window->isWindowModified());

    assignKey(*window, 3, UsageB);
    QVERIFY(window->isWindowModified());
    QVERIFY(static_cast<KeyButton *>(controlButton(*window, 3))->isUnsaved());
    QVERIFY(!static_cast<KeyButton *>(controlButton(*window, 4))->isUnsaved());

    // Unplugged and back while idle: the edit is laid on the keypad's own,
    // and so is one made while the keypad was away.
    VirtualKeypad::unplug(first);
    QVERIFY(waitFor([&] { return !window->keyboardData().hasUnsavedChanges(); }));
    assignKey(*window, 6, UsageC);
    QVERIFY(static_cast<KeyButton *>(controlButton(*window, 6))->isUnsaved());
    QVERIFY(reconnected(log, first));
    QCOMPARE(window->keyboardData().layers()[0][3].keycode, UsageB);
    QCOMPARE(window->keyboardData().layers()[0][3].dirty, uint8_t(1));
    QCOMPARE(window->keyboardData().layers()[0][6].keycode, UsageC);
    QCOMPARE(window->keyboardData().layers()[0][6].dirty, uint8_t(1));
    QVERIFY(window->isWindowModified());

    // Unplugged again, and pulled out once more while its read runs: the
    // edit still waits for the keypad.
    VirtualKeypad::unplug(first);
    QVERIFY(waitFor([&] { return !window->keyboardData().hasUnsavedChanges(); }));
    log.clear();
    VirtualKeypad::plugBack(first);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }));
    VirtualKeypad::unplug(first);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kNoDeviceText; }));
    QVERIFY(waitFor(poolIdle));
    QVERIFY(reconnected(log, first));
    QCOMPARE(window->keyboardData().layers()[0][3].dirty, uint8_t(1));

    // One Save writes it.
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return poolIdle() && !window->keyboardData().hasUnsavedChanges(); }));
    QCOMPARE(VirtualKeypad::key(0, 3, first), VirtualKeySlot::singleKey(UsageB));
    QCOMPARE(VirtualKeypad::key(0, 6, first), VirtualKeySlot::singleKey(UsageC));
    QVERIFY(!window->isWindowModified());

    // Another keypad never receives what was kept for the first.
    assignKey(*window, 5, UsageB);
    VirtualKeypad::unplug(first);
    QVERIFY(waitFor([&] { return !window->keyboardData().hasUnsavedChanges(); }));
    log.clear();
    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(waitFor([&] { return configLoaded(log); }) && waitFor(poolIdle));
    QVERIFY(!window->keyboardData().hasUnsavedChanges());
    QCOMPARE(statusLabel(*window)->text(),
             QStringLiteral("Unsaved changes of another keypad are kept aside"));
}

void FlowsUnsavedTest::closeAndViewAskFirst()
{
    LogCapture log;
    auto window = makeWindow();
    window->show();
    QVERIFY(connectDemo(log, "16k3e") && waitFor(poolIdle));

    // Without changes View does not ask (a question would block here).
    window->onViewSettingsClicked();
    finishTasks();
    QVERIFY(waitFor(poolIdle));

    bool asked = false;
    assignKey(*window, 2, UsageB);
    answerNextMessageBox(QStringLiteral("Cancel"), &asked);
    window->onViewSettingsClicked();
    QVERIFY(asked);
    QVERIFY(poolIdle());
    QCOMPARE(window->keyboardData().layers()[0][2].keycode, UsageB);

    answerNextMessageBox(QStringLiteral("Cancel"), &asked);
    QVERIFY(!window->close());
    QVERIFY(asked);
    QVERIFY(window->isVisible());

    // Save closes the window once the keypad has the change.
    answerNextMessageBox(QStringLiteral("Save"), &asked);
    window->close();
    QVERIFY(asked);
    QVERIFY(waitFor([&] { return !window->isVisible(); }));
    QCOMPARE(VirtualKeypad::key(0, 2), VirtualKeySlot::singleKey(UsageB));

    // Discard on View reads the keypad again.
    window->show();
    assignKey(*window, 2, 0x06);
    log.clear();
    answerNextMessageBox(QStringLiteral("Discard and read"), &asked);
    window->onViewSettingsClicked();
    finishTasks();
    QCOMPARE(window->keyboardData().layers()[0][2].keycode, UsageB);

    // Edits kept aside for a keypad that was pulled out count too: the
    // title keeps its marker and closing asks, with nowhere to save them.
    assignKey(*window, 4, UsageB);
    VirtualKeypad::unplug();
    QVERIFY(waitFor([&] { return !window->keyboardData().hasUnsavedChanges(); }));
    QVERIFY(window->isWindowModified());
    asked = false;
    answerNextMessageBox(QStringLiteral("Cancel"), &asked);
    QVERIFY(!window->close());
    QVERIFY(asked && window->isVisible());
    answerNextMessageBox(QStringLiteral("Discard"), &asked);
    QVERIFY(window->close());
}

void FlowsUnsavedTest::recordingAcrossAnUnplugAndTheFlowAfterView()
{
    LogCapture log;
    auto window = makeWindow();
    const int device = VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(waitFor([&] { return configLoaded(log); }) && waitFor(poolIdle));
    window->findChild<QListWidget *>()->setCurrentRow(RowMacro);
    MacroPage *page = window->findChild<MacroPage *>();

    // A recording the keypad leaves in the middle ends, unsaved, and every
    // control is usable again.
    controlButton(*window, 4)->click();
    page->startMacroRecording();
    QVERIFY(page->isRecording());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &press);
    QCoreApplication::sendEvent(page, &release);
    log.clear();
    VirtualKeypad::unplug(device);
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kNoDeviceText; }));
    QVERIFY(!page->isRecording());
    QVERIFY(!log.has("Save: device not connected"));
    QVERIFY(window->findChild<QListWidget *>()->isEnabled());
    QVERIFY(controlButton(*window, 0)->isEnabled());

    // Back: the recorded steps return as an unsaved change, and the flow
    // shows the key's macro as the store holds it after a View.
    QVERIFY(reconnected(log, device));
    QCOMPARE(window->keyboardData().layers()[0][4].type, uint8_t(KeyTypeMacro));
    controlButton(*window, 4)->click();
    QCOMPARE(page->flow()->blocks().isEmpty(), false);
    VirtualKeypad::setKey(0, 4, VirtualKeySlot::singleKey(UsageB), device);
    log.clear();
    answerNextMessageBox(QStringLiteral("Discard and read"));
    window->onViewSettingsClicked();
    finishTasks();
    QVERIFY(page->flow()->blocks().isEmpty());
}

void FlowsUnsavedTest::aRecordingHoldsTheRestOfTheWindow()
{
    LogCapture log;
    auto window = makeWindow();
    MacroPage *page = window->findChild<MacroPage *>();
    auto *list = window->findChild<QListWidget *>();
    const QList<QWidget *> held = {statusLabel(*window),
                                   window->findChild<QWidget *>(QStringLiteral("keyKnobGroup")),
                                   window->findChild<QWidget *>(QStringLiteral("layerColumn")),
                                   list, buttonWithText(*window, QStringLiteral("Clear All"))};
    const auto disabledCount = [&] {
        return int(std::count_if(held.begin(), held.end(),
                                 [](const QWidget *w) { return !w->isEnabled(); }));
    };
    const auto keypadButtonsEnabled = [&] {
        return buttonWithText(*window, QStringLiteral("View Settings"))->isEnabled()
            + buttonWithText(*window, QStringLiteral("Save Settings"))->isEnabled();
    };
    auto *stack = window->findChild<QStackedWidget *>();
    const auto enabledPages = [&] {
        int enabled = 0;
        for (int i = 0; i < stack->count(); ++i)
            enabled += stack->widget(i)->isEnabled();
        return enabled;
    };
    const auto record = [&] {
        controlButton(*window, 4)->click();
        list->setCurrentRow(RowMacro);
        page->startMacroRecording();
    };

    // Only "Clear" and the macro page stay usable; afterwards "View Settings"
    // and "Save Settings" follow the keypad, here none.
    record();
    QVERIFY(page->isRecording());
    QCOMPARE(disabledCount(), held.size());
    QCOMPARE(enabledPages(), 1);
    QVERIFY(page->isEnabled());
    QVERIFY(buttonWithText(*window, QStringLiteral("Clear"))->isEnabled());
    QCOMPARE(keypadButtonsEnabled(), 0);
    page->abandonRecording();
    QCOMPARE(disabledCount(), 0);
    QCOMPARE(enabledPages(), stack->count());
    QCOMPARE(keypadButtonsEnabled(), 0);

    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(waitFor([&] { return configLoaded(log); }) && waitFor(poolIdle));
    record();
    QCOMPARE(keypadButtonsEnabled(), 0);
    page->abandonRecording();
    QCOMPARE(keypadButtonsEnabled(), 2);
}

QTEST_MAIN(FlowsUnsavedTest)
#include "tst_flows_unsaved.moc"
