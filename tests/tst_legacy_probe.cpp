#include "tst_legacy_support.h"

#include "device/currentfamily.h"
#include "device/packet.h"
#include "legacy/legacydescription.h"
#include "legacy/legacyfamily.h"
#include "legacy/legacyprobe.h"

#include <QThread>

using namespace legacytest;

namespace {

const std::vector<uint8_t> kProbeRequest = [] {
    std::vector<uint8_t> r(65, 0);
    r[0] = 0x03;
    r[1] = r[2] = r[3] = 0xFB;
    return r;
}();

// Sends the current protocol's device-information request, as the connect
// task does before it falls back to the probe, without waiting for its reply.
void sendDeviceInfoRequest(hid_device *handle)
{
    const Packet packet = buildDeviceInfoRequest();
    const Report report = buildOutputReport(packet.data(), int(packet.size()));
    QCOMPARE(hid_write(handle, report.data(), report.size()), int(report.size()));
}

} // namespace

class TestLegacyProbe : public QObject
{
    Q_OBJECT
private slots:
    void versionTellsTheFamilies();
    void silentDeviceGivesNoAnswer();
    void currentKeypadIsNeverTakenForLegacy();
    void shortOrMissingAnswers();
    void answerTravelsInTheDescription();
};

void TestLegacyProbe::versionTellsTheFamilies()
{
    {
        LegacyKeypad keypad(Family::R20Wide, {4, 3, 10, 2});
        LegacyDeviceInfo info;
        LegacyProbeOutcome outcome = LegacyProbeOutcome::NoDevice;
        QVERIFY(legacyProbe(keypad.handle, info, &outcome));
        QCOMPARE(outcome, LegacyProbeOutcome::Answered);
        QCOMPARE(keypad.written(), std::vector<std::vector<uint8_t>>{kProbeRequest});
        QCOMPARE(int(info.valid), 1);
        QCOMPARE(int(info.keyCount), 4);
        QCOMPARE(int(info.encoderCount), 3);
        QCOMPARE(int(info.layerCount), 3);
        QCOMPARE(int(info.version), 10);
        QCOMPARE(int(info.shape), 2);
        QCOMPARE(info.format, int(LegacyFormatR20Wide));
    }
    {
        // Byte 5 of an Old keypad's answer means nothing.
        LegacyKeypad keypad(Family::Old, {16, 3, 9, 5});
        LegacyDeviceInfo info;
        QVERIFY(legacyProbe(keypad.handle, info));
        QCOMPARE(int(info.version), 9);
        QCOMPARE(int(info.shape), 0);
        QCOMPARE(info.format, int(LegacyFormatOld));
    }
}

void TestLegacyProbe::silentDeviceGivesNoAnswer()
{
    LegacyKeypad keypad(Family::R20Wide);
    VirtualKeypad::setSilent(true, keypad.id);
    LegacyDeviceInfo info;
    info.layerCount = 0;
    info.valid = 1;
    LegacyProbeOutcome outcome = LegacyProbeOutcome::Answered;
    QVERIFY(!legacyProbe(keypad.handle, info, &outcome));
    QCOMPARE(outcome, LegacyProbeOutcome::NoResponse);
    QCOMPARE(int(info.valid), 0);
    QCOMPARE(int(info.layerCount), 3);
    QCOMPARE(VirtualKeypad::requestCount(0xFB, keypad.id), 1);
}

// A current keypad that answers the description request late, or refuses the
// probe, must never pass for an "Old" keypad (its reply's length byte 7 would
// read as version 7) and have legacy records written over its memory.
void TestLegacyProbe::currentKeypadIsNeverTakenForLegacy()
{
    VirtualKeypad::reset();
    const int id = VirtualKeypad::plug();
    VirtualKeypad::setReplyLatency(std::chrono::microseconds(200), id);
    hid_device *handle = hid_open_path(VirtualKeypad::paths(id).front().c_str());
    QVERIFY(handle);

    // The late reply is already waiting: the flush finds it and no probe goes out.
    sendDeviceInfoRequest(handle);
    QThread::msleep(10);
    VirtualKeypad::clearRecords();
    LegacyDeviceInfo info;
    LegacyProbeOutcome outcome = LegacyProbeOutcome::Answered;
    QVERIFY(!legacyProbe(handle, info, &outcome));
    QCOMPARE(outcome, LegacyProbeOutcome::CurrentKeypad);
    QCOMPARE(int(info.valid), 0);
    QCOMPARE(VirtualKeypad::requestCount(0xFB, id), 0);

    // The late reply arrives while the probe waits.
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(30), id);
    sendDeviceInfoRequest(handle);
    QVERIFY(!legacyProbe(handle, info, &outcome));
    QCOMPARE(outcome, LegacyProbeOutcome::CurrentKeypad);
    QCOMPARE(int(info.valid), 0);
    QThread::msleep(80); // let the refusal of the probe arrive

    // No late reply at all: the keypad's refusal of the probe gives it away.
    VirtualKeypad::setReplyLatency(std::chrono::microseconds(200), id);
    std::array<uint8_t, 65> drain{};
    while (hid_read_timeout(handle, drain.data(), drain.size(), 0) > 0) {
    }
    VirtualKeypad::clearRecords();
    QVERIFY(!legacyProbe(handle, info, &outcome));
    QCOMPARE(VirtualKeypad::requestCount(0xFB, id), 1);
    QCOMPARE(outcome, LegacyProbeOutcome::CurrentKeypad);
    QCOMPARE(int(info.valid), 0);

    hid_close(handle);
    VirtualKeypad::reset();
}

void TestLegacyProbe::shortOrMissingAnswers()
{
    LogCapture log;
    LegacyKeypad keypad(Family::R20Wide);
    // An answer too short to hold the version is not believed.
    VirtualKeypad::setReplyHook([](int, const std::vector<uint8_t> &report,
                                   std::vector<std::vector<uint8_t>> &replies) {
        if (report.size() > 1 && report[1] == 0xFB)
            replies.push_back({0x03, 0xFB, 4, 3});
        return true;
    });
    LegacyDeviceInfo info;
    QVERIFY(!legacyProbe(keypad.handle, info));
    QCOMPARE(int(info.valid), 0);
    QVERIFY(log.has("Legacy probe: short answer bytes= 4"));
    VirtualKeypad::setReplyHook({});

    // Unplugged: the request cannot go out.
    VirtualKeypad::unplug(keypad.id);
    LegacyProbeOutcome outcome = LegacyProbeOutcome::Answered;
    QVERIFY(!legacyProbe(keypad.handle, info, &outcome));
    QCOMPARE(outcome, LegacyProbeOutcome::RequestFailed);
    QVERIFY(!legacyProbe(nullptr, info, &outcome));
    QCOMPARE(outcome, LegacyProbeOutcome::NoDevice);
}

// The answer goes to the families in the description every family shares:
// only its own family claims it, and the bytes that tell one keypad from
// another (kept in the history and the keypad files) are the probe's.
void TestLegacyProbe::answerTravelsInTheDescription()
{
    LegacyKeypad keypad(Family::R20Wide, {4, 3, 10, 2});
    LegacyDeviceInfo info;
    QVERIFY(legacyProbe(keypad.handle, info));
    const KeypadDescription description = legacyKeypadDescription(info);
    QVERIFY(r20WideKeypadFamily().claims(description));
    QVERIFY(!oldKeypadFamily().claims(description));
    QVERIFY(!CurrentFamily().claims(description));
    QCOMPARE(r20WideKeypadFamily().descriptionBytes(description), QByteArray("1:4,3,3,10,2"));
    const LegacyDeviceInfo back = legacyDeviceInfoOf(description);
    QCOMPARE(int(back.valid), 1);
    QCOMPARE(int(back.keyCount), 4);
    QCOMPARE(int(back.encoderCount), 3);
    QCOMPARE(int(back.layerCount), 3);
    QCOMPARE(int(back.version), 10);
    QCOMPARE(int(back.shape), 2);
    QCOMPARE(back.format, int(LegacyFormatR20Wide));

    // No probe answered: what an unprobed keypad always said.
    const KeypadDescription unprobed;
    QVERIFY(!oldKeypadFamily().claims(unprobed));
    QCOMPARE(oldKeypadFamily().descriptionBytes(unprobed), QByteArray("0:0,0,3,0,0"));
}

QTEST_GUILESS_MAIN(TestLegacyProbe)
#include "tst_legacy_probe.moc"
