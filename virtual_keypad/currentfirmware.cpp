#include "currentfirmware.h"

#include "currentprotocol.h"

#include <algorithm>
#include <cstring>

using namespace CurrentProtocol;

namespace CurrentProtocol {

uint8_t xorChecksum(const uint8_t *data, std::size_t length)
{
    uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum ^= data[i];
    return sum;
}

std::vector<uint8_t> longReply(const uint8_t (&packet)[PacketSize])
{
    std::vector<uint8_t> report(LongReportSize, 0);
    report[0] = ReportId;
    std::memcpy(report.data() + 1, packet, PacketSize);
    report[1 + OffChecksum] = xorChecksum(packet, OffChecksum);
    return report;
}

std::vector<uint8_t> shortReply(uint8_t command, uint8_t status, uint8_t layer, uint8_t key,
                                uint8_t packetIndex)
{
    std::vector<uint8_t> report(ShortReportSize, 0);
    report[0] = ReportId;
    report[ShortOffCommand] = command;
    report[ShortOffStatus] = status;
    report[ShortOffLayer] = layer;
    report[ShortOffKey] = key;
    report[ShortOffPacket] = packetIndex;
    report[ShortOffChecksum] = xorChecksum(report.data() + 1, ShortOffChecksum - 1);
    return report;
}

} // namespace CurrentProtocol

namespace {

constexpr uint8_t StatusOk = 0;

// The request packet, zero-filled past the bytes the host actually wrote.
struct Request
{
    uint8_t p[PacketSize] = {};
    bool valid = false; // report id 3 and at least one packet byte
};

Request parseRequest(const VirtualReport &report)
{
    Request r;
    if (report.size() < 2 || report[0] != ReportId)
        return r;
    std::memcpy(r.p, report.data() + 1, std::min(report.size() - 1, PacketSize));
    r.valid = true;
    return r;
}

// Only chunk packets carry a packet index; everything else is acknowledged as 0.
uint8_t packetIndexOf(const uint8_t *p)
{
    return p[OffCommand] == CmdWriteMacroChunk ? p[OffChunkIndex] : 0;
}

VirtualReport ack(const uint8_t *p)
{
    return shortReply(CmdAck, StatusOk, p[OffLayer], p[OffKey], packetIndexOf(p));
}

VirtualReport nak(const uint8_t *p, uint8_t status)
{
    return shortReply(CmdNak, status, p[OffLayer], p[OffKey], packetIndexOf(p));
}

// A key data block from `data`, or false when its length field lies.
bool parseBlock(const uint8_t *data, std::size_t length, VirtualKeySlot &out)
{
    if (length < BlockHeaderSize)
        return false;
    const std::size_t n = data[OffBlockLength] | (data[OffBlockLength + 1] << 8);
    if (n + BlockHeaderSize > length)
        return false;
    out.type = data[OffBlockType];
    out.payload.assign(data + BlockHeaderSize, data + BlockHeaderSize + n);
    if (out.type == 0xFF)
        out.payload.clear();
    return true;
}

} // namespace

CurrentFirmware::CurrentFirmware(const VirtualKeypadModel &model)
    : m_model(model), m_slotCount(model.slotCount())
{
}

int CurrentFirmware::commandOf(const VirtualReport &request) const
{
    return request.size() > 1 ? request[1] : -1;
}

std::vector<VirtualReport> CurrentFirmware::handle(const VirtualReport &report)
{
    const Request r = parseRequest(report);
    if (!r.valid)
        return {}; // other report ids are not ours
    const uint8_t *p = r.p;
    if (xorChecksum(p, OffChecksum) != p[OffChecksum])
        return {nak(p, VirtualKeypad::StatusBadChecksum)};

    const int layer = p[OffLayer];
    switch (p[OffCommand]) {
    case CmdDeviceInfo:
        return readDeviceInfo();
    case CmdReadLayer:
        if (layer >= LayerCount)
            return {nak(p, VirtualKeypad::StatusBadRequest)};
        return readLayer(layer);
    case CmdReadLighting:
        if (layer >= LayerCount)
            return {nak(p, VirtualKeypad::StatusBadRequest)};
        return readLighting(layer, p[OffKey]);
    case CmdWriteKey:
        return writeKey(p);
    case CmdWriteMacroChunk:
        return writeMacroChunk(p);
    case CmdClearKey:
        return clearKey(p);
    case CmdWriteLighting:
        return writeLighting(p);
    default:
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    }
}

std::unique_ptr<VirtualFirmware> CurrentFirmware::clone() const
{
    return std::make_unique<CurrentFirmware>(*this);
}

// The stored key or lighting record the write named gets one byte flipped;
// an empty slot becomes the key "A", something a read shows.
void CurrentFirmware::alterStored(const VirtualReport &report)
{
    const Request r = parseRequest(report);
    const int layer = r.p[OffLayer];
    const int slot = r.p[OffKey];
    if (!r.valid || layer >= LayerCount)
        return;
    switch (r.p[OffCommand]) {
    case CmdWriteKey:
    case CmdWriteMacroChunk:
    case CmdClearKey:
        if (!slotInModel(slot))
            return;
        if (m_keys[layer][slot].payload.empty())
            m_keys[layer][slot] = VirtualKeySlot::singleKey(0x04);
        else
            m_keys[layer][slot].payload.back() ^= 0x01;
        return;
    case CmdWriteLighting:
        m_lighting[layer].colors[0][0] ^= 0xFF;
        return;
    default:
        return;
    }
}

std::vector<VirtualReport> CurrentFirmware::refuse(const VirtualReport &report, uint8_t status) const
{
    const Request r = parseRequest(report);
    if (!r.valid)
        return {};
    return {nak(r.p, status)};
}

VirtualReport CurrentFirmware::staleAck(const VirtualReport &report) const
{
    const Request r = parseRequest(report);
    if (!r.valid)
        return {};
    const uint8_t key = r.p[OffKey];
    const uint8_t otherKey = key == 0 ? 1 : uint8_t(key - 1);
    return shortReply(CmdAck, StatusOk, r.p[OffLayer], otherKey, packetIndexOf(r.p));
}

std::vector<VirtualReport> CurrentFirmware::readDeviceInfo() const
{
    uint8_t p[PacketSize] = {};
    p[OffCommand] = CmdDeviceInfo;
    p[OffLength] = 7;
    const uint8_t description[7] = {m_model.keyCount, m_model.encoderCount, m_model.extraKeyCount,
                                    m_model.layerCount, m_model.layoutP, m_model.layoutS,
                                    m_model.reservedB};
    std::memcpy(p + OffBody, description, sizeof description);
    return {longReply(p)};
}

// The keypad streams every non-empty slot of its model, a block that does not
// fit one packet as macro chunks, and closes the layer with an ACK for key 0xFF.
std::vector<VirtualReport> CurrentFirmware::readLayer(int layer) const
{
    std::vector<VirtualReport> replies;
    for (int slot = 0; slot < m_slotCount; ++slot) {
        const VirtualKeySlot &stored = m_keys[layer][slot];
        if (stored.isEmpty())
            continue;
        const std::vector<uint8_t> block = stored.block();
        if (block.size() <= BodySize) {
            uint8_t p[PacketSize] = {};
            p[OffCommand] = CmdKeyData;
            p[OffLayer] = uint8_t(layer);
            p[OffKey] = uint8_t(slot);
            p[OffLength] = uint8_t(block.size());
            std::memcpy(p + OffBody, block.data(), block.size());
            replies.push_back(longReply(p));
            continue;
        }
        // The chunk count is one byte; a preloaded block beyond that is cut.
        const std::size_t chunkCount = std::min<std::size_t>((block.size() - 1) / MaxChunkLength + 1, 255);
        for (std::size_t i = 0; i < chunkCount; ++i) {
            const std::size_t start = i * MaxChunkLength;
            const std::size_t length = std::min(MaxChunkLength, block.size() - start);
            uint8_t p[PacketSize] = {};
            p[OffCommand] = CmdMacroChunk;
            p[OffLayer] = uint8_t(layer);
            p[OffKey] = uint8_t(slot);
            p[OffChunkIndex] = uint8_t(i);
            p[OffChunkCount] = uint8_t(chunkCount);
            p[OffChunkLength] = uint8_t(length);
            std::memcpy(p + OffChunkData, block.data() + start, length);
            replies.push_back(longReply(p));
        }
    }
    replies.push_back(shortReply(CmdAck, StatusOk, uint8_t(layer), KeyLayerEnd, 0));
    return replies;
}

std::vector<VirtualReport> CurrentFirmware::readLighting(int layer, uint8_t key) const
{
    const VirtualLighting &light = m_lighting[layer];
    uint8_t p[PacketSize] = {};
    p[OffCommand] = CmdReadLighting;
    p[OffLayer] = uint8_t(layer);
    p[OffKey] = key;
    p[OffLength] = uint8_t(LightingPayloadSize);
    p[OffBody + OffLightEffect] = light.effect;
    for (int i = 0; i < LedCount; ++i)
        std::memcpy(p + OffBody + OffLightColors + 3 * i, light.colors[i].data(), 3);
    return {longReply(p)};
}

std::vector<VirtualReport> CurrentFirmware::writeKey(const uint8_t *p)
{
    const int layer = p[OffLayer];
    const int slot = p[OffKey];
    if (layer >= LayerCount)
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    if (!slotInModel(slot))
        return {nak(p, VirtualKeypad::StatusNoSuchKey)};
    const std::size_t length = p[OffLength];
    VirtualKeySlot value;
    if (length > BodySize || !parseBlock(p + OffBody, length, value))
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    m_assemblies.erase({layer, slot});
    m_keys[layer][slot] = value;
    return {ack(p)};
}

// Chunk 0 (or a chunk announcing another count) starts a macro afresh; the
// macro is stored once its last missing chunk is in, never half-written.
std::vector<VirtualReport> CurrentFirmware::writeMacroChunk(const uint8_t *p)
{
    const int layer = p[OffLayer];
    const int slot = p[OffKey];
    if (layer >= LayerCount)
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    if (!slotInModel(slot))
        return {nak(p, VirtualKeypad::StatusNoSuchKey)};
    const int index = p[OffChunkIndex];
    const int count = p[OffChunkCount];
    const std::size_t length = p[OffChunkLength];
    constexpr int MaxChunks = 5; // a 64-step macro
    if (count < 1 || count > MaxChunks || index >= count || length < 1 || length > MaxChunkLength)
        return {nak(p, VirtualKeypad::StatusBadMacro)};

    Assembly &assembly = m_assemblies[{layer, slot}];
    if (index == 0 || assembly.chunkCount != count) {
        assembly.chunkCount = count;
        assembly.chunks.assign(count, {});
        assembly.present.assign(count, false);
    }
    assembly.chunks[index].assign(p + OffChunkData, p + OffChunkData + length);
    assembly.present[index] = true;
    if (std::find(assembly.present.begin(), assembly.present.end(), false) != assembly.present.end())
        return {ack(p)};

    std::vector<uint8_t> block;
    for (const auto &chunk : assembly.chunks)
        block.insert(block.end(), chunk.begin(), chunk.end());
    m_assemblies.erase({layer, slot});
    VirtualKeySlot value;
    if (!parseBlock(block.data(), block.size(), value))
        return {nak(p, VirtualKeypad::StatusBadMacro)};
    m_keys[layer][slot] = value;
    return {ack(p)};
}

std::vector<VirtualReport> CurrentFirmware::clearKey(const uint8_t *p)
{
    const int layer = p[OffLayer];
    const int slot = p[OffKey];
    if (layer >= LayerCount)
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    if (!slotInModel(slot))
        return {nak(p, VirtualKeypad::StatusNoSuchKey)};
    m_assemblies.erase({layer, slot});
    m_keys[layer][slot] = VirtualKeySlot();
    return {ack(p)};
}

std::vector<VirtualReport> CurrentFirmware::writeLighting(const uint8_t *p)
{
    const int layer = p[OffLayer];
    if (layer >= LayerCount || p[OffLength] < LightingPayloadSize)
        return {nak(p, VirtualKeypad::StatusBadRequest)};
    VirtualLighting light;
    light.effect = p[OffBody + OffLightEffect];
    for (int i = 0; i < LedCount; ++i)
        std::memcpy(light.colors[i].data(), p + OffBody + OffLightColors + 3 * i, 3);
    m_lighting[layer] = light;
    return {ack(p)};
}

bool CurrentFirmware::key(int layer, int slot, VirtualKeySlot &out) const
{
    if (layer < 0 || layer >= LayerCount || slot < 0 || slot >= MaxSlots)
        return false;
    out = m_keys[layer][slot];
    return true;
}

bool CurrentFirmware::setKey(int layer, int slot, const VirtualKeySlot &value)
{
    if (layer < 0 || layer >= LayerCount || slot < 0 || slot >= MaxSlots)
        return false;
    m_keys[layer][slot] = value;
    if (value.isEmpty())
        m_keys[layer][slot].payload.clear();
    return true;
}

void CurrentFirmware::clearAllKeys()
{
    for (auto &layer : m_keys)
        layer.fill(VirtualKeySlot());
    m_assemblies.clear();
}

bool CurrentFirmware::lighting(int layer, VirtualLighting &out) const
{
    if (layer < 0 || layer >= LayerCount)
        return false;
    out = m_lighting[layer];
    return true;
}

bool CurrentFirmware::setLighting(int layer, const VirtualLighting &value)
{
    if (layer < 0 || layer >= LayerCount)
        return false;
    m_lighting[layer] = value;
    return true;
}
