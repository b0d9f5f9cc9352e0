// Finding the keypad, noticing its loss, and finding it again.

#include "keypad/failuretexts.h"
#include "tst_device_support.h"
#include "tst_language_support.h"

#include <QThread>
#include <cerrno>
#include <QtConcurrent>
#include <atomic>

class TestDeviceDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void init() { VirtualKeypad::reset(); }

    void opensFirstKeypadInTableOrder();
    void choosesInterfaceByUsageThenInterfaceZero();
    void neverOpensKeyboardOnlyInterface();
    void startsMonitoringOnce();
    void explainsAnUnopenableKeypadOncePerNode();
    void reportsEachLossOnceAndFindsTheKeypadAgain();
    void lossSeenByWorkerIsReportedOnOwningThread();
    void probeLeavesRepliesToRunningExchange();
};

void TestDeviceDiscovery::opensFirstKeypadInTableOrder()
{
    // Two identical keypads: the first one enumerated wins.
    const int first = VirtualKeypad::plug();
    const int second = VirtualKeypad::plug();
    {
        HIDManager manager;
        QVERIFY(manager.openDevice());
        QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(first)[0]), 1);
        QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(second)[0]), 0);
        QCOMPARE(manager.vendorId(), uint16_t(0xF1A1));
        QCOMPARE(manager.productId(), uint16_t(0x4155));
    }

    // A pair earlier in the table beats a keypad enumerated before it, and a
    // whole search step enumerates only once.
    VirtualKeypad::reset();
    VirtualKeypadConfig later;
    later.vendorId = 0xF1C3;
    later.productId = 0x8842;  // third pair
    VirtualKeypadConfig earlier;
    earlier.vendorId = 0xF1B2;
    earlier.productId = 0x8850;  // second pair
    VirtualKeypad::plug(later);
    const int preferred = VirtualKeypad::plug(earlier);
    VirtualKeypad::clearCounters();
    HIDManager manager;
    QVERIFY(manager.openDevice());
    QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(preferred)[0]), 1);
    QCOMPARE(VirtualKeypad::enumerateCount(), 1);
    QCOMPARE(manager.productId(), uint16_t(0x8850));
}

void TestDeviceDiscovery::choosesInterfaceByUsageThenInterfaceZero()
{
    // The vendor interface reports usage 2: it is taken through interface 0
    // on the second pass.
    VirtualKeypadConfig config;
    VirtualHidInterface vendor = VirtualHidInterface::vendor(0);
    vendor.usage = 0x0002;
    config.interfaces = {VirtualHidInterface::keyboard(1), vendor};
    const int id = VirtualKeypad::plug(config);
    {
        HIDManager manager;
        QVERIFY(manager.openDevice());
        QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(id)[1]), 1);
        QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(id)[0]), 0);
    }

    // A proper vendor interface is preferred to interface 0 on the first pass.
    VirtualKeypad::reset();
    VirtualKeypadConfig proper;
    VirtualHidInterface keyboardZero = VirtualHidInterface::keyboard(0);
    proper.interfaces = {keyboardZero, VirtualHidInterface::vendor(2)};
    const int properId = VirtualKeypad::plug(proper);
    HIDManager manager;
    QVERIFY(manager.openDevice());
    QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(properId)[1]), 1);
    QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(properId)[0]), 0);

    // An interface that cannot be opened is passed over for the next one.
    VirtualKeypad::reset();
    VirtualKeypadConfig held;
    VirtualHidInterface locked = VirtualHidInterface::vendor(0);
    locked.openable = false;
    held.interfaces = {locked};
    VirtualKeypad::plug(held);
    const int free = VirtualKeypad::plug();
    HIDManager other;
    QVERIFY(other.openDevice());
    QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(free)[0]), 1);
}

void TestDeviceDiscovery::neverOpensKeyboardOnlyInterface()
{
    VirtualKeypadConfig config;
    config.interfaces = {VirtualHidInterface::keyboard(1)};
    VirtualKeypad::plug(config);
    VirtualKeypad::clearCounters();
    HIDManager manager;
    QVERIFY(!manager.openDevice());
    QCOMPARE(VirtualKeypad::openPathCount(), 0);
    QVERIFY(!manager.handle.load());
}

void TestDeviceDiscovery::startsMonitoringOnce()
{
    LogCapture log;
    HIDManager manager;
    manager.startMonitoring();
    manager.startMonitoring();
    QTest::qWait(50);
    QCOMPARE(log.count(QStringLiteral("HIDManager: monitoring started")), 1);

    // The search keeps going until a keypad appears.
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    VirtualKeypad::plug();
    QVERIFY(connected.wait(2000));
    QCOMPARE(connected.count(), 1);
    QVERIFY(manager.isConnected());
    QTest::qWait(600);
    QCOMPARE(connected.count(), 1);
}

void TestDeviceDiscovery::explainsAnUnopenableKeypadOncePerNode()
{
    // No udev rule: the node is there but the user may not open it. The
    // search retries every 500 ms; the reason and its fix are told once.
    VirtualKeypadConfig config;
    VirtualHidInterface denied = VirtualHidInterface::vendor(0);
    denied.openable = false;
    config.interfaces = {denied};
    const int id = VirtualKeypad::plug(config);
    const QString path = QString::fromStdString(VirtualKeypad::paths(id)[0]);
    const QString prefix = QStringLiteral("HIDManager: cannot open path= %1 ").arg(path);

    LogCapture log;
    HIDManager manager;
    QSignalSpy failureChanged(&manager, &HIDManager::openFailureChanged);
    manager.startMonitoring();
    QTRY_VERIFY_WITH_TIMEOUT(VirtualKeypad::openCount(path.toStdString()) == 0
                                 && log.countStartingWith(prefix) == 1,
                             2000);
    QTest::qWait(1300);  // two more search steps
    QCOMPARE(log.countStartingWith(prefix), 1);
    const QString line = openFailureLine(path, 0xF1A1, 0x4155, EACCES, QString());
    QVERIFY(log.has(line));
    QVERIFY(line.contains(QLatin1String("udev")));
    QVERIFY(!manager.isConnected());

    // The window hears it once, with the fix, in both languages.
    QCOMPARE(failureChanged.count(), 1);
    const OpenFailure failure = manager.lastOpenFailure();
    QVERIFY(failure.failed && failure.noPermission);
    QCOMPARE(failure.path, path);
    QCOMPARE(openFailureStatusText(failure),
             QStringLiteral("No access to the keypad: run cmake --install, replug"));
    QCOMPARE(inChinese([&] { return openFailureStatusText(failure); }),
             QStringLiteral("无权访问设备：请运行 cmake --install 后重新插入"));

    // Unplugged, the failure is over; plugged in again, it is told again.
    VirtualKeypad::unplug(id);
    QTRY_COMPARE_WITH_TIMEOUT(failureChanged.count(), 2, 2000);
    QVERIFY(!manager.lastOpenFailure().failed);
    QVERIFY(openFailureStatusText(manager.lastOpenFailure()).isEmpty());
    VirtualKeypad::plugBack(id);
    QTRY_COMPARE_WITH_TIMEOUT(log.countStartingWith(prefix), 2, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(failureChanged.count(), 3, 2000);

    // Another reason gives its own text and no udev advice.
    const QString busy = openFailureLine(path, 0xF1A1, 0x4155, EBUSY,
                                         QStringLiteral("held elsewhere"));
    QVERIFY(busy.startsWith(prefix));
    QVERIFY(busy.contains(QLatin1String("held elsewhere")));
    QVERIFY(!busy.contains(QLatin1String("udev")));

    // A node held by another program: the system's reason, no permission
    // advice; once the keypad opens, the failure is cleared.
    VirtualKeypad::reset();
    VirtualKeypadConfig held;
    VirtualHidInterface busyNode = VirtualHidInterface::vendor(0);
    busyNode.openable = false;
    busyNode.openErrno = EBUSY;
    held.interfaces = {busyNode};
    VirtualKeypad::plug(held);
    QTRY_VERIFY_WITH_TIMEOUT(manager.lastOpenFailure().failed
                                 && !manager.lastOpenFailure().noPermission, 2000);
    const QString heldText = openFailureStatusText(manager.lastOpenFailure());
    QCOMPARE(heldText, QStringLiteral("The keypad cannot be opened: %1").arg(qt_error_string(EBUSY)));
    QVERIFY(inChinese([&] { return openFailureStatusText(manager.lastOpenFailure()); })
                .startsWith(QStringLiteral("无法打开设备：")));
    const int changes = failureChanged.count();
    VirtualKeypad::plug();
    QTRY_VERIFY_WITH_TIMEOUT(manager.isConnected(), 2000);
    QVERIFY(!manager.lastOpenFailure().failed);
    QCOMPARE(failureChanged.count(), changes + 1);
}

void TestDeviceDiscovery::reportsEachLossOnceAndFindsTheKeypadAgain()
{
    VirtualKeypad::plug();
    HIDManager manager;
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    QSignalSpy disconnected(&manager, &HIDManager::deviceDisconnected);
    manager.startMonitoring();
    QVERIFY(connected.wait(2000));

    // The presence probe notices the pulled cable.
    VirtualKeypad::unplug();
    QVERIFY(disconnected.wait(2500));
    QVERIFY(!manager.isConnected());

    // Further closes, from here and from a worker, report nothing more.
    manager.closeDevice();
    QtConcurrent::run([&manager] { manager.closeDevice(); }).waitForFinished();
    QTest::qWait(100);
    QCOMPARE(disconnected.count(), 1);

    // Plugged back, it is found again once the search resumes.
    VirtualKeypad::plugBack();
    QVERIFY(connected.wait(3000));
    QCOMPARE(connected.count(), 2);
    QCOMPARE(disconnected.count(), 1);
    QVERIFY(manager.handle.load());
}

void TestDeviceDiscovery::lossSeenByWorkerIsReportedOnOwningThread()
{
    VirtualKeypadConfig config;
    VirtualKeypad::plug(config);
    for (int layer = 0; layer < 4; ++layer)
        for (int slot = 0; slot < 25; ++slot)
            VirtualKeypad::setKey(layer, slot, VirtualKeySlot::singleKey(uint8_t(0x04 + slot)));
    VirtualKeypad::setReplyLatency(std::chrono::milliseconds(20));

    HIDManager manager;
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    manager.startMonitoring();
    QVERIFY(connected.wait(2000));

    std::atomic<QThread *> emittingThread{nullptr};
    std::atomic<int> emitted{0};
    connect(&manager, &HIDManager::deviceDisconnected, &manager,
            [&] {
                emittingThread.store(QThread::currentThread());
                ++emitted;
            },
            Qt::DirectConnection);

    // Waiting on a QFuture happens inside Qt, where the thread sanitizer
    // cannot see it; the worker's last store tells the test it is done.
    std::atomic<bool> readOver{false};
    QFuture<bool> read = QtConcurrent::run([&manager, &readOver] {
        KeyLayers layers;
        LedLayers lighting;
        const bool ok = manager.readAllConfiguration(layers, lighting);
        readOver.store(true);
        return ok;
    });
    QTest::qWait(300);
    VirtualKeypad::unplug();
    // Both the exchange and, once it is over, the probe meet the pulled cable.
    QTRY_VERIFY_WITH_TIMEOUT(readOver.load() && read.isFinished(), 10000);
    QVERIFY(!read.result());
    QTest::qWait(1300);
    QCOMPARE(emitted.load(), 1);
    QCOMPARE(emittingThread.load(), QThread::currentThread());
    QVERIFY(!manager.handle.load());
}

void TestDeviceDiscovery::probeLeavesRepliesToRunningExchange()
{
    VirtualKeypad::plug();
    LogCapture log;
    HIDManager manager;
    QSignalSpy connected(&manager, &HIDManager::deviceConnected);
    manager.startMonitoring();
    QVERIFY(connected.wait(2000));

    // A worker holds the device while a reply waits; the probe fires in
    // between and must leave the reply alone.
    std::atomic<bool> release{false};
    std::atomic<bool> holding{false};
    std::atomic<bool> over{false};
    QFuture<void> exchange = QtConcurrent::run([&] {
        {
            HIDManager::DeviceSession session(manager);
            holding = true;
            while (!release.load())
                QThread::msleep(5);
            manager.flushInput();
        }
        over = true;
    });
    QTRY_VERIFY(holding.load());
    QVERIFY(manager.busy.load());
    VirtualKeypad::injectInputReport(ack(0, 1));
    QTest::qWait(1300);  // at least one probe interval
    release = true;
    exchange.waitForFinished();
    QTRY_VERIFY(over.load());
    QVERIFY(!manager.busy.load());
    QVERIFY(log.has(QStringLiteral("HIDManager: flushed 1 stale packets")));
    for (const VirtualReportRecord &record : VirtualKeypad::records())
        QVERIFY(record.direction != VirtualReportRecord::Direction::DeviceToHost
                || record.bytes.size() != 2);
}

QTEST_GUILESS_MAIN(TestDeviceDiscovery)
#include "tst_device_discovery.moc"
