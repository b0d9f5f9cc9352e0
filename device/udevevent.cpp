#include "device/udevevent.h"

#include "device/candidates.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace {

// The HID device above a hidraw node is named bus:vendor:product.instance in
// hex, e.g. 0003:F1A1:4155.000A in /devices/.../0003:F1A1:4155.000A/hidraw/hidraw3.
bool namesSupportedKeypad(const QString &devicePath)
{
    static const QRegularExpression hidName(
        QStringLiteral("^[0-9A-Fa-f]{4}:([0-9A-Fa-f]{4}):([0-9A-Fa-f]{4})\\.[0-9A-Fa-f]+$"));
    const QStringList parts = devicePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The component right above "hidraw/hidrawN".
    if (parts.size() < 3 || parts.at(parts.size() - 2) != QLatin1String("hidraw"))
        return false;
    const QRegularExpressionMatch match = hidName.match(parts.at(parts.size() - 3));
    if (!match.hasMatch())
        return false;
    const uint16_t vendor = uint16_t(match.captured(1).toUShort(nullptr, 16));
    const uint16_t product = uint16_t(match.captured(2).toUShort(nullptr, 16));
    return std::any_of(kDeviceCandidates.begin(), kDeviceCandidates.end(),
                       [&](const DeviceCandidate &c) {
                           return c.vendorId == vendor && c.productId == product;
                       });
}

} // namespace

KeypadEvent keypadEventOf(const QHash<QString, QString> &properties)
{
    KeypadEvent event;
    if (properties.value(QStringLiteral("SUBSYSTEM")) != QLatin1String("hidraw"))
        return event;
    const QString node = properties.value(QStringLiteral("DEVNAME"));
    if (node.isEmpty() || !namesSupportedKeypad(properties.value(QStringLiteral("DEVPATH"))))
        return event;
    const QString action = properties.value(QStringLiteral("ACTION"));
    if (action == QLatin1String("add") || action == QLatin1String("change"))
        event.kind = KeypadEvent::Kind::Added;
    else if (action == QLatin1String("remove"))
        event.kind = KeypadEvent::Kind::Removed;
    else
        return event;  // bind, unbind, move: the node stays as it was
    event.path = node;
    return event;
}
