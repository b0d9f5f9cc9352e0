#include "tst_legacy_support.h"
#include "tst_store_save.h"

#include "device/hidmanager.h"
#include "legacy/legacyread.h"
#include "legacy/legacysession.h"
#include "model/keytexts.h"

#include <QSignalSpy>
#include <QThread>
#include <future>

using namespace legacytest;

// The legacy exchanges driven through the device link, as the connect and
// save tasks run them.
class TestLegacySession : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { VirtualKeypad::reset(); }
    void connectReadHoldsTheDevice();
    void lateDescriptionReplyKeepsTheCurrentKeypad();
    void demoKeypadsSpeakTheirFamily();
};

void TestLegacySession::connectReadHoldsTheDevice()
{
    VirtualKeypad::reset();
    auto firmware = std::make_unique<R20WideFirmware>(LegacyFirmware::Identity{4, 3, 11, 1});
    firmware->setRecord(2, 25, recordOf({{4, 1}, {6, 1}, {9, 0x04}}));
    VirtualLighting red;
    red.colors.fill({255, 0, 0});
    firmware->setLighting(1, red);
    const int id = VirtualKeypad::plug(VirtualKeypadConfig(), std::move(firmware));
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(2), id);

    HIDManager manager;
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    manager.startMonitoring();
    QVERIFY(connected.wait(2000));

    std::future<LegacyConnectResult> task =
        std::async(std::launch::async, [&manager] { return legacyConnectRead(manager); });
    bool sawBusy = false;
    while (task.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        sawBusy = sawBusy || manager.busy.load() == 1;
        QTest::qWait(1); // the UI thread keeps running its timers meanwhile
    }
    const LegacyConnectResult result = task.get();
    QVERIFY(sawBusy);
    QCOMPARE(int(manager.busy.load()), 0);
    QVERIFY(result.legacyOk);
    QCOMPARE(result.outcome, LegacyProbeOutcome::Answered);
    QCOMPARE(result.info.format, int(LegacyFormatR20Wide));
    QCOMPARE(int(result.info.shape), 1);
    QVERIFY(result.readComplete);
    QCOMPARE(result.layers.size(), 4);
    QCOMPARE(result.layers[2].size(), 25);
    QCOMPARE(fullTextOf(result.layers[2][24]), QString("A"));
    QCOMPARE(result.lighting.size(), 4);
    QCOMPARE(result.lighting[1].colors[7], (RgbColor{255, 0, 0}));

    // A save through the device link commits the change.
    KeyboardData store;
    store.updateKey(0, 3, [&](KeyConfig &k) { k.setMedia(0xE9); });
    const SaveSnapshot snapshot = saveSnapshotOf(store, SaveKind::All);
    const SaveResult saved = std::async(std::launch::async, [&] {
        return legacySaveSession(manager, result.info, snapshot);
    }).get();
    QVERIFY(saved.ok);
    applySaveResult(store, saved);
    QCOMPARE(int(store.layers()[0][3].dirty), 0);
    int commits = 0;
    VirtualKeypad::withFirmware(id, [&](VirtualFirmware &f) {
        commits = dynamic_cast<LegacyFirmware &>(f).commitCount();
    });
    QCOMPARE(commits, 1);
}

// A current keypad that answers the description request just too late: the
// probe must not make an "Old" keypad of it, and its memory stays untouched.
void TestLegacySession::lateDescriptionReplyKeepsTheCurrentKeypad()
{
    VirtualKeypad::reset();
    VirtualKeypadConfig config;
    config.model.layerCount = 3;
    const int id = VirtualKeypad::plug(config);
    VirtualKeypad::setKey(0, 0, VirtualKeySlot::singleKey(0x04), id);
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(300), id);

    HIDManager manager;
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    manager.startMonitoring();
    QVERIFY(connected.wait(2000));

    DeviceInfo info;
    QVERIFY(!manager.readDeviceInfo(info));
    const LegacyConnectResult result = legacyConnectRead(manager);
    QVERIFY(!result.legacyOk);
    QCOMPARE(result.outcome, LegacyProbeOutcome::CurrentKeypad);
    QCOMPARE(int(result.info.valid), 0);

    // Asked again, once its late replies are in, it describes itself.
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(1), id);
    QThread::msleep(400);
    QVERIFY(manager.readDeviceInfo(info));
    QCOMPARE(int(info.layerCount), 3);
    QCOMPARE(VirtualKeypad::requestCount(0xFD, id), 0);
    QCOMPARE(VirtualKeypad::requestCount(0xFA, id), 0);
    QCOMPARE(VirtualKeypad::key(0, 0, id), VirtualKeySlot::singleKey(0x04));
}

void TestLegacySession::demoKeypadsSpeakTheirFamily()
{
    const auto names = VirtualKeypad::demoModelNames();
    QVERIFY(std::find(names.begin(), names.end(), "r20wide") != names.end());
    QVERIFY(std::find(names.begin(), names.end(), "old") != names.end());
    for (const char *name : {"r20wide", "old"}) {
        VirtualKeypad::reset();
        const int id = VirtualKeypad::installDemoKeypad(name);
        hid_device *handle = hid_open_path(VirtualKeypad::paths(id).front().c_str());
        QVERIFY(handle);
        LegacyDeviceInfo info;
        QVERIFY(legacyProbe(handle, info));
        QCOMPARE(info.format, QByteArray(name) == "r20wide" ? int(LegacyFormatR20Wide) : int(LegacyFormatOld));
        KeyLayer keys;
        QVERIFY(legacyReadLayer(handle, info, 0, keys));
        QCOMPARE(fullTextOf(keys[0]), QString("A"));
        QCOMPARE(fullTextOf(keys[2]), QString("Vol+"));
        QCOMPARE(fullTextOf(keys[3]), QString("Mouse Left"));
        // The first knob: turn left, turn right, press.
        QCOMPARE(fullTextOf(keys[16]), QString("Vol-"));
        QCOMPARE(fullTextOf(keys[17]), QString("Vol+"));
        QCOMPARE(fullTextOf(keys[18]), QString("Mute"));
        hid_close(handle);
    }
}

QTEST_GUILESS_MAIN(TestLegacySession)
#include "tst_legacy_session.moc"
