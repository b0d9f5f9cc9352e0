// The device work of the window's background tasks. Worker threads only:
// nothing here sees the window or its key store.

#include "app/connectresult.h"

#include "device/hidmanager.h"
#include "legacy/legacysession.h"

namespace {

void takeLegacyRead(DeviceReadResult &result, const LegacyConnectResult &legacy)
{
    result.legacyOk = legacy.legacyOk;
    if (!legacy.legacyOk)
        return;
    result.legacyInfo = legacy.info;
    result.readComplete = legacy.readComplete;
    result.layers = legacy.layers;
    result.lighting = legacy.lighting;
}

} // namespace

DeviceReadResult readConnectedKeypad(HIDManager &link)
{
    DeviceReadResult result;
    result.infoOk = link.readDeviceInfo(result.info);
    if (!result.infoOk) {
        const LegacyConnectResult legacy = legacyConnectRead(link);
        if (legacy.outcome == LegacyProbeOutcome::CurrentKeypad) {
            // The description's answer came late: the keypad speaks the
            // current protocol after all and is asked once more.
            result.infoOk = link.readDeviceInfo(result.info);
        } else {
            takeLegacyRead(result, legacy);
        }
    }
    if (result.infoOk)
        result.readComplete = link.readAllConfiguration(result.layers, result.lighting);
    return result;
}

DeviceReadResult readKeypadConfiguration(HIDManager &link, bool legacy)
{
    DeviceReadResult result;
    if (legacy) {
        // A legacy keypad never answers the current read; asking it would
        // only wait out every deadline and bring back empty layers.
        takeLegacyRead(result, legacyConnectRead(link));
    } else {
        result.readComplete = link.readAllConfiguration(result.layers, result.lighting);
    }
    return result;
}

SaveResult saveToKeypad(HIDManager &link, bool legacy, const LegacyDeviceInfo &legacyInfo,
                        const SaveSnapshot &snapshot)
{
    if (legacy)
        return legacySaveSession(link, legacyInfo, snapshot);
    return link.saveSnapshot(snapshot);
}
