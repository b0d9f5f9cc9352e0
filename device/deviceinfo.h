#pragma once

#include <cstdint>

// The keypad's description of itself, as its device-information reply gives
// it. A record that was never filled by a reply has every field 0.
struct DeviceInfo {
    uint8_t valid = 0;          // 1 once a device-information reply was accepted
    uint8_t keyCount = 0;       // plain keys
    uint8_t encoderCount = 0;   // rotary knobs; each takes three key slots
    uint8_t extraKeyCount = 0;  // further single key slots
    uint8_t layerCount = 0;
    uint8_t layoutP = 0;        // layout selectors, passed on to the window
    uint8_t layoutS = 0;
    uint8_t reservedB = 0;      // logged only
};
