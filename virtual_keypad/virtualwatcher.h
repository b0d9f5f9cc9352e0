#pragma once

// The virtual keypad's bus as a device watcher: its plugs and unplugs reach
// the device link as udev's events of the same nodes would, through the same
// filter, so the demo and the tests see what a real keypad makes. For
// programs that link the device library with the virtual keypad.

#include "device/devicewatcher.h"
#include "device/udevevent.h"
#include "virtual_keypad/virtualkeypad.h"

#include <QHash>
#include <QMetaObject>

class VirtualBusWatcher : public DeviceWatcher
{
public:
    explicit VirtualBusWatcher(QObject *parent = nullptr)
        : DeviceWatcher(parent)
    {
        // The bus calls on the thread that plugged; the events are told on
        // the watcher's own thread, as udev's socket is read there.
        m_listener = VirtualKeypad::addHotplugListener([this](const VirtualHotplugEvent &e) {
            const KeypadEvent event = keypadEventOf(propertiesOf(e));
            QMetaObject::invokeMethod(
                this,
                [this, event] {
                    if (event.kind == KeypadEvent::Kind::Added)
                        emit keypadAdded(event.path);
                    else if (event.kind == KeypadEvent::Kind::Removed)
                        emit keypadRemoved(event.path);
                },
                Qt::QueuedConnection);
        });
    }
    ~VirtualBusWatcher() override { VirtualKeypad::removeHotplugListener(m_listener); }

    bool isLive() const override { return true; }

    // The properties udev would give the event of this node.
    static QHash<QString, QString> propertiesOf(const VirtualHotplugEvent &e)
    {
        const auto hex4 = [](uint16_t value) {
            return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
        };
        const QString node = QString::number(e.device * 10 + e.interfaceIndex);
        return {
            {QStringLiteral("ACTION"), e.action == VirtualHotplugEvent::Action::Add
                                           ? QStringLiteral("add")
                                           : QStringLiteral("remove")},
            {QStringLiteral("SUBSYSTEM"), QStringLiteral("hidraw")},
            {QStringLiteral("DEVNAME"), QString::fromStdString(e.path)},
            {QStringLiteral("DEVPATH"),
             QStringLiteral("/devices/virtual/zentrik/0003:%1:%2.%3/hidraw/hidraw%4")
                 .arg(hex4(e.vendorId), hex4(e.productId), hex4(uint16_t(e.device)), node)},
        };
    }

private:
    int m_listener = 0;
};
