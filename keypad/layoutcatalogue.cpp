#include "keypad/layoutcatalogue.h"

#include <QtGlobal>

namespace {

struct KnobEntry {
    int baseSlot;
    int partCount;
};

// Placement numbers of a picture, chosen so that every picture fits the
// panel at the design size with its keys and knobs in order.
struct LayoutEntry {
    const char *name;
    int rows;
    int columns;
    int keyCount;
    int keySize;
    int keySpacing;
    int knobPartSize;
    int knobPartGap;
    int knobGroupGap;
    int knobsPerRow;
    int extraTurnKnobs;
    bool topToBottom;
    int knobCount;
    KnobEntry knobs[3];
};

// name, rows, columns, keys, key size, key gap, knob part size, part gap,
// knob gap, knobs per row, turn-only knobs, keys above knobs, knobs.
constexpr LayoutEntry kCatalogue[kLayoutCount] = {
    {"Layout_16K_3E_P0_S0", 4, 4, 16, 80, 8, 80, 6, 20, 1, 0, false,
     3, {{16, 3}, {19, 3}, {22, 3}}},
    {"Layout_16K_3E_P0_S1", 1, 4, 4, 109, 4, 56, 6, 12, 1, 0, false,
     3, {{16, 3}, {19, 3}, {22, 3}}},
    {"Layout_16K_3E_P0_S2", 1, 1, 0, 80, 8, 100, 8, 30, 1, 0, true, 2, {{16, 3}, {19, 3}}},
    {"Layout_16K_3E_P0_S3", 1, 1, 0, 80, 8, 96, 8, 20, 1, 0, true,
     3, {{16, 3}, {19, 3}, {22, 3}}},
    {"Layout_6K_1E_P0_S0", 2, 3, 6, 82, 8, 82, 6, 20, 1, 0, false, 1, {{6, 3}}},
    {"Layout_6K_0E_P0_S0", 2, 3, 6, 98, 8, 80, 6, 20, 1, 0, false, 0, {}},
    {"Layout_1K_0E_P0_S0", 1, 1, 1, 197, 8, 80, 6, 20, 1, 0, false, 0, {}},
    {"Layout_0K_1E_P0_S0", 1, 1, 0, 80, 8, 100, 10, 10, 1, 0, false, 1, {{0, 5}}},
    {"Layout_0K_1E_P1_S1", 1, 1, 0, 80, 8, 100, 10, 10, 1, 0, false, 1, {{0, 5}}},
    // The two knobs of this pad only turn; they sit in slots 5 to 8.
    {"Layout_5K_2E_P0_S0", 3, 3, 5, 72, 8, 72, 6, 16, 1, 2, false, 0, {}},
};

// What a keypad of the current family reports, and the picture it gets.
struct DeviceRow {
    int keyCount;
    int encoderCount;
    int layoutP;
    int layoutS;
    int id;
};

constexpr DeviceRow kDeviceRows[] = {
    {16, 3, 0, 0, Layout16K3E_S0}, {16, 3, 0, 1, Layout16K3E_S1}, {16, 3, 0, 2, Layout16K3E_S2},
    {16, 3, 0, 3, Layout16K3E_S3}, {6, 1, 0, 0, Layout6K1E},      {6, 0, 0, 0, Layout6K0E},
    {1, 0, 0, 0, Layout1K0E},      {0, 1, 0, 0, Layout0K1E},      {0, 1, 1, 1, Layout0K1E_P1S1},
    {5, 2, 0, 0, Layout5K2E},
};

// The older families report no layout bytes; their key and knob counts
// alone name the picture.
struct LegacyPair {
    int keyCount;
    int encoderCount;
    int id;
};

constexpr LegacyPair kLegacyPairs[] = {
    {1, 0, Layout1K0E},
    {0, 3, Layout16K3E_S3},
    {0, 2, Layout16K3E_S2},
    {4, 3, Layout16K3E_S1},
};

constexpr int kPresetLayouts[] = {
    Layout16K3E_S0, // Preset16K3E
    Layout6K1E,     // Preset6K1E
    Layout0K1E,     // Preset0K1E
    Layout5K2E,     // Preset5K2E
    Layout1K0E,     // Preset1K0E
};

constexpr int kPresetCount = int(sizeof(kPresetLayouts) / sizeof(kPresetLayouts[0]));

} // namespace

int LayoutSpec::usedRows() const
{
    if (keyCount <= 0 || columns <= 0)
        return 0;
    const int shown = qMin(keyCount, rows * columns);
    return (shown + columns - 1) / columns;
}

LayoutSpec layoutById(int id)
{
    if (id < 0 || id >= kLayoutCount)
        id = Layout16K3E_S0;
    const LayoutEntry &entry = kCatalogue[id];
    LayoutSpec layoutSpec;
    layoutSpec.id = id;
    layoutSpec.name = QString::fromLatin1(entry.name);
    layoutSpec.rows = entry.rows;
    layoutSpec.columns = entry.columns;
    layoutSpec.keyCount = entry.keyCount;
    layoutSpec.keySize = entry.keySize;
    layoutSpec.keySpacing = entry.keySpacing;
    layoutSpec.knobPartSize = entry.knobPartSize;
    layoutSpec.knobPartGap = entry.knobPartGap;
    layoutSpec.knobGroupGap = entry.knobGroupGap;
    layoutSpec.knobsPerRow = entry.knobsPerRow;
    layoutSpec.extraTurnKnobs = entry.extraTurnKnobs;
    layoutSpec.topToBottom = entry.topToBottom;
    for (int i = 0; i < entry.knobCount; ++i)
        layoutSpec.knobs.append(KnobSpec{entry.knobs[i].baseSlot, entry.knobs[i].partCount});
    return layoutSpec;
}

LayoutSpec layoutForPreset(int preset)
{
    if (preset < 0 || preset >= kPresetCount)
        return layoutById(Layout16K3E_S0);
    return layoutById(kPresetLayouts[preset]);
}

int layoutIdForDevice(const DeviceInfo &info, bool layoutFromCounts)
{
    if (layoutFromCounts) {
        for (const LegacyPair &pair : kLegacyPairs)
            if (info.keyCount == pair.keyCount && info.encoderCount == pair.encoderCount)
                return pair.id;
    }
    if (!info.valid)
        return Layout16K3E_S0;
    for (const DeviceRow &row : kDeviceRows)
        if (info.keyCount == row.keyCount && info.encoderCount == row.encoderCount
            && info.layoutP == row.layoutP && info.layoutS == row.layoutS)
            return row.id;
    return Layout16K3E_S0;
}

LayoutSpec layoutForDevice(const DeviceInfo &info, bool layoutFromCounts)
{
    return layoutById(layoutIdForDevice(info, layoutFromCounts));
}
