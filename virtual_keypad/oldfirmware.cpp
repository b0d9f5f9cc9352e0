#include "oldfirmware.h"

namespace {

// Layer read: 0x0F, 0x03 at 2 and 3, the layer from 1 at 4.
constexpr int OffReadSet = 2, OffReadSetArg = 3, OffReadLayer = 4;
constexpr uint8_t ReadSet = 0x0F, ReadSetArg = 0x03;

// Lighting write: 0xB0 at 2, the layer from 1 at 3, 0x08 at 4, 0x01 at 10 and
// the colour-and-effect byte at 12.
constexpr int OffLightSelect = 2, OffLightLayer = 3, OffLightMode = 4, OffLightEnable = 10,
              OffLightValue = 12;
constexpr uint8_t LightSelect = 0xB0, LightMode = 0x08, LightEnable = 0x01;

} // namespace

OldFirmware::OldFirmware(const Identity &identity) : LegacyFirmware(identity) {}

int OldFirmware::layerOfRead(const VirtualReport &request) const
{
    if (byteAt(request, OffReadSet) != ReadSet || byteAt(request, OffReadSetArg) != ReadSetArg)
        return -1;
    const int layer = byteAt(request, OffReadLayer);
    return layer >= 1 && layer <= LayerCount ? layer - 1 : -1;
}

void OldFirmware::writeLighting(const VirtualReport &request, Memory &memory)
{
    const int layer = byteAt(request, OffLightLayer);
    if (byteAt(request, OffLightSelect) != LightSelect || byteAt(request, OffLightMode) != LightMode
        || byteAt(request, OffLightEnable) != LightEnable || layer < 1 || layer > LayerCount)
        return;
    memory.lightingValue[layer - 1] = byteAt(request, OffLightValue);
}

// Record index = report offset - 4: type 0, pair count 6, the first pair's
// key 8.
void OldFirmware::alterRecord(Record &record) const
{
    if (record[0] == 1 && record[6] > 0) {
        record[8] ^= 0x01;
        return;
    }
    record.fill(0);
    record[0] = 1;
    record[6] = 1;
    record[8] = 0x04;
}
