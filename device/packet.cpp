#include "device/packet.h"

#include <algorithm>
#include <cstring>

uint8_t packetChecksum(const uint8_t *packet)
{
    uint8_t sum = 0;
    for (int i = 0; i < kPktChecksum; ++i)
        sum ^= packet[i];
    return sum;
}

Packet buildRequest(uint8_t command, uint8_t layer, uint8_t key, uint8_t arg,
                    const uint8_t *body, int bodyLength)
{
    Packet packet{};
    packet[kPktCommand] = command;
    packet[kPktLayer] = layer;
    packet[kPktKey] = key;
    packet[kPktArg] = arg;
    if (body && bodyLength > 0)
        std::memcpy(packet.data() + kPktBody, body, size_t(std::min(bodyLength, kPktBodySize)));
    packet[kPktChecksum] = packetChecksum(packet.data());
    return packet;
}

Packet buildDeviceInfoRequest()
{
    return buildRequest(CmdDeviceInfo, 0, 0, 0);
}

Packet buildReadLayerRequest(uint8_t layer)
{
    return buildRequest(CmdReadLayer, layer, kLayerEndKey, 0);
}

Packet buildReadLightingRequest(uint8_t layer)
{
    return buildRequest(CmdReadLighting, layer, kLightingKey, 0);
}

Packet buildWriteKeyPacket(uint8_t layer, uint8_t key, const QByteArray &block)
{
    return buildRequest(CmdWriteKey, layer, key, uint8_t(block.size()),
                        reinterpret_cast<const uint8_t *>(block.constData()), block.size());
}

Packet buildMacroChunkPacket(uint8_t layer, uint8_t key, uint8_t index, uint8_t count,
                             const QByteArray &chunk)
{
    const int length = std::min(int(chunk.size()), kMaxChunkSize);
    uint8_t body[kPktBodySize] = {};
    body[kChunkPktCount - kPktBody] = count;
    body[kChunkPktLength - kPktBody] = uint8_t(length);
    std::memcpy(body + (kChunkPktData - kPktBody), chunk.constData(), size_t(length));
    return buildRequest(CmdWriteMacroChunk, layer, key, index, body, kPktBodySize);
}

Packet buildClearKeyPacket(uint8_t layer, uint8_t key)
{
    return buildRequest(CmdClearKey, layer, key, 0);
}

Packet buildLightingPacket(uint8_t layer, const LedLayerConfig &lighting)
{
    uint8_t payload[kLightingPayloadSize] = {};
    payload[kLightingEffect] = lighting.effect;
    for (int i = 0; i < kLedCount; ++i) {
        payload[kLightingColors + 3 * i] = lighting.colors[size_t(i)].r;
        payload[kLightingColors + 3 * i + 1] = lighting.colors[size_t(i)].g;
        payload[kLightingColors + 3 * i + 2] = lighting.colors[size_t(i)].b;
    }
    return buildRequest(CmdWriteLighting, layer, kLightingKey, kLightingPayloadSize, payload,
                        kLightingPayloadSize);
}

Report buildOutputReport(const uint8_t *data, int length)
{
    Report report{};
    report[0] = kReportId;
    if (data && length > 0)
        std::memcpy(report.data() + 1, data, size_t(std::min(length, kReportSize - 1)));
    return report;
}

bool shortChecksumValid(const uint8_t *report, int received)
{
    if (received < kShortReplyMin)
        return false;
    uint8_t sum = 0;
    for (int i = 1; i < kAckChecksum; ++i)
        sum ^= report[i];
    return sum == report[kAckChecksum];
}

namespace {

// XOR of `count` bytes, taken eight at a time: a long reply's checksum covers
// 61 bytes and is checked for every reply a layer read takes.
uint8_t xorOfBytes(const uint8_t *bytes, int count)
{
    uint64_t lanes = 0;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        lanes ^= word;
    }
    for (; i < count; ++i)
        lanes ^= bytes[i];
    lanes ^= lanes >> 32;
    lanes ^= lanes >> 16;
    lanes ^= lanes >> 8;
    return uint8_t(lanes);
}

} // namespace

bool longChecksumValid(const uint8_t *report, int received)
{
    if (received < kLongReplyMin)
        return false;
    return xorOfBytes(report + 1, kLongChecksum - 1) == report[kLongChecksum];
}

std::optional<ShortReply> parseShortReply(const uint8_t *report, int received)
{
    if (!shortChecksumValid(report, received))
        return std::nullopt;
    return ShortReply{report[kAckCommand], report[kAckStatus], report[kAckLayer],
                      report[kAckKey], report[kAckPacketIndex]};
}

std::optional<ShortReply> parseRefusal(const uint8_t *report, int received)
{
    const std::optional<ShortReply> reply = parseShortReply(report, received);
    if (!reply || reply->command != CmdNak)
        return std::nullopt;
    return reply;
}

std::optional<KeyDataReply> parseKeyDataReply(const uint8_t *report, int received)
{
    if (!longChecksumValid(report, received) || report[kLongCommand] != CmdKeyData)
        return std::nullopt;
    // A length byte claiming more than the report holds is not believed.
    const int length = report[kLongArg];
    if (length == 0 || length > kMaxReplyBlock)
        return std::nullopt;
    return KeyDataReply{report[kLongLayer], report[kLongKey],
                        QByteArray(reinterpret_cast<const char *>(report + kKeyReplyBlock), length)};
}

std::optional<MacroChunkReply> parseMacroChunkReply(const uint8_t *report, int received)
{
    if (!longChecksumValid(report, received) || report[kLongCommand] != CmdMacroChunk)
        return std::nullopt;
    const int length = report[kChunkReplyLength];
    if (length > kMaxChunkSize)
        return std::nullopt;
    return MacroChunkReply{report[kLongLayer], report[kLongKey], report[kLongArg],
                           report[kChunkReplyCount],
                           QByteArray(reinterpret_cast<const char *>(report + kChunkReplyData), length)};
}

std::optional<DeviceInfo> parseDeviceInfoReply(const uint8_t *report, int received)
{
    if (!longChecksumValid(report, received) || report[kLongCommand] != CmdDeviceInfo
        || report[kLongArg] < kInfoFieldCount)
        return std::nullopt;
    const uint8_t *f = report + kInfoReplyFields;
    DeviceInfo info;
    info.valid = 1;
    info.keyCount = f[0];
    info.encoderCount = f[1];
    info.extraKeyCount = f[2];
    info.layerCount = f[3];
    info.layoutP = f[4];
    info.layoutS = f[5];
    info.reservedB = f[6];
    return info;
}

LightingReply parseLightingReply(const uint8_t *report, int received, uint8_t layer)
{
    LightingReply reply;
    if (!longChecksumValid(report, received) || report[kLongCommand] != CmdReadLighting
        || report[kLongLayer] != layer || report[kLongKey] != kLightingKey)
        return reply;
    if (report[kLongArg] < kLightingPayloadSize) {
        reply.kind = LightingReplyKind::TooShort;
        return reply;
    }
    const uint8_t *payload = report + kLightingReplyPayload;
    reply.kind = LightingReplyKind::Lighting;
    reply.lighting.effect = payload[kLightingEffect];
    for (int i = 0; i < kLedCount; ++i) {
        RgbColor &c = reply.lighting.colors[size_t(i)];
        c.r = payload[kLightingColors + 3 * i];
        c.g = payload[kLightingColors + 3 * i + 1];
        c.b = payload[kLightingColors + 3 * i + 2];
    }
    reply.lighting.clearMarks();
    return reply;
}
