#include "pages/basekeynames.h"

#include "pages/pagebutton.h"
#include "model/translation.h"

namespace {

struct SpokenKey {
    uint8_t usage;
    const char *name;
};

// Keys whose legend is shared with another key, or is a drawing.
constexpr SpokenKey kSpokenKeys[] = {
    {0x29, "Esc"},
    {0xE0, "Left Ctrl"},   {0xE1, "Left Shift"},  {0xE2, "Left Alt"},  {0xE3, "Left Win"},
    {0xE4, "Right Ctrl"},  {0xE5, "Right Shift"}, {0xE6, "Right Alt"}, {0xE7, "Right Win"},
    {0x52, "Up Arrow"},    {0x51, "Down Arrow"},  {0x50, "Left Arrow"}, {0x4F, "Right Arrow"},
    {0x53, "Num Lock"},    {0x58, "Keypad Enter"},
};

// The numeric keypad's keys 0x54..0x63 repeat legends of the main block.
constexpr uint8_t kFirstKeypadUsage = 0x54;
constexpr uint8_t kLastKeypadUsage = 0x63;

} // namespace

QString baseKeySpokenName(uint8_t usage, const char *label)
{
    for (const SpokenKey &key : kSpokenKeys)
        if (key.usage == usage)
            return spokenLabel(key.name);
    if (usage >= kFirstKeypadUsage && usage <= kLastKeypadUsage)
        return translateText(QStringLiteral("Keypad %1")).arg(QString::fromUtf8(label));
    return spokenLabel(label);
}
