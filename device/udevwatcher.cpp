#include "device/udevwatcher.h"

#include "device/udevevent.h"
#include "model/logging.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <libudev.h>

namespace {

// udevd listens here; without it no event would ever reach a monitor.
constexpr char kUdevControlSocket[] = "/run/udev/control";

} // namespace

// Defined only by the virtual keypad where it stands in for hidapi: a program
// on its bus must not take the machine's udev events for its keypads.
extern "C" int zentrik_virtual_hid_bus(void) __attribute__((weak));

UdevWatcher *UdevWatcher::create(QObject *parent)
{
    if (!QFileInfo::exists(QString::fromLatin1(kUdevControlSocket)))
        return nullptr;
    udev *context = udev_new();
    if (!context)
        return nullptr;
    // "udev" events come after the rules ran, so the node already has the
    // access the rules give it.
    udev_monitor *monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(monitor) < 0 || udev_monitor_get_fd(monitor) < 0) {
        if (monitor)
            udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return new UdevWatcher(context, monitor, parent);
}

UdevWatcher::UdevWatcher(udev *context, udev_monitor *monitor, QObject *parent)
    : DeviceWatcher(parent)
    , m_udev(context)
    , m_monitor(monitor)
    , m_notifier(new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
}

UdevWatcher::~UdevWatcher()
{
    m_notifier->setEnabled(false);
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

void UdevWatcher::onReadable()
{
    // The monitor's socket is non-blocking: take every event queued.
    while (udev_device *device = udev_monitor_receive_device(m_monitor)) {
        QHash<QString, QString> properties;
        for (udev_list_entry *entry = udev_device_get_properties_list_entry(device); entry;
             entry = udev_list_entry_get_next(entry)) {
            properties.insert(QString::fromUtf8(udev_list_entry_get_name(entry)),
                              QString::fromUtf8(udev_list_entry_get_value(entry)));
        }
        udev_device_unref(device);
        const KeypadEvent event = keypadEventOf(properties);
        if (event.kind == KeypadEvent::Kind::Added)
            emit keypadAdded(event.path);
        else if (event.kind == KeypadEvent::Kind::Removed)
            emit keypadRemoved(event.path);
    }
}

DeviceWatcher *createSystemWatcher(QObject *parent)
{
    if (zentrik_virtual_hid_bus) {
        qCDebug(lcDevice).noquote()
            << "HIDManager: on the virtual keypad's bus, searching for keypads twice a second";
        return new PollWatcher(parent);
    }
    if (DeviceWatcher *watcher = UdevWatcher::create(parent)) {
        qCDebug(lcDevice).noquote() << "HIDManager: watching udev for keypads";
        return watcher;
    }
    qCDebug(lcDevice).noquote()
        << "HIDManager: no udev monitor here, searching for keypads twice a second";
    return new PollWatcher(parent);
}
