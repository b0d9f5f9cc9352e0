#pragma once

#include <array>
#include <cstdint>

// A (vendor id, product id) pair of a supported keypad.
struct DeviceCandidate {
    uint16_t vendorId;
    uint16_t productId;
};

// The pairs the search tries, in this order; the first match wins.
constexpr std::array<DeviceCandidate, 17> kDeviceCandidates{{
    {0xF1A1, 0x4155},
    {0xF1B2, 0x8850},
    {0xF1C3, 0x8842},
    {0xF1C3, 0x8840},
    {0xF1C3, 0x8830},
    {0xF1C3, 0x8831},
    {0xF1C3, 0x8832},
    {0xF1C3, 0x8833},
    {0xF1C3, 0x8850},
    {0xF1C3, 0x8851},
    {0xF1B2, 0x8842},
    {0xF1B2, 0x8840},
    {0xF1B2, 0x8830},
    {0xF1B2, 0x8831},
    {0xF1B2, 0x8832},
    {0xF1B2, 0x8833},
    {0xF1B2, 0x8851},
}};

// The keypad's own interface: vendor usage page 0xFF00, usage 1. When no
// interface reports it, interface 0 is taken on the second pass.
constexpr uint16_t kVendorUsagePage = 0xFF00;
constexpr uint16_t kVendorUsage = 0x0001;
constexpr int kFallbackInterface = 0;
