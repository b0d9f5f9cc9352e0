#pragma once

// Wire layout of the current keypad family, seen from the keypad. Offsets
// inside the 63-byte packet that follows the report id.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace CurrentProtocol {

constexpr uint8_t ReportId = 0x03;
constexpr std::size_t PacketSize = 63;
constexpr std::size_t LongReportSize = 1 + PacketSize;  // report id + packet
constexpr std::size_t ShortReportSize = 9;              // report id + 8 bytes

// Request and long reply packet.
constexpr std::size_t OffCommand = 0;
constexpr std::size_t OffLayer = 1;
constexpr std::size_t OffKey = 2;
constexpr std::size_t OffLength = 3;   // block length, or chunk index for commands 2 and 8
constexpr std::size_t OffBody = 4;
constexpr std::size_t OffChecksum = 62;
constexpr std::size_t BodySize = OffChecksum - OffBody; // 58

// Macro chunk packets (commands 2 and 8).
constexpr std::size_t OffChunkIndex = 3;
constexpr std::size_t OffChunkCount = 4;
constexpr std::size_t OffChunkLength = 5;
constexpr std::size_t OffChunkData = 6;
constexpr std::size_t MaxChunkLength = OffChecksum - OffChunkData; // 56

// Key data block.
constexpr std::size_t BlockHeaderSize = 9;
constexpr std::size_t OffBlockType = 0;
constexpr std::size_t OffBlockLength = 7;  // u16 little-endian payload length

// Lighting payload (command 9 body, command 10 reply body).
constexpr std::size_t LightingPayloadSize = 52;
constexpr std::size_t OffLightEffect = 0;
constexpr std::size_t OffLightColors = 4;
constexpr int LedCount = 16;

// Short reply (offsets in the report, report id at 0).
constexpr std::size_t ShortOffCommand = 1;
constexpr std::size_t ShortOffStatus = 2;
constexpr std::size_t ShortOffLayer = 3;
constexpr std::size_t ShortOffKey = 4;
constexpr std::size_t ShortOffPacket = 5;
constexpr std::size_t ShortOffChecksum = 8;

constexpr uint8_t KeyLighting = 0xFE;
constexpr uint8_t KeyLayerEnd = 0xFF;

enum Command : uint8_t {
    CmdWriteKey = 1,
    CmdWriteMacroChunk = 2,
    CmdKeyData = 3,
    CmdReadLayer = 4,
    CmdClearKey = 5,
    CmdAck = 6,
    CmdNak = 7,
    CmdMacroChunk = 8,
    CmdWriteLighting = 9,
    CmdReadLighting = 10,
    CmdDeviceInfo = 11,
};

// XOR of `length` bytes starting from 0.
uint8_t xorChecksum(const uint8_t *data, std::size_t length);

// A 64-byte long reply: report id, the packet, its checksum in the last byte.
std::vector<uint8_t> longReply(const uint8_t (&packet)[PacketSize]);

// A 9-byte ACK or NAK.
std::vector<uint8_t> shortReply(uint8_t command, uint8_t status, uint8_t layer, uint8_t key,
                                uint8_t packetIndex);

} // namespace CurrentProtocol
