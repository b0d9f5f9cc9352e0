#pragma once

#include "model/keyconfig.h"

#include <QByteArray>
#include <QVector>
#include <cstdint>

// The key data block: the unit one assignment travels in, both ways.
//   byte 0     type of the record
//   bytes 1-6  zero
//   bytes 7-8  payload length n, little-endian
//   bytes 9..  the n payload bytes
constexpr int kBlockType = 0;
constexpr int kBlockLength = 7;
constexpr int kBlockPayload = 9;
constexpr int kBlockHeaderSize = kBlockPayload;

// A single write-key packet carries at most this much payload.
constexpr int kMaxKeyPayload = 49;

// The payload of a record: 1 single key (modifiers never travel), 1 + 4s macro,
// 2 multimedia, 1 mouse, 2 + c combination (c at most 6). Empty for an empty
// slot, an unknown type or a macro of 0 or more than 64 steps.
QByteArray encodeKeyPayload(const KeyConfig &record);

// The whole block of a record; empty when the record has no payload.
QByteArray encodeKeyData(const KeyConfig &record);

// Decodes one block of `length` bytes into `record`. The block comes from the
// keypad and is not trusted: nothing beyond `length` bytes is read, and a
// block that does not hold what its header claims fails. On failure `record`
// is left untouched; on success it carries `dirty` = 1 like every setter.
bool decodeKeyData(const uint8_t *block, int length, KeyConfig &record);

// Cuts a macro block into the chunks the keypad takes (56 bytes each, the last
// one shorter); at most 5 for a macro of 64 steps.
QVector<QByteArray> splitMacroBlock(const QByteArray &block);
