// Packets, checksums, acknowledgements and the retries of a write.

#include "device/packet.h"
#include "device/savefailure.h"
#include "tst_device_support.h"
#include "tst_store_save.h"

#include <QElapsedTimer>

class TestDeviceFraming : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checksumsAndReportFrame();
    void waitsPastForeignAndWrongAcks();
    void skipsShortAndCorruptReplies();
    void nakStatusDecidesRetries();
    void timesOutAfterThreeSilentAttempts();
    void flushCountsStaleReports();
    void paddedRepliesAreTakenAtOnce();

private:
    HIDManager *manager = nullptr;
};

void TestDeviceFraming::init()
{
    manager = new HIDManager;
    QVERIFY(connectManager(*manager));
    VirtualKeypad::clearRecords();
}

void TestDeviceFraming::cleanup()
{
    delete manager;
    manager = nullptr;
}

void TestDeviceFraming::checksumsAndReportFrame()
{
    const Packet zeros{};
    QCOMPARE(packetChecksum(zeros.data()), uint8_t(0));
    const Packet info = buildDeviceInfoRequest();
    QCOMPARE(info[kPktChecksum], uint8_t(0x0B));
    const Packet read = buildReadLayerRequest(2);
    QCOMPARE(read[kPktChecksum], uint8_t(4 ^ 2 ^ 0xFF));

    // The report carries the packet after report id 3, and ends with a zero.
    QVERIFY(manager->sendPacket(info.data(), kPacketSize));
    const std::vector<Bytes> written = VirtualKeypad::writtenReports();
    QCOMPARE(written.size(), size_t(1));
    QCOMPARE(written[0].size(), size_t(65));
    QCOMPARE(written[0][0], uint8_t(0x03));
    QCOMPARE(written[0][1], uint8_t(11));
    QCOMPARE(written[0][63], uint8_t(0x0B));
    QCOMPARE(written[0][64], uint8_t(0));
}

void TestDeviceFraming::waitsPastForeignAndWrongAcks()
{
    // A refusal under another report id, then one for the wrong chunk, then
    // the right ACK: were either refusal taken, the clear would go again.
    Bytes foreign = ack(0, 3, 0, 4);
    foreign[0] = 0x04;
    answerCommand(CmdClearKey, {foreign, ack(0, 3, 1, 4), ack(0, 3, 0)});
    QVERIFY(manager->sendClearKey(0, 3));
    QCOMPARE(writtenWithCommand(CmdClearKey).size(), size_t(1));

    // The keypad's stale ACK for the previous key does not end the wait.
    LogCapture log;
    VirtualKeypad::setReplyHook({});
    VirtualKeypad::clearRecords();
    VirtualKeypad::staleAckFirst(CmdWriteKey);
    KeyConfig key;
    key.setSingleKey(0x05);
    QVERIFY(manager->sendWriteKey(1, 7, key));
    QCOMPARE(writtenWithCommand(CmdWriteKey).size(), size_t(1));
    QVERIFY(log.has(QStringLiteral("HIDManager: waitAck wrong ACK layer= 1 key= 6 pkt= 0")));
    QCOMPARE(VirtualKeypad::key(1, 7), VirtualKeySlot::singleKey(0x05));
}

void TestDeviceFraming::skipsShortAndCorruptReplies()
{
    // Refusals cut short or with a bad checksum are no replies at all: were
    // either taken, the clear would go again.
    Bytes eightBytes = nakReply(1, 0, 3, 0);
    eightBytes.resize(8);
    Bytes corrupt = nakReply(1, 0, 3, 0);
    corrupt[8] ^= 0x55;
    answerCommand(CmdClearKey, {eightBytes, corrupt, ack(0, 3, 0)});
    QVERIFY(manager->sendClearKey(0, 3));
    QCOMPARE(writtenWithCommand(CmdClearKey).size(), size_t(1));

    // A data reply is no acknowledgement.
    LogCapture log;
    answerCommand(CmdClearKey, {shortReply(3, 0, 0, 3, 0), ack(0, 3, 0)});
    QVERIFY(manager->sendClearKey(0, 3));
    QVERIFY(log.has(QStringLiteral("HIDManager: waitAck skip cmd=0x 3")));
}

void TestDeviceFraming::nakStatusDecidesRetries()
{
    KeyConfig key;
    key.setSingleKey(0x04);

    // Status 4 refuses the key for good: one attempt.
    VirtualKeypad::nakNext(4, 1, CmdWriteKey);
    QVERIFY(!manager->sendWriteKey(0, 2, key));
    QCOMPARE(writtenWithCommand(CmdWriteKey).size(), size_t(1));

    // Status 1 is retried: three attempts, 50 ms or more apart.
    VirtualKeypad::clearFaults();
    VirtualKeypad::clearRecords();
    VirtualKeypad::nakNext(1, 3, CmdWriteKey);
    QVERIFY(!manager->sendWriteKey(0, 2, key));
    std::vector<std::chrono::steady_clock::time_point> times;
    for (const VirtualReportRecord &r : VirtualKeypad::records())
        if (r.direction == VirtualReportRecord::Direction::HostToDevice && r.bytes.size() > 1
            && r.bytes[1] == CmdWriteKey)
            times.push_back(r.time);
    QCOMPARE(times.size(), size_t(3));
    for (size_t i = 1; i < times.size(); ++i)
        QVERIFY(times[i] - times[i - 1] >= std::chrono::milliseconds(50));

    // Two refusals, then the third attempt gets through.
    VirtualKeypad::clearFaults();
    VirtualKeypad::clearRecords();
    VirtualKeypad::nakNext(1, 2, CmdWriteKey);
    QVERIFY(manager->sendWriteKey(0, 2, key));
    QCOMPARE(writtenWithCommand(CmdWriteKey).size(), size_t(3));

    // A macro chunk refused with status 2 ends the macro at once.
    VirtualKeypad::clearFaults();
    VirtualKeypad::clearRecords();
    VirtualKeypad::nakNext(2, 1, CmdWriteMacroChunk);
    KeyConfig macro;
    macro.setMacro(macroSteps(20));
    QVERIFY(!manager->sendWriteMacro(0, 2, macro));
    QCOMPARE(writtenWithCommand(CmdWriteMacroChunk).size(), size_t(1));

    // A clear has no final status: status 4 is retried like any failure.
    VirtualKeypad::clearFaults();
    VirtualKeypad::clearRecords();
    VirtualKeypad::nakNext(4, 1, CmdClearKey);
    QVERIFY(manager->sendClearKey(0, 2));
    QCOMPARE(writtenWithCommand(CmdClearKey).size(), size_t(2));
}

void TestDeviceFraming::timesOutAfterThreeSilentAttempts()
{
    VirtualKeypad::dropReply(CmdWriteLighting, 1);
    VirtualKeypad::dropReply(CmdWriteLighting, 2);
    VirtualKeypad::dropReply(CmdWriteLighting, 3);
    QVERIFY(!manager->sendWriteLedLayer(1, LedLayerConfig()));
    QCOMPARE(writtenWithCommand(CmdWriteLighting).size(), size_t(3));
}

void TestDeviceFraming::flushCountsStaleReports()
{
    LogCapture log;
    VirtualKeypad::setReplyLatency(std::chrono::microseconds(0));
    for (int i = 0; i < 3; ++i)
        VirtualKeypad::injectInputReport(ack(0, uint8_t(i)));
    QTest::qWait(20);
    manager->flushInput();
    QVERIFY(log.has(QStringLiteral("HIDManager: flushed 3 stale packets")));

    log.clear();
    for (int i = 0; i < 40; ++i)
        VirtualKeypad::injectInputReport(ack(0, uint8_t(i)));
    QTest::qWait(20);
    manager->flushInput();
    QVERIFY(log.has(QStringLiteral("HIDManager: flushed 32 stale packets")));

    // Nothing pending: no line.
    log.clear();
    manager->flushInput();  // the seven left over
    log.clear();
    manager->flushInput();
    QCOMPARE(log.countStartingWith(QStringLiteral("HIDManager: flushed")), 0);
}

QTEST_GUILESS_MAIN(TestDeviceFraming)
#include "tst_device_framing.moc"

// hidraw delivers each input report at its declared 64 bytes, so an ACK or a
// NAK can arrive padded with zeros. A padded refusal ends the exchange on the
// spot (no deadline line, no further attempt); a padded ACK is success.
void TestDeviceFraming::paddedRepliesAreTakenAtOnce()
{
    VirtualKeypad::setPaddedReplies(true);
    KeyConfig key;
    key.setSingleKey(0x04);
    QVERIFY(manager->sendWriteKey(0, 3, key));
    QCOMPARE(VirtualKeypad::key(0, 3), VirtualKeySlot::singleKey(0x04));
    const std::vector<VirtualReportRecord> records = VirtualKeypad::records();
    QCOMPARE(records.back().bytes.size(), size_t(64));

    // A final refusal of a key: one request, nothing waited out (the
    // shortest deadline, the description's, is 249 ms).
    QElapsedTimer waited;
    waited.start();
    VirtualKeypad::nakNext(VirtualKeypad::StatusNoSuchKey, 1, CmdWriteKey);
    QVERIFY(!manager->sendWriteKey(0, 4, key));
    QCOMPARE(VirtualKeypad::requestCount(CmdWriteKey), 2);

    // The reads take a padded refusal as one too.
    VirtualKeypad::nakNext(VirtualKeypad::StatusBadRequest, 1, CmdDeviceInfo);
    DeviceInfo info;
    QVERIFY(!manager->readDeviceInfo(info));
    VirtualKeypad::nakNext(VirtualKeypad::StatusBadRequest, 1, CmdReadLighting);
    LedLayerConfig lighting;
    QVERIFY(!manager->sendReadLedLayer(1, lighting));
    QVERIFY(waited.elapsed() < 200);

    // A whole read and save with padded replies.
    VirtualKeypad::setKey(2, 5, VirtualKeySlot::media(0x00E9));
    KeyLayers layers;
    LedLayers lightingLayers;
    QVERIFY(manager->readAllConfiguration(layers, lightingLayers));
    QCOMPARE(int(layers[2][5].mediaCode), 0x00E9);
    KeyboardData store;
    store.loadLayers(layers);
    store.updateKey(1, 0, [&](KeyConfig &k) { k.setMacro(macroSteps(20)); });
    store.setLedColor(3, 2, 9, 8, 7);
    QVERIFY(saveAll(*manager, store));
    QCOMPARE(VirtualKeypad::lighting(3).colors[2], (VirtualLighting::Rgb{9, 8, 7}));
}
