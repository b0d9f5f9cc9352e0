#pragma once

#include <cstdint>

// The two older keypad families, told apart by the firmware version the probe
// answer carries.
enum LegacyFormat : int {
    LegacyFormatOld = 0,
    LegacyFormatR20Wide = 1,
};

// Versions above this one belong to the R20Wide family.
constexpr uint8_t kLegacyLastOldVersion = 9;
// Both families keep three layers.
constexpr uint8_t kLegacyLayerCount = 3;

// The description of a legacy keypad, filled once per connection by the probe.
struct LegacyDeviceInfo {
    uint8_t valid = 0;         // 1 once a probe was answered
    uint8_t keyCount = 0;
    uint8_t encoderCount = 0;
    uint8_t layerCount = kLegacyLayerCount;
    uint8_t version = 0;       // firmware version byte
    uint8_t shape = 0;         // physical arrangement; R20Wide only
    int format = LegacyFormatOld;

    bool isR20Wide() const { return format == LegacyFormatR20Wide; }
};

// "R20Wide" or "Old", as the log lines name the families.
inline const char *legacyFamilyName(int format)
{
    return format == LegacyFormatR20Wide ? "R20Wide" : "Old";
}
