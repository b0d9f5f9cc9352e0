#pragma once

#include <cstdint>

// The on-screen PC keyboard: every key with its HID usage, style class and
// place. Places are in a grid whose columns are a quarter of a key wide, so
// the wide keys (Tab 1.5, Caps 1.75, Shift 2.25, Space 6.25) line up the way
// they do on a real keyboard.

constexpr const char *kFunctionKey = "functionKey";
constexpr const char *kSpecialKey = "specialKey";
constexpr const char *kNavKey = "navKey";
constexpr const char *kNumpadKey = "numpadKey";
constexpr const char *kNumpadOperator = "numpadOperator";

struct BaseKeyEntry {
    const char *label;
    const char *shiftedLabel;  // small second legend, or nullptr for a one-legend key
    uint8_t usage;
    const char *styleClass;    // nullptr for letters and two-legend keys
    uint8_t row;               // 0 function row .. 5 space bar row
    uint8_t column;            // in quarter key widths
    uint8_t width = 4;         // in quarter key widths
    uint8_t height = 1;        // in rows
};

constexpr int kBaseKeyRows = 6;
// Main block 15 keys wide, a quarter key of gap, the navigation block of
// three keys 1.25 wide (their two-line legends need it), a gap, the keypad
// block, whose right column is 1.5 keys wide for the tall Enter and +.
constexpr int kBlockGap = 1;
constexpr int kNavBlockColumn = 60 + kBlockGap;
constexpr int kNavKeyWidth = 5;
constexpr int kNumpadBlockColumn = kNavBlockColumn + 3 * kNavKeyWidth + kBlockGap;
constexpr int kNumpadRightWidth = 6;
constexpr int kBaseKeyColumns = kNumpadBlockColumn + 3 * 4 + kNumpadRightWidth;

namespace basekeys {
constexpr int N0 = kNavBlockColumn, N1 = N0 + kNavKeyWidth, N2 = N1 + kNavKeyWidth;
constexpr int P0 = kNumpadBlockColumn, P1 = P0 + 4, P2 = P1 + 4, P3 = P2 + 4;
constexpr int NW = kNavKeyWidth, PW = kNumpadRightWidth;
} // namespace basekeys

// Keyboard rows left to right, then the keypad block in its creation order.
inline constexpr BaseKeyEntry kBaseKeys[] = {
    // Row 0: Esc, F1-F12 in groups of four, the three system keys.
    {"ESC", nullptr, 0x29, kFunctionKey, 0, 0},
    {"F1", nullptr, 0x3A, kFunctionKey, 0, 8},
    {"F2", nullptr, 0x3B, kFunctionKey, 0, 12},
    {"F3", nullptr, 0x3C, kFunctionKey, 0, 16},
    {"F4", nullptr, 0x3D, kFunctionKey, 0, 20},
    {"F5", nullptr, 0x3E, kFunctionKey, 0, 26},
    {"F6", nullptr, 0x3F, kFunctionKey, 0, 30},
    {"F7", nullptr, 0x40, kFunctionKey, 0, 34},
    {"F8", nullptr, 0x41, kFunctionKey, 0, 38},
    {"F9", nullptr, 0x42, kFunctionKey, 0, 44},
    {"F10", nullptr, 0x43, kFunctionKey, 0, 48},
    {"F11", nullptr, 0x44, kFunctionKey, 0, 52},
    {"F12", nullptr, 0x45, kFunctionKey, 0, 56},
    {"Print\nScreen", nullptr, 0x46, kSpecialKey, 0, basekeys::N0, basekeys::NW},
    {"Scroll\nLock", nullptr, 0x47, kSpecialKey, 0, basekeys::N1, basekeys::NW},
    {"Pause\nBreak", nullptr, 0x48, kSpecialKey, 0, basekeys::N2, basekeys::NW},

    // Row 1: the number row.
    {"`", "~", 0x35, nullptr, 1, 0},
    {"1", "!", 0x1E, nullptr, 1, 4},
    {"2", "@", 0x1F, nullptr, 1, 8},
    {"3", "#", 0x20, nullptr, 1, 12},
    {"4", "$", 0x21, nullptr, 1, 16},
    {"5", "%", 0x22, nullptr, 1, 20},
    {"6", "^", 0x23, nullptr, 1, 24},
    {"7", "&", 0x24, nullptr, 1, 28},
    {"8", "*", 0x25, nullptr, 1, 32},
    {"9", "(", 0x26, nullptr, 1, 36},
    {"0", ")", 0x27, nullptr, 1, 40},
    {"-", "_", 0x2D, nullptr, 1, 44},
    {"=", "+", 0x2E, nullptr, 1, 48},
    {"Backspace", nullptr, 0x2A, kSpecialKey, 1, 52, 8},
    {"Insert", nullptr, 0x49, kSpecialKey, 1, basekeys::N0, basekeys::NW},
    {"Home", nullptr, 0x4A, kSpecialKey, 1, basekeys::N1, basekeys::NW},
    {"Page\nUp", nullptr, 0x4B, kSpecialKey, 1, basekeys::N2, basekeys::NW},

    // Row 2.
    {"Tab", nullptr, 0x2B, kSpecialKey, 2, 0, 6},
    {"Q", nullptr, 0x14, nullptr, 2, 6},
    {"W", nullptr, 0x1A, nullptr, 2, 10},
    {"E", nullptr, 0x08, nullptr, 2, 14},
    {"R", nullptr, 0x15, nullptr, 2, 18},
    {"T", nullptr, 0x17, nullptr, 2, 22},
    {"Y", nullptr, 0x1C, nullptr, 2, 26},
    {"U", nullptr, 0x18, nullptr, 2, 30},
    {"I", nullptr, 0x0C, nullptr, 2, 34},
    {"O", nullptr, 0x12, nullptr, 2, 38},
    {"P", nullptr, 0x13, nullptr, 2, 42},
    {"[", "{", 0x2F, nullptr, 2, 46},
    {"]", "}", 0x30, nullptr, 2, 50},
    {"\\", "|", 0x31, nullptr, 2, 54, 6},
    {"Delete", nullptr, 0x4C, kSpecialKey, 2, basekeys::N0, basekeys::NW},
    {"End", nullptr, 0x4D, kSpecialKey, 2, basekeys::N1, basekeys::NW},
    {"Page\nDown", nullptr, 0x4E, kSpecialKey, 2, basekeys::N2, basekeys::NW},

    // Row 3.
    {"Caps\nLock", nullptr, 0x39, kSpecialKey, 3, 0, 7},
    {"A", nullptr, 0x04, nullptr, 3, 7},
    {"S", nullptr, 0x16, nullptr, 3, 11},
    {"D", nullptr, 0x07, nullptr, 3, 15},
    {"F", nullptr, 0x09, nullptr, 3, 19},
    {"G", nullptr, 0x0A, nullptr, 3, 23},
    {"H", nullptr, 0x0B, nullptr, 3, 27},
    {"J", nullptr, 0x0D, nullptr, 3, 31},
    {"K", nullptr, 0x0E, nullptr, 3, 35},
    {"L", nullptr, 0x0F, nullptr, 3, 39},
    {";", ":", 0x33, nullptr, 3, 43},
    {"'", "\"", 0x34, nullptr, 3, 47},
    {"Enter", nullptr, 0x28, kSpecialKey, 3, 51, 9},

    // Row 4.
    {"Shift", nullptr, 0xE1, kSpecialKey, 4, 0, 9},
    {"Z", nullptr, 0x1D, nullptr, 4, 9},
    {"X", nullptr, 0x1B, nullptr, 4, 13},
    {"C", nullptr, 0x06, nullptr, 4, 17},
    {"V", nullptr, 0x19, nullptr, 4, 21},
    {"B", nullptr, 0x05, nullptr, 4, 25},
    {"N", nullptr, 0x11, nullptr, 4, 29},
    {"M", nullptr, 0x10, nullptr, 4, 33},
    {",", "<", 0x36, nullptr, 4, 37},
    {".", ">", 0x37, nullptr, 4, 41},
    {"/", "?", 0x38, nullptr, 4, 45},
    {"Shift", nullptr, 0xE5, kSpecialKey, 4, 49, 11},
    {"^", nullptr, 0x52, kNavKey, 4, basekeys::N1, basekeys::NW},

    // Row 5.
    {"Ctrl", nullptr, 0xE0, kSpecialKey, 5, 0, 5},
    {"Win", nullptr, 0xE3, kSpecialKey, 5, 5, 5},
    {"Alt", nullptr, 0xE2, kSpecialKey, 5, 10, 5},
    {"Space", nullptr, 0x2C, kSpecialKey, 5, 15, 25},
    {"Alt", nullptr, 0xE6, kSpecialKey, 5, 40, 5},
    {"Win", nullptr, 0xE7, kSpecialKey, 5, 45, 5},
    {"Menu", nullptr, 0x65, kSpecialKey, 5, 50, 5},
    {"Ctrl", nullptr, 0xE4, kSpecialKey, 5, 55, 5},
    {"<", nullptr, 0x50, kNavKey, 5, basekeys::N0, basekeys::NW},
    {"v", nullptr, 0x51, kNavKey, 5, basekeys::N1, basekeys::NW},
    {">", nullptr, 0x4F, kNavKey, 5, basekeys::N2, basekeys::NW},

    // Keypad block: NumLock across the top in the function row (its legend
    // does not fit one key), the operators below it, + and Enter tall.
    {"NumLock", nullptr, 0x53, kNumpadKey, 0, basekeys::P0, 12 + basekeys::PW},
    {"/", nullptr, 0x54, kNumpadOperator, 1, basekeys::P0},
    {"*", nullptr, 0x55, kNumpadOperator, 1, basekeys::P1},
    {"+", nullptr, 0x57, kNumpadOperator, 1, basekeys::P3, basekeys::PW, 2},
    {"-", nullptr, 0x56, kNumpadOperator, 1, basekeys::P2},
    {"0", nullptr, 0x62, kNumpadKey, 5, basekeys::P0, 8},
    {"1", nullptr, 0x59, kNumpadKey, 4, basekeys::P0},
    {"2", nullptr, 0x5A, kNumpadKey, 4, basekeys::P1},
    {"3", nullptr, 0x5B, kNumpadKey, 4, basekeys::P2},
    {"4", nullptr, 0x5C, kNumpadKey, 3, basekeys::P0},
    {"5", nullptr, 0x5D, kNumpadKey, 3, basekeys::P1},
    {"6", nullptr, 0x5E, kNumpadKey, 3, basekeys::P2},
    {"7", nullptr, 0x5F, kNumpadKey, 2, basekeys::P0},
    {"8", nullptr, 0x60, kNumpadKey, 2, basekeys::P1},
    {"9", nullptr, 0x61, kNumpadKey, 2, basekeys::P2},
    {".", nullptr, 0x63, kNumpadKey, 5, basekeys::P2},
    {"Enter", nullptr, 0x58, kNumpadKey, 3, basekeys::P3, basekeys::PW, 3},
};

