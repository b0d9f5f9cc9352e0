#pragma once

#include "device/deviceinfo.h"
#include "model/ledlayerconfig.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

// Framing of the keypad's request/acknowledge protocol. Every request is a
// 63-byte packet carried in one 65-byte output report; the keypad answers with
// short acknowledgements or 63-byte data packets in input reports whose byte 0
// is the report id. Builders here never fail; parsers check every length
// against the bytes actually received and return nothing for a report they
// cannot trust.

constexpr uint8_t kReportId = 0x03;
constexpr int kReportSize = 65;   // report id, packet, trailing zero
constexpr int kPacketSize = 63;

// Request packet offsets (inside the packet, report offset minus one).
constexpr int kPktCommand = 0;
constexpr int kPktLayer = 1;
constexpr int kPktKey = 2;
constexpr int kPktArg = 3;        // body length, or chunk index for command 2
constexpr int kPktBody = 4;
constexpr int kPktChecksum = 62;  // XOR of bytes 0..61
constexpr int kPktBodySize = kPktChecksum - kPktBody;  // 58

// Macro chunk packet (command 2) body layout.
constexpr int kChunkPktCount = 4;
constexpr int kChunkPktLength = 5;
constexpr int kChunkPktData = 6;
constexpr int kMaxChunkSize = 56;

// Lighting payload (command 9 body, command 10 reply from its byte 4).
constexpr int kLightingPayloadSize = 52;
constexpr int kLightingEffect = 0;
constexpr int kLightingColors = 4;

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

constexpr uint8_t kLightingKey = 0xFE;  // key byte of the lighting commands
constexpr uint8_t kLayerEndKey = 0xFF;  // key byte of a layer read and its end ACK

// Short reply (acknowledgement) offsets in the input report.
constexpr int kAckCommand = 1;
constexpr int kAckStatus = 2;
constexpr int kAckLayer = 3;
constexpr int kAckKey = 4;
constexpr int kAckPacketIndex = 5;
constexpr int kAckChecksum = 8;    // XOR of report bytes 1..7
constexpr int kShortReplyMin = 9;

// Long reply (data) offsets in the input report: bytes 1..63 are a packet.
constexpr int kLongCommand = 1;
constexpr int kLongLayer = 2;
constexpr int kLongKey = 3;
constexpr int kLongArg = 4;
constexpr int kLongChecksum = 63;  // XOR of report bytes 1..62
constexpr int kLongReplyMin = 64;

// Key data reply (command 3): block length at 4, block from 5, at most 58.
constexpr int kKeyReplyBlock = 5;
constexpr int kMaxReplyBlock = kLongChecksum - kKeyReplyBlock;  // 58
// Macro chunk reply (command 8): index 4, count 5, length 6, bytes from 7.
constexpr int kChunkReplyCount = 5;
constexpr int kChunkReplyLength = 6;
constexpr int kChunkReplyData = 7;
static_assert(kChunkReplyData + kMaxChunkSize == kLongChecksum, "a chunk fills the reply");
// Device information reply (command 11): length at 4, seven bytes from 5.
constexpr int kInfoReplyFields = 5;
constexpr int kInfoFieldCount = 7;
// Lighting reply (command 10): payload length at 4, payload from 5.
constexpr int kLightingReplyPayload = 5;
static_assert(kLightingReplyPayload + kLightingPayloadSize < kLongChecksum, "lighting fits");

using Packet = std::array<uint8_t, kPacketSize>;
using Report = std::array<uint8_t, kReportSize>;

uint8_t packetChecksum(const uint8_t *packet);  // XOR of packet bytes 0..61

// Request packets, checksum included.
Packet buildRequest(uint8_t command, uint8_t layer, uint8_t key, uint8_t arg,
                    const uint8_t *body = nullptr, int bodyLength = 0);
Packet buildDeviceInfoRequest();
Packet buildReadLayerRequest(uint8_t layer);
Packet buildReadLightingRequest(uint8_t layer);
Packet buildWriteKeyPacket(uint8_t layer, uint8_t key, const QByteArray &block);
Packet buildMacroChunkPacket(uint8_t layer, uint8_t key, uint8_t index, uint8_t count,
                             const QByteArray &chunk);
Packet buildClearKeyPacket(uint8_t layer, uint8_t key);
Packet buildLightingPacket(uint8_t layer, const LedLayerConfig &lighting);

// The 65-byte output report that carries a packet (at most 64 bytes copied).
Report buildOutputReport(const uint8_t *data, int length);

bool shortChecksumValid(const uint8_t *report, int received);
bool longChecksumValid(const uint8_t *report, int received);

struct ShortReply {
    uint8_t command;
    uint8_t status;
    uint8_t layer;
    uint8_t key;
    uint8_t packetIndex;
};
// An acknowledgement-shaped reply: at least 9 bytes with a valid short checksum.
std::optional<ShortReply> parseShortReply(const uint8_t *report, int received);
// A NAK: an acknowledgement-shaped reply with command 7, of any length from 9
// bytes (hidraw may pad it with zeros to the report's full 64). No data reply
// carries command 7, so a long report with it is a refusal too.
std::optional<ShortReply> parseRefusal(const uint8_t *report, int received);

struct KeyDataReply {
    uint8_t layer;
    uint8_t key;
    QByteArray block;  // 1 to 58 bytes
};
// Command 3 with a valid long checksum and a block that fits its report.
std::optional<KeyDataReply> parseKeyDataReply(const uint8_t *report, int received);

struct MacroChunkReply {
    uint8_t layer;
    uint8_t key;
    uint8_t index;
    uint8_t count;
    QByteArray chunk;  // at most 56 bytes
};
// Command 8 with a valid long checksum and a chunk that fits its report.
std::optional<MacroChunkReply> parseMacroChunkReply(const uint8_t *report, int received);

// Command 11 with a valid long checksum and at least seven description bytes;
// the result has `valid` set.
std::optional<DeviceInfo> parseDeviceInfoReply(const uint8_t *report, int received);

enum class LightingReplyKind { Unrelated, TooShort, Lighting };
struct LightingReply {
    LightingReplyKind kind = LightingReplyKind::Unrelated;
    LedLayerConfig lighting;  // marks clear; set only for kind Lighting
};
// Command 10 for `layer` with a valid long checksum; TooShort when its payload
// length is below 52.
LightingReply parseLightingReply(const uint8_t *report, int received, uint8_t layer);
