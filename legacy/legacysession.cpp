#include "legacy/legacysession.h"

#include "device/hidmanager.h"
#include "legacy/legacyread.h"
#include "legacy/legacywrite.h"

LegacyConnectResult legacyConnectRead(HIDManager &manager)
{
    LegacyConnectResult result;
    HIDManager::DeviceSession session(manager);
    hid_device *device = session.handle();
    result.legacyOk = legacyProbe(device, result.info, &result.outcome);
    if (!result.legacyOk)
        return result;
    result.readComplete = legacyReadAllLayers(device, result.info, result.layers);
    if (result.info.isR20Wide()) {
        LedLayers lighting;
        if (legacyReadLighting(device, result.info, lighting))
            result.lighting = lighting;
    }
    return result;
}

SaveResult legacySaveSession(HIDManager &manager, const LegacyDeviceInfo &info,
                             const SaveSnapshot &snapshot)
{
    HIDManager::DeviceSession session(manager);
    return legacySave(session.handle(), info, snapshot);
}
