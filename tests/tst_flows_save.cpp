// "View Settings", "Save Settings", the keys-only save and the status line.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "app/keypadview/functionrows.h"
#include "pages/macropage.h"

#include <QListWidget>
#include <QProgressBar>

#include "virtual_keypad/legacyfirmware.h"

using namespace flowtest;

namespace {

constexpr uint8_t UsageB = 0x05, UsageZ = 0x1D;
constexpr int CmdWriteKey = 1;
constexpr int CmdReadLayer = 4;
constexpr int LegacyCmdWrite = 0xFD;

QString statusText(const Widget &window) { return statusLabel(window)->text(); }

// Selects `slot` and gives it the key `usage`, as the base-key page does.
void assignKey(Widget &window, int slot, uint8_t usage)
{
    controlButton(window, slot)->click();
    window.keyboardData().appendBaseKey(usage);
}

LegacyFirmware::Record legacyRecord(int layer, int wireKey)
{
    LegacyFirmware::Record record{};
    VirtualKeypad::withFirmware(VirtualKeypad::FirstDevice, [&](VirtualFirmware &firmware) {
        record = dynamic_cast<LegacyFirmware &>(firmware).record(layer, wireKey);
    });
    return record;
}

int legacyCommits()
{
    int commits = 0;
    VirtualKeypad::withFirmware(VirtualKeypad::FirstDevice, [&](VirtualFirmware &firmware) {
        commits = dynamic_cast<LegacyFirmware &>(firmware).commitCount();
    });
    return commits;
}

} // namespace

class FlowsSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void saveShowsSavedThenConnected();
    void unplugAfterSaveStaysRed();
    void refusalsOnlyLog();
    void viewReloadsTheKeypad();
    void viewOnLegacyKeypadUsesLegacyReads();
    void legacySave();
    void keysOnlySaveLeavesLighting();
    void recordingSavesOnlyTheRecordedKey();
    void closingDuringSaveFinishesTheWrite();
};

void FlowsSaveTest::saveShowsSavedThenConnected()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "16k3e"));

    assignKey(*window, 9, UsageB);
    window->keyboardData().setLayerEffect(1, 4);
    // The save's bar shows from its start and goes with its end.
    const auto *progress = window->findChild<QProgressBar *>(QStringLiteral("saveProgress"));
    QVERIFY(progress && progress->isHidden());
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(!progress->isHidden());

    QVERIFY(waitFor([&] { return statusText(*window) == kSavedText; }));
    QCOMPARE(statusLook(*window), kSavedLook);
    QVERIFY(waitFor([&] { return progress->isHidden(); }));
    QCOMPARE(VirtualKeypad::key(0, 9), VirtualKeySlot::singleKey(UsageB));
    QCOMPARE(VirtualKeypad::lighting(1).effect, uint8_t(4));
    // The marks go on the UI thread once the result is back.
    QVERIFY(waitFor([&] { return poolIdle() && window->keyboardData().layers()[0][9].dirty == 0; }));
    QVERIFY(!window->keyboardData().ledLayers()[1].isChanged());
    QVERIFY(log.has("HID progress: Saving key L1 K9..."));

    QVERIFY(waitFor([&] { return statusText(*window) == kConnectedText; }));
    QCOMPARE(statusLook(*window), kConnectedLook);

    // A failed save says so in red and keeps the mark for a retry.
    assignKey(*window, 10, UsageZ);
    VirtualFault refuseAllAttempts;
    refuseAllAttempts.kind = VirtualFault::Kind::FailWrite;
    refuseAllAttempts.command = CmdWriteKey;
    refuseAllAttempts.count = 3;
    VirtualKeypad::addFault(refuseAllAttempts);
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] {
        return log.has("HIDManager operation failed: Some items failed to save, please retry");
    }));
    QVERIFY(waitFor(poolIdle));
    QVERIFY(waitFor([&] { return statusText(*window).startsWith(QLatin1String("Save failed")); }));
    QVERIFY(statusLabel(*window)->styleSheet().contains(QLatin1String("#FF0000")));
    QCOMPARE(window->keyboardData().layers()[0][10].dirty, uint8_t(1));
}

void FlowsSaveTest::unplugAfterSaveStaysRed()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "6k1e"));

    assignKey(*window, 5, UsageB);
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return statusText(*window) == kSavedText; }));
    VirtualKeypad::unplug();
    HIDManager::instance()->closeDevice();
    QCOMPARE(statusText(*window), kNoDeviceText);

    // Past the time the saved message would have been replaced.
    QTest::qWait(1700);
    QCOMPARE(statusText(*window), kNoDeviceText);
    QCOMPARE(statusLook(*window), kNoDeviceLook);
}

void FlowsSaveTest::refusalsOnlyLog()
{
    LogCapture log;
    auto window = makeWindow();

    // No keypad.
    window->onViewSettingsClicked();
    window->onSaveSettingsClicked();
    window->startKeysOnlySave();
    QVERIFY(log.has("View: device not connected"));
    QCOMPARE(log.count("Save: device not connected"), 2);
    QVERIFY(poolIdle());
    QCOMPARE(statusText(*window), kNoDeviceText);

    QVERIFY(connectDemo(log, "16k3e"));
    QVERIFY(waitFor(poolIdle));
    VirtualKeypad::clearRecords();

    // Nothing marked changed: no task, no traffic.
    log.clear();
    window->onSaveSettingsClicked();
    QVERIFY(log.has("Save: nothing to save"));
    QVERIFY(poolIdle());

    // Another operation holds the keypad.
    assignKey(*window, 3, UsageB);
    {
        HIDManager::DeviceSession session(*HIDManager::instance());
        log.clear();
        window->onViewSettingsClicked();
        window->onSaveSettingsClicked();
        window->startKeysOnlySave();
        QVERIFY(log.has("View: device busy"));
        QCOMPARE(log.count("Save: device busy"), 2);
        QVERIFY(poolIdle());
    }
    // A view of this window not yet finished counts as busy as well. The
    // view asks first, as the key is changed.
    log.clear();
    answerNextMessageBox(QStringLiteral("Discard and read"));
    window->onViewSettingsClicked();
    window->onSaveSettingsClicked();
    QVERIFY(log.has("Save: device busy"));
    finishTasks();

    QTest::qWait(20);
    QCOMPARE(statusText(*window), kConnectedText);
    QVERIFY(VirtualKeypad::writtenReports().size() > 0); // the view's reads only
    QCOMPARE(VirtualKeypad::key(0, 3), VirtualKeySlot::media(0xE9));
}

void FlowsSaveTest::viewReloadsTheKeypad()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "16k3e"));

    VirtualKeypad::setKey(0, 12, VirtualKeySlot::singleKey(UsageZ));
    VirtualKeypad::setKey(0, 0, VirtualKeySlot::empty());
    buttonWithText(*window, "View Settings")->click();
    finishTasks();

    QCOMPARE(controlButton(*window, 12)->text(), QStringLiteral("Z"));
    QVERIFY(controlButton(*window, 0)->text().isEmpty());
    QVERIFY(window->keyboardData().layers()[0][12].sameAssignment([] {
        KeyConfig k;
        k.setSingleKey(UsageZ);
        return k;
    }()));
    QVERIFY(window->keyboardData().layers()[0][0].isEmpty());
    QCOMPARE(statusText(*window), kConnectedText);
}

void FlowsSaveTest::viewOnLegacyKeypadUsesLegacyReads()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "r20wide"));
    const QString volumeUp = controlButton(*window, 2)->text();
    QVERIFY(!volumeUp.isEmpty());

    // The keypad's key 6 (slot 5) gets a B behind the window's back.
    VirtualKeypad::withFirmware(VirtualKeypad::FirstDevice, [](VirtualFirmware &firmware) {
        LegacyFirmware::Record record{};
        record[4 - LegacyFirmware::RecordOffset] = 1;
        record[5 - LegacyFirmware::RecordOffset] = 1;
        record[6 - LegacyFirmware::RecordOffset] = 1;
        record[9 - LegacyFirmware::RecordOffset] = UsageB;
        dynamic_cast<LegacyFirmware &>(firmware).setRecord(0, 6, record);
    });
    VirtualKeypad::clearRecords();
    log.clear();
    buttonWithText(*window, "View Settings")->click();
    finishTasks();

    QCOMPARE(VirtualKeypad::requestCount(CmdReadLayer), 0);
    QCOMPARE(controlButton(*window, 5)->text(), QStringLiteral("B"));
    QCOMPARE(controlButton(*window, 2)->text(), volumeUp);
    QCOMPARE(window->keyboardData().ledLayers()[0].effect, uint8_t(2));
    QVERIFY(!log.has("View: readAllConfiguration completed with fallback/default data"));
}

void FlowsSaveTest::legacySave()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "old"));
    QCOMPARE(legacyCommits(), 0);

    assignKey(*window, 7, UsageB);
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return statusText(*window) == kSavedText; }));
    QCOMPARE(legacyCommits(), 1);
    QCOMPARE(legacyRecord(0, 8)[12 - LegacyFirmware::RecordOffset], UsageB);
    QVERIFY(waitFor([&] { return window->keyboardData().layers()[0][7].dirty == 0; }));
    QVERIFY(waitFor([&] { return statusText(*window) == kConnectedText; }));

    // A write the keypad never takes: logged, shown in red, mark kept.
    assignKey(*window, 8, UsageZ);
    VirtualKeypad::failWrite(LegacyCmdWrite, 1);
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] {
        return statusText(*window) == QStringLiteral("Save failed: the data did not reach the keypad");
    }));
    QCOMPARE(window->keyboardData().layers()[0][8].dirty, uint8_t(1));
    QCOMPARE(legacyCommits(), 1);
}

void FlowsSaveTest::keysOnlySaveLeavesLighting()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "16k3e"));

    assignKey(*window, 11, UsageB);
    window->keyboardData().setLayerEffect(0, 5);
    window->startKeysOnlySave();
    QVERIFY(waitFor([&] { return statusText(*window) == kSavedText; }));
    QCOMPARE(VirtualKeypad::key(0, 11), VirtualKeySlot::singleKey(UsageB));
    QCOMPARE(VirtualKeypad::lighting(0).effect, uint8_t(1));
    QVERIFY(waitFor([&] { return window->keyboardData().layers()[0][11].dirty == 0; }));
    QVERIFY(window->keyboardData().ledLayers()[0].isChanged());
}

// Stopping a recording writes the recorded key and nothing else: the user's
// other edits wait for Save.
void FlowsSaveTest::recordingSavesOnlyTheRecordedKey()
{
    LogCapture log;
    auto window = makeWindow();
    window->show();
    QVERIFY(connectDemo(log, "16k3e"));
    QVERIFY(waitFor(poolIdle));
    const VirtualKeySlot before = VirtualKeypad::key(0, 5);
    assignKey(*window, 5, UsageB);

    window->findChild<QListWidget *>()->setCurrentRow(RowMacro);
    controlButton(*window, 9)->click();
    MacroPage *page = window->findChild<MacroPage *>();
    page->recordButton()->click();
    QVERIFY(page->isRecording());
    QTest::keyClick(page, Qt::Key_H);
    page->recordButton()->click();
    // The status names what was stored and that key 6's edit still waits.
    QVERIFY(waitFor([&] {
        return statusText(*window)
            == QStringLiteral("Macro saved to Key 10; other edits not yet saved");
    }));
    finishTasks();

    const int recorded = window->keyIndexForButton(9);
    QCOMPARE(VirtualKeypad::key(0, recorded).type, uint8_t(KeyTypeMacro));
    QCOMPARE(window->keyboardData().layers()[0][recorded].dirty, uint8_t(0));
    QCOMPARE(VirtualKeypad::key(0, 5), before);
    QCOMPARE(window->keyboardData().layers()[0][5].dirty, uint8_t(1));
}

void FlowsSaveTest::closingDuringSaveFinishesTheWrite()
{
    LogCapture log;
    auto window = makeWindow();
    QVERIFY(connectDemo(log, "16k3e"));

    // Enough keys that the save is still running when the window goes.
    KeyboardData &store = window->keyboardData();
    for (int slot = 0; slot < 16; ++slot)
        store.updateKey(0, slot, [&](KeyConfig &k) { k.setSingleKey(uint8_t(UsageB + slot)); });
    buttonWithText(*window, "Save Settings")->click();
    QVERIFY(waitFor([&] { return log.hasStartingWith("HID progress: Saving key L1 K0"); }));
    window.reset();

    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(20);
    for (int slot = 0; slot < 16; ++slot)
        QCOMPARE(VirtualKeypad::key(0, slot), VirtualKeySlot::singleKey(uint8_t(UsageB + slot)));
    QVERIFY(!HIDManager::instance()->busy.load());
}

QTEST_MAIN(FlowsSaveTest)
#include "tst_flows_save.moc"
