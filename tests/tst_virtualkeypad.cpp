// The virtual keypad itself, driven through hidapi's C API at report level.

#include "virtualkeypad.h"

#include <hidapi/hidapi.h>

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;

// A 65-byte output report: report id 3, the 63-byte packet with its checksum.
Bytes request(uint8_t command, uint8_t layer, uint8_t key, uint8_t byte3, const Bytes &body = {})
{
    Bytes report(65, 0);
    report[0] = 0x03;
    report[1] = command;
    report[2] = layer;
    report[3] = key;
    report[4] = byte3;
    for (std::size_t i = 0; i < body.size() && i < 58; ++i)
        report[5 + i] = body[i];
    uint8_t sum = 0;
    for (int i = 1; i <= 62; ++i)
        sum ^= report[i];
    report[63] = sum;
    return report;
}

Bytes ack(uint8_t command, uint8_t status, uint8_t layer, uint8_t key, uint8_t packet)
{
    Bytes r = {0x03, command, status, layer, key, packet, 0, 0, 0};
    for (int i = 1; i <= 7; ++i)
        r[8] ^= r[i];
    return r;
}

bool longChecksumHolds(const Bytes &r)
{
    uint8_t sum = 0;
    for (int i = 1; i <= 62; ++i)
        sum ^= r[i];
    return r.size() >= 64 && r[63] == sum;
}

int send(hid_device *dev, const Bytes &report)
{
    return hid_write(dev, report.data(), report.size());
}

// Next input report within `ms`; empty when none came.
Bytes receive(hid_device *dev, int ms = 2000)
{
    unsigned char buffer[65] = {};
    const int n = hid_read_timeout(dev, buffer, sizeof buffer, ms);
    return n > 0 ? Bytes(buffer, buffer + n) : Bytes();
}

hid_device *openVendor(int device = VirtualKeypad::FirstDevice)
{
    return hid_open_path(VirtualKeypad::paths(device).at(0).c_str());
}

} // namespace

class TestVirtualKeypad : public QObject
{
    Q_OBJECT

private slots:
    void init() { VirtualKeypad::reset(); }

    void enumeratesInterfacesAndOpensOnlyWhatExists()
    {
        const int first = VirtualKeypad::plug();
        VirtualKeypadConfig other;
        other.productId = 0x8850;
        other.interfaces = {VirtualHidInterface::keyboard(1)};
        other.interfaces[0].openable = false;
        const int second = VirtualKeypad::plug(other);

        hid_device_info *list = hid_enumerate(0xF1A1, 0x4155);
        QVERIFY(list && list->next && !list->next->next);
        QCOMPARE(list->usage_page, 0xFF00);
        QCOMPARE(list->usage, 1);
        QCOMPARE(list->interface_number, 0);
        QCOMPARE(std::string(list->path), VirtualKeypad::paths(first).at(0));
        QCOMPARE(list->next->usage_page, 0x0001);
        QCOMPARE(list->next->interface_number, 1);
        hid_free_enumeration(list);
        QVERIFY(!hid_enumerate(0xF1C3, 0x8850));
        QCOMPARE(VirtualKeypad::enumerateCount(), 2);

        QVERIFY(!hid_open_path(VirtualKeypad::paths(second).at(0).c_str()));
        QVERIFY(!hid_open_path("no/such/path"));
        QCOMPARE(VirtualKeypad::openPathCount(), 2);

        // The keyboard interface takes writes but never answers them.
        hid_device *keyboard = hid_open_path(VirtualKeypad::paths(first).at(1).c_str());
        QVERIFY(keyboard);
        QCOMPARE(send(keyboard, request(11, 0, 0, 0)), 65);
        QVERIFY(receive(keyboard, 50).empty());
        QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(first).at(1)), 1);
        QCOMPARE(VirtualKeypad::requestCount(11), 0);
        hid_close(keyboard);
        QCOMPARE(VirtualKeypad::openHandleCount(), 0);
    }

    void answersReadsAndStoresWrites()
    {
        VirtualKeypadConfig config;
        config.model = {16, 3, 0, 3, 1, 2, 9};
        VirtualKeypad::plug(config);
        hid_device *dev = openVendor();
        QVERIFY(dev);

        QCOMPARE(send(dev, request(11, 0, 0, 0)), 65);
        Bytes info = receive(dev);
        QCOMPARE(int(info.size()), 64);
        QVERIFY(longChecksumHolds(info));
        QCOMPARE(Bytes(info.begin(), info.begin() + 12), (Bytes{3, 11, 0, 0, 7, 16, 3, 0, 3, 1, 2, 9}));

        // Single key: block type 0, six zeros, length 1, usage A.
        const Bytes block = {0, 0, 0, 0, 0, 0, 0, 1, 0, 0x04};
        send(dev, request(1, 2, 5, uint8_t(block.size()), block));
        QCOMPARE(receive(dev), ack(6, 0, 2, 5, 0));
        QCOMPARE(VirtualKeypad::key(2, 5), VirtualKeySlot::singleKey(0x04));

        // A 12-step macro (58-byte block) goes out in two chunks and comes
        // back in one key data reply; a 14-step one comes back in two chunks.
        std::vector<VirtualKeySlot::MacroStep> steps;
        for (int i = 0; i < 14; ++i)
            steps.push_back({uint8_t(i % 2), uint8_t(4 + i), uint16_t(10 * i)});
        const Bytes macroBlock = VirtualKeySlot::macro(steps).block();
        QCOMPARE(int(macroBlock.size()), 66);
        for (uint8_t chunk = 0; chunk < 2; ++chunk) {
            const std::size_t start = chunk * 56, length = std::min<std::size_t>(56, 66 - start);
            Bytes body = {2, uint8_t(length)};
            body.insert(body.end(), macroBlock.begin() + start, macroBlock.begin() + start + length);
            // Packet byte 4 onward: count, chunk length, chunk.
            send(dev, request(2, 2, 7, chunk, body));
            QCOMPARE(receive(dev), ack(6, 0, 2, 7, chunk));
        }
        QCOMPARE(VirtualKeypad::key(2, 7).block(), macroBlock);
        steps.resize(12);
        VirtualKeypad::setKey(2, 8, VirtualKeySlot::macro(steps));
        VirtualKeypad::setKey(2, 20, VirtualKeySlot::media(0xE9)); // knob slot inside 16k3e

        send(dev, request(4, 2, 0xFF, 0));
        Bytes r = receive(dev);
        QVERIFY(longChecksumHolds(r));
        QCOMPARE(Bytes(r.begin(), r.begin() + 5 + 10), (Bytes{3, 3, 2, 5, 10, 0, 0, 0, 0, 0, 0, 0, 1, 0, 4}));
        Bytes joined;
        for (uint8_t chunk = 0; chunk < 2; ++chunk) {
            r = receive(dev);
            QVERIFY(longChecksumHolds(r));
            QCOMPARE(Bytes(r.begin(), r.begin() + 7), (Bytes{3, 8, 2, 7, chunk, 2, uint8_t(chunk ? 10 : 56)}));
            joined.insert(joined.end(), r.begin() + 7, r.begin() + 7 + r[6]);
        }
        QCOMPARE(joined, macroBlock);
        r = receive(dev);
        QCOMPARE(int(r[1]), 3);
        QCOMPARE(int(r[3]), 8);
        QCOMPARE(int(r[4]), 58);
        r = receive(dev);
        QCOMPARE(int(r[3]), 20);
        QCOMPARE(receive(dev), ack(6, 0, 2, 0xFF, 0));

        // Clearing, lighting, and the refusals.
        send(dev, request(5, 2, 5, 0));
        QCOMPARE(receive(dev), ack(6, 0, 2, 5, 0));
        QVERIFY(VirtualKeypad::key(2, 5).isEmpty());
        Bytes light(52, 0);
        light[0] = 7;
        for (int i = 0; i < 48; ++i)
            light[4 + i] = uint8_t(i);
        send(dev, request(9, 1, 0xFE, 52, light));
        QCOMPARE(receive(dev), ack(6, 0, 1, 0xFE, 0));
        QCOMPARE(int(VirtualKeypad::lighting(1).effect), 7);
        QCOMPARE(VirtualKeypad::lighting(1).colors[15], (VirtualLighting::Rgb{45, 46, 47}));
        send(dev, request(10, 1, 0xFE, 0));
        r = receive(dev);
        QVERIFY(longChecksumHolds(r));
        QCOMPARE(Bytes(r.begin(), r.begin() + 6), (Bytes{3, 10, 1, 0xFE, 52, 7}));
        QCOMPARE(Bytes(r.begin() + 9, r.begin() + 57), Bytes(light.begin() + 4, light.end()));

        Bytes bad = request(1, 0, 3, uint8_t(block.size()), block);
        bad[63] ^= 1;
        send(dev, bad);
        QCOMPARE(receive(dev), ack(7, VirtualKeypad::StatusBadChecksum, 0, 3, 0));
        send(dev, request(1, 0, 25, uint8_t(block.size()), block));
        QCOMPARE(receive(dev), ack(7, VirtualKeypad::StatusNoSuchKey, 0, 25, 0));
        Bytes lying = block;
        lying[7] = 50; // payload length beyond the block
        send(dev, request(1, 0, 3, uint8_t(lying.size()), lying));
        QCOMPARE(receive(dev), ack(7, VirtualKeypad::StatusBadRequest, 0, 3, 0));
        QVERIFY(VirtualKeypad::key(0, 3).isEmpty());
        hid_close(dev);
    }

    void macroIsStoredOnlyWhenComplete()
    {
        VirtualKeypad::plug();
        hid_device *dev = openVendor();
        const VirtualKeySlot old = VirtualKeySlot::singleKey(0x10);
        VirtualKeypad::setKey(0, 4, old);
        std::vector<VirtualKeySlot::MacroStep> steps(20, {0, 0x05, 1});
        const Bytes block = VirtualKeySlot::macro(steps).block(); // 90 bytes, 2 chunks
        auto chunk = [&](uint8_t index, uint8_t count, uint8_t length) {
            Bytes body = {count, length};
            const std::size_t start = index * 56;
            for (std::size_t i = start; i < start + length && i < block.size(); ++i)
                body.push_back(block[i]);
            return request(2, 0, 4, index, body);
        };

        send(dev, chunk(0, 2, 56));
        QCOMPARE(receive(dev), ack(6, 0, 0, 4, 0));
        QCOMPARE(VirtualKeypad::key(0, 4), old); // half a macro is not stored
        send(dev, chunk(1, 6, 34));
        QCOMPARE(receive(dev), ack(7, VirtualKeypad::StatusBadMacro, 0, 4, 1));
        send(dev, chunk(1, 2, 57));
        QCOMPARE(receive(dev), ack(7, VirtualKeypad::StatusBadMacro, 0, 4, 1));
        QCOMPARE(VirtualKeypad::key(0, 4), old);

        // A resent chunk 0 starts afresh; the macro lands with its last chunk.
        send(dev, chunk(0, 2, 56));
        receive(dev);
        send(dev, chunk(1, 2, 34));
        QCOMPARE(receive(dev), ack(6, 0, 0, 4, 1));
        QCOMPARE(VirtualKeypad::key(0, 4).block(), block);
        hid_close(dev);
    }

    void unplugFailsOpenHandles()
    {
        VirtualKeypad::plug();
        hid_device *dev = openVendor();
        QVERIFY(dev);
        std::atomic<int> blockedResult{1};
        std::thread reader([&] {
            unsigned char buffer[65];
            hid_set_nonblocking(dev, 0);
            blockedResult = hid_read(dev, buffer, sizeof buffer);
        });
        QTest::qWait(50);
        VirtualKeypad::unplug();
        reader.join();
        QCOMPARE(blockedResult.load(), -1);
        unsigned char buffer[65];
        QCOMPARE(hid_read_timeout(dev, buffer, sizeof buffer, 0), -1);
        QCOMPARE(send(dev, request(11, 0, 0, 0)), -1);
        QVERIFY(QString::fromWCharArray(hid_error(dev)).contains("unplugged"));
        QVERIFY(!hid_enumerate(0, 0));

        // Plugged back, the old handle stays dead; a new one works and the
        // keypad kept its memory.
        VirtualKeypad::setKey(0, 1, VirtualKeySlot::mouse(3));
        VirtualKeypad::plugBack();
        QCOMPARE(send(dev, request(11, 0, 0, 0)), -1);
        hid_close(dev);
        dev = openVendor();
        send(dev, request(4, 0, 0xFF, 0));
        QCOMPARE(int(receive(dev).at(3)), 1);

        VirtualKeypad::reset();
        QCOMPARE(hid_read_timeout(dev, buffer, sizeof buffer, 0), -1);
        hid_close(dev);
    }

    void repliesWaitForTheirLatencyInOrder()
    {
        VirtualKeypad::plug();
        for (int slot = 0; slot < 3; ++slot)
            VirtualKeypad::setKey(0, slot, VirtualKeySlot::singleKey(uint8_t(4 + slot)));
        VirtualKeypad::setReplyLatency(std::chrono::milliseconds(150));
        hid_device *dev = openVendor();
        hid_device *other = openVendor(); // every handle of the interface hears the replies
        hid_set_nonblocking(dev, 1);
        QElapsedTimer timer;
        timer.start();
        send(dev, request(4, 0, 0xFF, 0));
        unsigned char buffer[65];
        if (timer.elapsed() < 100) // the machine did not stall since the write
            QCOMPARE(hid_read(dev, buffer, sizeof buffer), 0);
        std::vector<int> order;
        for (int i = 0; i < 4; ++i) {
            const Bytes r = receive(dev, 5000);
            QVERIFY(!r.empty());
            QVERIFY(timer.elapsed() >= 150 * (i + 1) - 5);
            order.push_back(r[1] == 6 ? r[4] : r[3]); // the end ACK carries the key at 4
        }
        QCOMPARE(order, (std::vector<int>{0, 1, 2, 0xFF}));
        std::vector<int> otherOrder;
        for (int i = 0; i < 4; ++i) {
            const Bytes r = receive(other, 5000);
            QVERIFY(!r.empty());
            otherOrder.push_back(r[1] == 6 ? r[4] : r[3]);
        }
        QCOMPARE(otherOrder, order);
        hid_close(other);
        hid_close(dev);
    }

    void faultsHitTheNthRequest()
    {
        VirtualKeypad::plug();
        hid_device *dev = openVendor();
        const Bytes info = request(11, 0, 0, 0);

        VirtualKeypad::dropReply(11, 2);
        send(dev, info);
        QVERIFY(!receive(dev).empty());
        send(dev, info);
        QVERIFY(receive(dev, 100).empty());
        send(dev, info);
        QVERIFY(!receive(dev).empty());

        VirtualKeypad::nakNext(4, 2, 5);
        send(dev, info); // another command does not use the fault up
        QCOMPARE(int(receive(dev).at(1)), 11);
        for (int i = 0; i < 2; ++i) {
            send(dev, request(5, 1, 2, 0));
            QCOMPARE(receive(dev), ack(7, 4, 1, 2, 0));
        }
        send(dev, request(5, 1, 2, 0));
        QCOMPARE(receive(dev), ack(6, 0, 1, 2, 0));

        VirtualKeypad::staleAckFirst(5);
        send(dev, request(5, 1, 2, 0));
        QCOMPARE(receive(dev), ack(6, 0, 1, 1, 0));
        QCOMPARE(receive(dev), ack(6, 0, 1, 2, 0));

        VirtualKeypad::corruptReplyChecksum(11);
        send(dev, info);
        QVERIFY(!longChecksumHolds(receive(dev)));

        // Oversized reports reach the host as they are, cut to its buffer.
        Bytes junk(200, 0xFF);
        junk[0] = 0x03;
        VirtualKeypad::injectInputReport(junk);
        unsigned char buffer[65];
        QCOMPARE(hid_read_timeout(dev, buffer, sizeof buffer, 2000), 65);

        VirtualKeypad::clearRecords();
        VirtualKeypad::failWrite(11);
        QCOMPARE(send(dev, info), -1);
        QVERIFY(QString::fromWCharArray(hid_error(dev)).contains("not accepted"));
        QVERIFY(receive(dev, 50).empty());
        QCOMPARE(VirtualKeypad::requestCount(11), 0);

        VirtualKeypad::unplugAfterWrite(2);
        QCOMPARE(send(dev, info), 65);
        QCOMPARE(send(dev, info), 65);
        QVERIFY(!VirtualKeypad::isPlugged());
        QCOMPARE(send(dev, info), -1);
        QCOMPARE(VirtualKeypad::requestCount(11), 2);
        hid_close(dev);
    }

    void concurrentReaderAndProbeStayConsistent()
    {
        // A worker streams layer reads while another thread polls like the
        // presence probe; run under ThreadSanitizer this finds unguarded state.
        VirtualKeypad::plug();
        VirtualKeypad::setKey(0, 0, VirtualKeySlot::singleKey(4));
        VirtualKeypad::setReplyLatency(std::chrono::microseconds(0));
        hid_device *dev = openVendor();
        std::atomic<bool> stop{false};
        std::thread probe([&] {
            unsigned char buffer[2];
            while (!stop) {
                hid_set_nonblocking(dev, 1);
                hid_read(dev, buffer, sizeof buffer);
                hid_error(dev);
                VirtualKeypad::isPlugged();
                std::this_thread::yield();
            }
        });
        int replies = 0;
        for (int i = 0; i < 50; ++i) {
            send(dev, request(4, 0, 0xFF, 0));
            while (!receive(dev, 20).empty())
                ++replies;
            VirtualKeypad::records();
        }
        stop = true;
        probe.join();
        QVERIFY(replies > 0);
        hid_close(dev);
    }

    void demoModelsDescribeThemselves()
    {
        qputenv("ZENTRIK_VIRTUAL_KEYPAD", "0k1e");
        VirtualKeypad::installDemoKeypad();
        QCOMPARE(int(VirtualKeypad::config().model.layoutP), 1);
        QCOMPARE(VirtualKeypad::config().model.slotCount(), 3);
        QVERIFY(!VirtualKeypad::key(0, 0).isEmpty()); // the knob holds the volume

        VirtualKeypad::reset();
        qputenv("ZENTRIK_VIRTUAL_KEYPAD", "no-such-model");
        VirtualKeypad::installDemoKeypad();
        QCOMPARE(int(VirtualKeypad::config().model.keyCount), 16);
        QCOMPARE(VirtualKeypad::key(0, 0), VirtualKeySlot::singleKey(0x04));
        qunsetenv("ZENTRIK_VIRTUAL_KEYPAD");
    }
};

QTEST_GUILESS_MAIN(TestVirtualKeypad)
#include "tst_virtualkeypad.moc"
