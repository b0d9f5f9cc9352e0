#pragma once

#include <QObject>
#include <QString>

// Tells the device link when a supported keypad's node comes or goes, so a
// plugged keypad is opened at once and a pulled one let go at once. Sources:
// udev's monitor (udevwatcher.h), the virtual keypad's bus, and the fallback
// that hears nothing and leaves the finding to the periodic search.
class DeviceWatcher : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // True when events come as things happen: the link then searches only
    // now and then, for an event that never came. False for the fallback,
    // under which the link searches twice a second.
    virtual bool isLive() const = 0;

signals:
    // A node of a supported keypad appeared, or its access changed (udev
    // tells a "change" after the rules were reloaded). One per interface.
    void keypadAdded(const QString &path);
    void keypadRemoved(const QString &path);
};

// Where no monitor can be made: hears nothing.
class PollWatcher : public DeviceWatcher
{
public:
    using DeviceWatcher::DeviceWatcher;
    bool isLive() const override { return false; }
};

// udev's monitor where udev runs, the fallback elsewhere (a container, a
// sandbox, and a program on the virtual keypad's bus, which would hear the
// machine's keypads); logs which.
DeviceWatcher *createSystemWatcher(QObject *parent);
