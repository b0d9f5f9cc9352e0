#include "legacy/legacytables.h"

#include <array>
#include <limits>

namespace {

// Old layer reads stream the three knobs' slots in the keypad's own order:
// turn left, press, turn right.
constexpr std::array<int, kOldPacketCount> kOldPacketSlots{
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
    16, 18, 17, 19, 21, 20, 22, 24, 23};

// Wire key of each slot on an Old keypad; -1 where it has none.
constexpr std::array<int, 25> kOldWireKeys{
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
    -1, 16, 18, 17, -1, -1, -1, -1, -1, -1};

// Pointer actions 0..10: buttons, wheel, and the modifier code of each family.
struct MouseRow {
    uint8_t buttons;
    uint8_t wheel;
    uint8_t modifierR20Wide;
    uint8_t modifierOld;
};
constexpr uint8_t kWheelUp = 1;
constexpr uint8_t kWheelDown = 0xFF;
constexpr std::array<MouseRow, 11> kMouseRows{{
    {1, 0, 0, 0},                   // 0 Mouse Left
    {2, 0, 0, 0},                   // 1 Mouse Right
    {4, 0, 0, 0},                   // 2 Mouse Middle
    {0, kWheelUp, 0, 0},            // 3 Mouse Wheel Up
    {0, kWheelDown, 0, 0},          // 4 Mouse Wheel Down
    {0, kWheelUp, 0xF1, 1},         // 5 Ctrl+Wheel Up
    {0, kWheelDown, 0xF1, 1},       // 6 Ctrl+Wheel Down
    {0, kWheelUp, 0xF2, 2},         // 7 Shift+Wheel Up
    {0, kWheelDown, 0xF2, 2},       // 8 Shift+Wheel Down
    {0, kWheelUp, 0xF3, 4},         // 9 Alt+Wheel Up
    {0, kWheelDown, 0xF3, 4},       // 10 Alt+Wheel Down
}};

constexpr std::array<RgbColor, kOldPaletteSize> kOldPalette{{
    {255, 0, 0},     // red
    {255, 128, 60},  // orange
    {255, 255, 60},  // yellow
    {0, 255, 0},     // green
    {0, 255, 255},   // cyan
    {0, 0, 255},     // blue
    {128, 0, 128},   // purple
}};

uint8_t modifierOf(const MouseRow &row, int format)
{
    return format == LegacyFormatR20Wide ? row.modifierR20Wide : row.modifierOld;
}

int squared(int value) { return value * value; }

} // namespace

int legacyPacketCount(int format)
{
    return format == LegacyFormatR20Wide ? kR20WidePacketCount : kOldPacketCount;
}

int legacySlotOfPacket(int format, int packet)
{
    if (packet < 0 || packet >= legacyPacketCount(format))
        return -1;
    return format == LegacyFormatR20Wide ? packet : kOldPacketSlots[packet];
}

int legacyWireKey(int format, int slot)
{
    if (slot < 0 || slot >= int(kOldWireKeys.size()))
        return -1;
    return format == LegacyFormatR20Wide ? slot + 1 : kOldWireKeys[slot];
}

QVector<int> legacyUnwritableSlots(int format)
{
    QVector<int> slotList;
    for (int slot = 0; slot < int(kOldWireKeys.size()); ++slot)
        if (!legacyWritableSlot(format, slot))
            slotList.append(slot);
    return slotList;
}

LegacyMouseFields legacyMouseFields(uint8_t action, int format)
{
    if (action < kMouseRows.size()) {
        const MouseRow &row = kMouseRows[action];
        return {kLegacyMouseKindPointer, modifierOf(row, format), row.buttons, row.wheel};
    }
    if (action <= kLegacyLastGesture)
        return {kLegacyMouseKindGesture, uint8_t(action - kLegacyGestureBase), 0, 0};
    return {kLegacyMouseKindPointer, 0, 0, 0};
}

int legacyMouseActionOf(uint8_t buttons, uint8_t wheel, uint8_t modifier, int format)
{
    for (std::size_t action = 0; action < kMouseRows.size(); ++action) {
        const MouseRow &row = kMouseRows[action];
        if (row.buttons == buttons && row.wheel == wheel && modifierOf(row, format) == modifier)
            return int(action);
    }
    return -1;
}

int oldPaletteIndex(const RgbColor &color)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < kOldPaletteSize; ++i) {
        const RgbColor &entry = kOldPalette[i];
        const int distance = squared(color.r - entry.r) + squared(color.g - entry.g)
            + squared(color.b - entry.b);
        if (distance < bestDistance) { // strict: the lower index wins a tie
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

uint8_t oldLightingValue(const LedLayerConfig &lighting)
{
    const int effect = lighting.effect < kOldMaxEffect ? lighting.effect : kOldMaxEffect;
    return uint8_t((oldPaletteIndex(lighting.colors[0]) + 1) * 16 + effect);
}
