#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kLedCount = 16;

struct RgbColor {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 0;

    bool operator==(const RgbColor &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const RgbColor &o) const { return !(*this == o); }
};

// Lighting of one layer. A fresh record is the keypad's default: effect 1,
// every LED yellow, nothing marked changed.
struct LedLayerConfig {
    uint8_t effect = 1;
    std::array<RgbColor, kLedCount> colors{};
    uint8_t dirty = 0;
    std::array<uint8_t, kLedCount> keyDirty{};

    // The layer must be written when the layer flag or any LED flag is set.
    bool isChanged() const
    {
        if (dirty)
            return true;
        for (uint8_t flag : keyDirty)
            if (flag)
                return true;
        return false;
    }
    // The same effect and colours, whatever the marks say.
    bool sameLighting(const LedLayerConfig &o) const
    {
        return effect == o.effect && colors == o.colors;
    }
    void clearMarks()
    {
        dirty = 0;
        keyDirty.fill(0);
    }
};

// `source` laid over `current`: what differs is marked changed, the rest
// keeps its marks.
inline LedLayerConfig copiedLighting(const LedLayerConfig &current, const LedLayerConfig &source)
{
    LedLayerConfig record = source;
    record.dirty = current.effect != source.effect ? 1 : current.dirty;
    for (std::size_t i = 0; i < std::size_t(kLedCount); ++i)
        record.keyDirty[i] = current.colors[i] != source.colors[i] ? 1 : current.keyDirty[i];
    return record;
}
