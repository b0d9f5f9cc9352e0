// The portable build's watcher: no udev, so the link's periodic search
// finds keypads, as it does where udev does not run. A port adds its
// platform's device-change notification here (docs/porting.md).

#include "device/devicewatcher.h"

#include "model/logging.h"

DeviceWatcher *createSystemWatcher(QObject *parent)
{
    qCDebug(lcDevice).noquote() << "HIDManager: searching for keypads twice a second";
    return new PollWatcher(parent);
}
