#include "r20widefirmware.h"

namespace {

// Layer read: 0x19, 0x00 at 2 and 3, the layer from 1 at 4.
constexpr int OffReadSet = 2, OffReadSetArg = 3, OffReadLayer = 4;
constexpr uint8_t ReadSet = 0x19, ReadSetArg = 0x00;

// Lighting read and write: 0xB0 at 2, the layer from 0 at 3. A write carries
// the effect at 4 and the colours from 5; an answer the effect at 2 and the
// colours from 3.
constexpr int OffLightSelect = 2, OffLightLayer = 3;
constexpr uint8_t LightSelect = 0xB0;
constexpr int OffWriteEffect = 4, OffWriteColors = 5;
constexpr int OffAnswerEffect = 2, OffAnswerColors = 3;
constexpr uint8_t CmdRead = 0xFA;

} // namespace

R20WideFirmware::R20WideFirmware(const Identity &identity) : LegacyFirmware(identity) {}

int R20WideFirmware::layerOfRead(const VirtualReport &request) const
{
    if (byteAt(request, OffReadSet) != ReadSet || byteAt(request, OffReadSetArg) != ReadSetArg)
        return -1;
    const int layer = byteAt(request, OffReadLayer);
    return layer >= 1 && layer <= LayerCount ? layer - 1 : -1;
}

std::vector<VirtualReport> R20WideFirmware::otherRead(const VirtualReport &request) const
{
    const int layer = byteAt(request, OffLightLayer);
    if (byteAt(request, OffLightSelect) != LightSelect || layer >= LayerCount)
        return {};
    const VirtualLighting &lighting = memory().lighting[layer];
    VirtualReport answer = blankReport(CmdRead);
    answer[OffAnswerEffect] = lighting.effect;
    for (int led = 0; led < 16; ++led)
        for (int c = 0; c < 3; ++c)
            answer[OffAnswerColors + 3 * led + c] = lighting.colors[led][c];
    return {answer};
}

void R20WideFirmware::writeLighting(const VirtualReport &request, Memory &memory)
{
    const int layer = byteAt(request, OffLightLayer);
    if (byteAt(request, OffLightSelect) != LightSelect || layer >= LayerCount)
        return;
    VirtualLighting &lighting = memory.lighting[layer];
    lighting.effect = byteAt(request, OffWriteEffect);
    for (int led = 0; led < 16; ++led)
        for (int c = 0; c < 3; ++c)
            lighting.colors[led][c] = byteAt(request, OffWriteColors + 3 * led + c);
}

// Record index = report offset - 4: type 0, kind 1, entry count 2, the first
// entry's key 5.
void R20WideFirmware::alterRecord(Record &record) const
{
    if (record[0] == 1 && record[2] > 0) {
        record[5] ^= 0x01;
        return;
    }
    record.fill(0);
    record[0] = 1;
    record[1] = 1;
    record[2] = 1;
    record[5] = 0x04;
}
