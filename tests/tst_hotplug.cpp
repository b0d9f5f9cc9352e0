// Keypads found and lost by device events: udev's events filtered to the
// supported keypads, and the virtual keypad's plugs reaching the link and the
// window with no periodic search running.

#include "device/candidates.h"
#include "tst_control_support.h"
#include "device/udevevent.h"
#include "tst_flows_support.h"

#include <cerrno>

using namespace flowtest;

namespace {

// A hidraw event as `udevadm monitor --udev --property` shows it.
QHash<QString, QString> udevEvent(const char *action, const char *devpath, const char *node)
{
    return {{QStringLiteral("ACTION"), QString::fromLatin1(action)},
            {QStringLiteral("DEVPATH"), QString::fromLatin1(devpath)},
            {QStringLiteral("SUBSYSTEM"), QStringLiteral("hidraw")},
            {QStringLiteral("DEVNAME"), QString::fromLatin1(node)},
            {QStringLiteral("SEQNUM"), QStringLiteral("5127")},
            {QStringLiteral("USEC_INITIALIZED"), QStringLiteral("90311254117")},
            {QStringLiteral("MAJOR"), QStringLiteral("243")},
            {QStringLiteral("MINOR"), QStringLiteral("3")},
            {QStringLiteral("TAGS"), QStringLiteral(":uaccess:seat:")}};
}

constexpr char kVendorItf[] =
    "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:F1A1:4155.0007/hidraw/hidraw3";
constexpr char kKeyboardItf[] =
    "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:F1A1:4155.0008/hidraw/hidraw4";

} // namespace

class HotplugTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        hearOnlyTheBus();
    }
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void udevEventsOfSupportedKeypadsOnly();
    void deniedNodeIsTriedAgainForAMoment();
    void plugAndUnplugReachTheWindowAtOnce();
};

void HotplugTest::udevEventsOfSupportedKeypadsOnly()
{
    using Kind = KeypadEvent::Kind;
    const auto kind = [](const QHash<QString, QString> &properties) {
        return keypadEventOf(properties).kind;
    };

    // The keypad comes, its access changes (rules reloaded), it goes.
    const KeypadEvent added = keypadEventOf(udevEvent("add", kVendorItf, "/dev/hidraw3"));
    QCOMPARE(added.kind, Kind::Added);
    QCOMPARE(added.path, QStringLiteral("/dev/hidraw3"));
    QCOMPARE(kind(udevEvent("change", kVendorItf, "/dev/hidraw3")), Kind::Added);
    const KeypadEvent removed = keypadEventOf(udevEvent("remove", kVendorItf, "/dev/hidraw3"));
    QCOMPARE(removed.kind, Kind::Removed);
    QCOMPARE(removed.path, QStringLiteral("/dev/hidraw3"));
    QCOMPARE(kind(udevEvent("bind", kVendorItf, "/dev/hidraw3")), Kind::None);

    // The keypad's keyboard interface is told with its own node: the link
    // opens only the vendor one and keeps it when only the other goes.
    const KeypadEvent other = keypadEventOf(udevEvent("add", kKeyboardItf, "/dev/hidraw4"));
    QCOMPARE(other.kind, Kind::Added);
    QCOMPARE(other.path, QStringLiteral("/dev/hidraw4"));

    // Every supported pair passes, on any bus; nothing else does.
    const auto pathOf = [](uint16_t vendor, uint16_t product, const char *bus) {
        const auto hex = [](uint16_t id) {
            return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper();
        };
        return QStringLiteral("/devices/virtual/misc/uhid/%1:%2:%3.0001/hidraw/hidraw9")
            .arg(QLatin1String(bus), hex(vendor), hex(product))
            .toLatin1();
    };
    for (const DeviceCandidate &candidate : kDeviceCandidates)
        QCOMPARE(kind(udevEvent("add", pathOf(candidate.vendorId, candidate.productId, "0005"),
                                "/dev/hidraw9")),
                 Kind::Added);
    QCOMPARE(kind(udevEvent("add", pathOf(0x046D, 0xC52B, "0003"), "/dev/hidraw9")), Kind::None);
    QCOMPARE(kind(udevEvent("add", pathOf(0xF1A1, 0x4156, "0003"), "/dev/hidraw9")), Kind::None);
    QCOMPARE(kind(udevEvent("remove", pathOf(0xF1C3, 0x4155, "0003"), "/dev/hidraw9")), Kind::None);

    // Not a hidraw node, or one without its node or its HID device.
    QHash<QString, QString> input = udevEvent("add", kVendorItf, "/dev/input/event7");
    input[QStringLiteral("SUBSYSTEM")] = QStringLiteral("input");
    QCOMPARE(kind(input), Kind::None);
    QCOMPARE(kind(udevEvent("add", kVendorItf, "")), Kind::None);
    QCOMPARE(kind(udevEvent("add", "/devices/virtual/hidraw/hidraw3", "/dev/hidraw3")), Kind::None);
    QCOMPARE(kind({}), Kind::None);
}

void HotplugTest::deniedNodeIsTriedAgainForAMoment()
{
    // udev gives the logged-in user access a moment after the node appears:
    // the add event's failed open is tried again until it opens...
    HIDManager &link = *HIDManager::instance();
    link.startMonitoring();
    QCoreApplication::processEvents();
    VirtualKeypadConfig config;
    config.interfaces = {VirtualHidInterface::vendor(0)};
    config.interfaces[0].openable = false;
    const int id = VirtualKeypad::plug(config);
    QCoreApplication::sendPostedEvents();
    QVERIFY(link.lastOpenFailure().noPermission);
    VirtualKeypad::setOpenable(true, 0, id);
    QTRY_VERIFY_WITH_TIMEOUT(link.isConnected(), 1000);

    // ... and a node that stays denied is let be after that moment.
    dropKeypads();
    VirtualKeypad::plug(config);
    QCoreApplication::sendPostedEvents();
    QVERIFY(!link.isConnected());
    QTest::qWait(2000);
    const int opens = VirtualKeypad::openPathCount();
    QVERIFY(opens > 1);
    QTest::qWait(300);
    QCOMPARE(VirtualKeypad::openPathCount(), opens);
    QVERIFY(link.lastOpenFailure().noPermission);
}

void HotplugTest::plugAndUnplugReachTheWindowAtOnce()
{
    LogCapture log;
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    QVERIFY(HIDManager::instance()->watcherIsLive());

    // Only the events queued by the plug are handled: no timer runs, so no
    // search could have found the keypad.
    VirtualKeypad::installDemoKeypad("16k3e");
    QCoreApplication::sendPostedEvents();
    QCOMPARE(statusLabel(*window)->text(), kConnectedText);
    QVERIFY(waitFor([&log] { return configLoaded(log); }));
    QVERIFY(waitFor(poolIdle));
    QCoreApplication::processEvents();
    QPushButton *key = controlButton(*window, 0);
    QVERIFY(key);
    QVERIFY(!key->text().isEmpty());

    // Pulled out: blanked before any read of the keypad could fail.
    VirtualKeypad::unplug();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(statusLabel(*window)->text(), kNoDeviceText);
    QVERIFY(key->text().isEmpty());

    // Plugged back: found again without a search step.
    VirtualKeypad::plugBack();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(statusLabel(*window)->text(), kConnectedText);
}

QTEST_MAIN(HotplugTest)
#include "tst_hotplug.moc"
