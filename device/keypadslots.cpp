#include "device/keypadslots.h"

#include "model/keylayers.h"

#include <algorithm>

int keySlotCountOf(const DeviceInfo &info)
{
    if (!info.valid || !info.keyCount)
        return kKeySlotCount;
    return std::min(info.keyCount + 3 * info.encoderCount + info.extraKeyCount, kKeySlotCount);
}

QVector<int> slotsBeyondKeypad(const DeviceInfo &info)
{
    QVector<int> beyond;
    for (int slot = keySlotCountOf(info); slot < kKeySlotCount; ++slot)
        beyond.append(slot);
    return beyond;
}
