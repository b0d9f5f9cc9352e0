#pragma once

#include "model/keyconfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Stops the run with a message when a decoded record breaks a rule the rest
// of the program relies on; libFuzzer keeps the input that did it.
#define FUZZ_REQUIRE(condition)                                                     \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

// The input copied to a heap block of exactly its size, so a read one byte
// past what the keypad sent is caught by the address checker.
inline std::vector<uint8_t> exactCopy(const uint8_t *data, size_t size)
{
    return std::vector<uint8_t>(data, data + size);
}

// What every KeyConfig the program builds must satisfy, whoever built it.
inline void requireSoundRecord(const KeyConfig &key)
{
    FUZZ_REQUIRE(key.macroSteps.size() <= kMaxMacroSteps);
    FUZZ_REQUIRE(key.keycodes.size() <= kMaxCombinationKeys);
    switch (key.type) {
    case KeyTypeSingle:
    case KeyTypeMacro:
    case KeyTypeMedia:
    case KeyTypeMouse:
    case KeyTypeCombination:
    case KeyTypeEmpty:
        break;
    default:
        FUZZ_REQUIRE(!"unknown key type");
    }
    if (key.type == KeyTypeMacro)
        FUZZ_REQUIRE(!key.macroSteps.isEmpty());
    for (const MacroStep &step : key.macroSteps)
        FUZZ_REQUIRE(step.action <= 1);
}
