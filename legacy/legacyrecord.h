#pragma once

#include "legacy/legacyreport.h"
#include "model/keyconfig.h"

#include <cstdint>

// Key records of the two legacy families. A record starts at byte 4 of its
// report, both in a layer read's answers and in a key write; all offsets here
// are offsets in the 65-byte report.

// Record type at byte 4 (both families); anything else reads as empty.
constexpr int kLegacyOffRecordType = 4;
enum LegacyRecordType : uint8_t {
    LegacyRecordEmpty = 0,
    LegacyRecordKeys = 1,
    LegacyRecordMedia = 2,
    LegacyRecordMouse = 3,
};

// Both families play the releases themselves, each this many ms after the
// step before; a read brings them back so.
constexpr uint16_t kLegacyPlayedReleaseDelay = 20;

// R20Wide: a list of up to 18 timed key presses.
constexpr int kR20OffMouseKind = 5;      // mouse; 1 in an entry list and a media record
constexpr int kR20OffEntryCount = 6;
constexpr int kR20OffEntries = 7;        // entry i: delay high, delay low, key
constexpr int kR20EntrySize = 3;
constexpr int kR20EntryDelayHigh = 0;
constexpr int kR20EntryDelayLow = 1;
constexpr int kR20EntryKey = 2;
constexpr int kR20MaxEntries = 18;
constexpr int kR20OffMediaLow = 9;
constexpr int kR20OffMediaHigh = 12;
constexpr int kR20OffMouseModifier = 9;  // modifier code, or gesture number
constexpr int kR20OffMouseButtons = 12;
constexpr int kR20OffMouseWheel = 21;
constexpr uint8_t kR20MediaFieldCount = 1;
constexpr uint8_t kR20MouseFieldCount = 5;

// Old: (modifier mask, key) pairs sharing one delay.
constexpr int kOldOffDelay = 5;          // u16 little-endian
constexpr int kOldOffPairCount = 10;     // also the field count of media and mouse records
constexpr int kOldOffPairs = 11;         // pair i: mask, key
constexpr int kOldPairSize = 2;
constexpr int kOldPairMask = 0;
constexpr int kOldPairKey = 1;
constexpr int kOldMaxReadPairs = 20;     // what a record has room for
constexpr int kOldMaxWritePairs = 18;
constexpr int kOldOffMediaLow = 11;
constexpr int kOldOffMediaHigh = 12;
constexpr int kOldOffMouseModifier = 11;
constexpr int kOldOffMouseButtons = 12;
constexpr int kOldOffMouseWheel = 15;
constexpr uint8_t kOldMediaFieldCount = 1;
constexpr uint8_t kOldMouseFieldCount = 3;

static_assert(kR20OffEntries + kR20MaxEntries * kR20EntrySize <= kLegacyReportSize, "entries fit");
static_assert(kOldOffPairs + kOldMaxReadPairs * kOldPairSize <= kLegacyReportSize, "pairs fit");

// Decoders of one answer of `received` bytes. Only received bytes are read: a
// record whose fields do not all lie inside them gives an empty slot, as does
// any content the family does not define. The result carries `dirty` 1 like
// every KeyConfig setter; the layer read clears it.
void legacyDecodeR20Wide(const uint8_t *report, int received, KeyConfig &key);
void legacyDecodeOld(const uint8_t *report, int received, KeyConfig &key);
void legacyDecode(int format, const uint8_t *report, int received, KeyConfig &key);

// Fills bytes 4.. of `report` with the family's record of `key`. False for a
// type the keypad cannot hold; `report` is then unchanged.
bool legacyEncodeR20Wide(const KeyConfig &key, LegacyReport &report);
bool legacyEncodeOld(const KeyConfig &key, LegacyReport &report);
bool legacyEncode(int format, const KeyConfig &key, LegacyReport &report);
