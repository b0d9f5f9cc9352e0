#include "device/currentfamily.h"

#include "device/hidmanager.h"
#include "device/keypadslots.h"

namespace {

KeypadCapabilities currentCapabilities()
{
    KeypadCapabilities capabilities;
    capabilities.maxMacroSteps = kMaxMacroSteps;
    capabilities.knobLeds = true;
    return capabilities;
}

} // namespace

const KeypadCapabilities &CurrentFamily::capabilities() const
{
    static const KeypadCapabilities capabilities = currentCapabilities();
    return capabilities;
}

bool CurrentFamily::claims(const KeypadDescription &description) const
{
    return description.info.valid && !description.probe.valid;
}

KeypadContents CurrentFamily::read(HIDManager &link) const
{
    KeypadContents contents;
    contents.readComplete = link.readAllConfiguration(contents.layers, contents.lighting);
    return contents;
}

SaveResult CurrentFamily::save(HIDManager &link, const KeypadDescription &,
                               const SaveSnapshot &snapshot) const
{
    return link.saveSnapshot(snapshot);
}

QVector<int> CurrentFamily::unwritableSlots(const KeypadDescription &description) const
{
    return slotsBeyondKeypad(description.info);
}

QByteArray CurrentFamily::descriptionBytes(const KeypadDescription &description) const
{
    const DeviceInfo &i = description.info;
    const char bytes[] = {char(i.valid),         char(i.keyCount),   char(i.encoderCount),
                          char(i.extraKeyCount), char(i.layerCount), char(i.layoutP),
                          char(i.layoutS),       char(i.reservedB)};
    return QByteArray(bytes, int(sizeof(bytes)));
}
