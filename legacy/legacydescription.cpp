#include "legacy/legacydescription.h"

DeviceInfo deviceInfoFromLegacy(const LegacyDeviceInfo &legacy)
{
    DeviceInfo info;
    info.valid = legacy.valid;
    info.keyCount = legacy.keyCount;
    info.encoderCount = legacy.encoderCount;
    info.layerCount = legacy.layerCount;
    info.layoutS = legacy.shape;
    return info;
}

KeypadDescription legacyKeypadDescription(const LegacyDeviceInfo &legacy)
{
    KeypadDescription description;
    description.info = deviceInfoFromLegacy(legacy);
    description.probe.valid = legacy.valid;
    description.probe.version = legacy.version;
    description.probe.format = legacy.format;
    return description;
}

LegacyDeviceInfo legacyDeviceInfoOf(const KeypadDescription &description)
{
    LegacyDeviceInfo legacy;
    if (!description.probe.valid)
        return legacy;
    legacy.valid = description.probe.valid;
    legacy.keyCount = description.info.keyCount;
    legacy.encoderCount = description.info.encoderCount;
    legacy.layerCount = description.info.layerCount;
    legacy.version = description.probe.version;
    legacy.shape = description.info.layoutS;
    legacy.format = description.probe.format;
    return legacy;
}
