#include "legacy/legacyread.h"

#include "legacy/legacyrecord.h"
#include "legacy/legacyreport.h"
#include "legacy/legacytables.h"
#include "model/logging.h"

#include <QThread>

namespace {

constexpr int kAnswerTimeoutMs = 120;
constexpr int kLightingPauseMs = 20;

// Layer read request: bytes 2 and 3 name the family's record set, byte 4 the
// layer counted from 1.
constexpr int kReadOffSet = 2;
constexpr int kReadOffSetArg = 3;
constexpr int kReadOffLayer = 4;
constexpr uint8_t kR20WideReadSet = 0x19;
constexpr uint8_t kR20WideReadSetArg = 0x00;
constexpr uint8_t kOldReadSet = 0x0F;
constexpr uint8_t kOldReadSetArg = 0x03;

// Lighting read (R20Wide): byte 2 selects lighting, byte 3 the layer from 0.
// The answer holds the effect at 2 and sixteen colours from 3.
constexpr int kLightingOffSelect = 2;
constexpr int kLightingOffLayer = 3;
constexpr uint8_t kLightingSelect = 0xB0;
constexpr int kLightingAnswerEffect = 2;
constexpr int kLightingAnswerColors = 3;
constexpr int kLightingAnswerSize = kLightingAnswerColors + 3 * kLedCount;

LegacyReport buildReadLayerRequest(int format, int layer)
{
    LegacyReport report = legacyRequest(LegacyCmdRead);
    const bool r20 = format == LegacyFormatR20Wide;
    report[kReadOffSet] = r20 ? kR20WideReadSet : kOldReadSet;
    report[kReadOffSetArg] = r20 ? kR20WideReadSetArg : kOldReadSetArg;
    report[kReadOffLayer] = uint8_t(layer + 1);
    return report;
}

LegacyReport buildReadLightingRequest(int layer)
{
    LegacyReport report = legacyRequest(LegacyCmdRead);
    report[kLightingOffSelect] = kLightingSelect;
    report[kLightingOffLayer] = uint8_t(layer);
    return report;
}

// False when the answer is too short to hold every colour.
bool parseLightingAnswer(const LegacyReport &answer, int received, LedLayerConfig &lighting)
{
    if (received < kLightingAnswerSize)
        return false;
    lighting = LedLayerConfig();
    lighting.effect = answer[kLightingAnswerEffect];
    for (int led = 0; led < kLedCount; ++led) {
        const int at = kLightingAnswerColors + 3 * led;
        lighting.colors[led] = {answer[at], answer[at + 1], answer[at + 2]};
    }
    return true;
}

int lightingLayerCount(const LegacyDeviceInfo &info)
{
    return info.layerCount <= 3 ? info.layerCount : kLayerCount;
}

} // namespace

bool legacyReadLayer(hid_device *device, const LegacyDeviceInfo &info, int layer, KeyLayer &keys)
{
    keys = KeyLayer(kKeySlotCount);
    if (!device || !info.valid || layer < 0 || layer >= info.layerCount)
        return false;

    // Answers are counted by position, so nothing left over may come first.
    legacyFlushInput(device);
    if (!legacySendReport(device, buildReadLayerRequest(info.format, layer))) {
        qCWarning(lcLegacy).noquote() << "Legacy read layer: request failed layer=" << layer;
        return false;
    }

    const int packets = legacyPacketCount(info.format);
    LegacyReport answer;
    for (int packet = 0; packet < packets; ++packet) {
        const int received = legacyReadReport(device, answer, kAnswerTimeoutMs);
        if (received <= 0) {
            qCWarning(lcLegacy).noquote() << "Legacy read layer timeout layer=" << layer
                                        << "packet=" << packet;
            return false;
        }
        KeyConfig &key = keys[legacySlotOfPacket(info.format, packet)];
        legacyDecode(info.format, answer.data(), received, key);
        key.dirty = 0;
    }
    qCDebug(lcLegacy).noquote() << "Legacy read layer ok layer=" << layer << "packets=" << packets;
    return true;
}

bool legacyReadAllLayers(hid_device *device, const LegacyDeviceInfo &info, KeyLayers &layers)
{
    layers = KeyLayers(kLayerCount);
    if (!device || !info.valid || info.layerCount == 0)
        return false;
    for (int layer = 0; layer < info.layerCount && layer < kLayerCount; ++layer) {
        if (!legacyReadLayer(device, info, layer, layers[layer]))
            return false;
    }
    return true;
}

bool legacyReadLighting(hid_device *device, const LegacyDeviceInfo &info, LedLayers &lighting)
{
    lighting = LedLayers(kLayerCount);
    if (!device || !info.valid || info.format != LegacyFormatR20Wide)
        return false;
    const int layers = lightingLayerCount(info);
    if (layers == 0)
        return false;

    bool anyRead = false;
    LegacyReport answer;
    for (int layer = 0; layer < layers; ++layer) {
        legacyFlushInput(device);
        if (!legacySendReport(device, buildReadLightingRequest(layer))) {
            qCWarning(lcLegacy).noquote() << "Legacy RGB read request failed layer=" << layer;
            continue;
        }
        const int received = legacyReadReport(device, answer, kAnswerTimeoutMs);
        if (received <= 0) {
            qCWarning(lcLegacy).noquote() << "Legacy RGB read timeout layer=" << layer;
            continue;
        }
        if (!parseLightingAnswer(answer, received, lighting[layer])) {
            qCWarning(lcLegacy).noquote() << "Legacy RGB read short answer layer=" << layer
                                        << "bytes=" << received;
            continue;
        }
        anyRead = true;
        QThread::msleep(kLightingPauseMs);
    }
    return anyRead;
}
