#pragma once

#include <QHash>
#include <QString>

// What one udev event on the hidraw subsystem means to the device link,
// read from the event's properties alone: no enumeration, and a remove
// event's device is already gone from sysfs.
struct KeypadEvent {
    enum class Kind { None, Added, Removed };
    Kind kind = Kind::None;
    QString path;  // the hidraw node (DEVNAME), as hidapi names it
};

// Added for "add" and "change" (a reloaded rule may have given access),
// Removed for "remove", of a node whose HID device has a supported vendor
// and product id; None for anything else.
KeypadEvent keypadEventOf(const QHash<QString, QString> &properties);
