#pragma once

#include "device/devicewatcher.h"

struct udev;
struct udev_monitor;
class QSocketNotifier;

// udev's monitor on the hidraw subsystem, read when its socket has an event.
// Only events of supported keypads pass (keypadEventOf).
class UdevWatcher : public DeviceWatcher
{
public:
    // Null where udev's daemon does not run (no /run/udev/control: a
    // container, a sandbox) or the monitor cannot be made.
    static UdevWatcher *create(QObject *parent);
    ~UdevWatcher() override;

    bool isLive() const override { return true; }

private:
    UdevWatcher(udev *context, udev_monitor *monitor, QObject *parent);
    void onReadable();

    udev *m_udev;
    udev_monitor *m_monitor;
    QSocketNotifier *m_notifier;
};
