#include "model/labels.h"

#include <array>

const char *const kMacroArrowSpan =
    "<span style='color:#3296ff;font-weight:bold;'> &#x27A1; </span>";

namespace {

constexpr std::array<const char *, 8> kModifierNames = {
    "LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin",
};

// Labels of the usages 0x28..0x65 that are not letters, digits or F-keys;
// nullptr where the usage has no label of its own.
constexpr std::array<const char *, 0x66 - 0x28> kNamedKeys = {
    "Enter", "Esc", "Bksp", "Tab", "Space", "-", "=", "[", "]", "\\",  // 0x28..0x31
    nullptr, ";", "'", "`", ",", ".", "/", "Caps",                     // 0x32..0x39
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,              // 0x3A..0x3F F1..F6
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,              // 0x40..0x45 F7..F12
    "PrtSc", "ScrLk", "Pause", "Ins", "Home", "PgUp", "Del", "End",    // 0x46..0x4D
    "PgDn", "Right", "Left", "Down", "Up", "NumLk",                    // 0x4E..0x53
    "/", "*", "-", "+", "Enter",                                       // 0x54..0x58 keypad
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ".",             // 0x59..0x63 keypad
    nullptr, "Menu",                                                   // 0x64..0x65
};

struct MediaName {
    uint16_t code;
    const char *label;
};

constexpr std::array<MediaName, 21> kMediaNames = {{
    {0x006F, "Bright+"},    {0x0070, "Bright-"},     {0x00B5, "Next Track"},
    {0x00B6, "Prev Track"}, {0x00B7, "Stop"},        {0x00CD, "Play/Pause"},
    {0x00E2, "Mute"},       {0x00E9, "Vol+"},        {0x00EA, "Vol-"},
    {0x0152, "Bass+"},      {0x0153, "Bass-"},       {0x015C, "Treble+"},
    {0x015D, "Treble-"},    {0x0183, "Open Media"},  {0x018A, "Email"},
    {0x0192, "Calculator"}, {0x0194, "My Computer"}, {0x0196, "Browser"},
    {0x0224, "Back"},       {0x0225, "Forward"},     {0x0227, "Refresh"},
}};

struct MouseName {
    const char *longName;
    const char *shortForm;
};

constexpr std::array<MouseName, 16> kMouseNames = {{
    {"Mouse Left", "M-L"},        {"Mouse Right", "M-R"},
    {"Mouse Middle", "M-M"},      {"Mouse Wheel Up", "W+"},
    {"Mouse Wheel Down", "W-"},   {"Ctrl+Wheel Up", "C+W+"},
    {"Ctrl+Wheel Down", "C+W-"},  {"Shift+Wheel Up", "S+W+"},
    {"Shift+Wheel Down", "S+W-"}, {"Alt+Wheel Up", "A+W+"},
    {"Alt+Wheel Down", "A+W-"},   {"Left Swipe", "SW-L"},
    {"Right Swipe", "SW-R"},      {"Up Swipe", "SW-U"},
    {"Down Swipe", "SW-D"},       {"Like", "LIKE"},
}};

QString hexUsage(uint8_t usage)
{
    return QStringLiteral("0x%1").arg(usage, 2, 16, QLatin1Char('0'));
}

} // namespace

QString modifierLabel(uint8_t usage)
{
    if (isModifierUsage(usage))
        return QString::fromLatin1(kModifierNames[usage - 0xE0]);
    return hexUsage(usage);
}

QString keyLabel(uint8_t usage)
{
    if (usage >= 0x04 && usage <= 0x1D)
        return QString(QChar('A' + (usage - 0x04)));
    if (usage >= 0x1E && usage <= 0x26)
        return QString(QChar('1' + (usage - 0x1E)));
    if (usage == 0x27)
        return QStringLiteral("0");
    if (usage >= 0x3A && usage <= 0x45)
        return QStringLiteral("F%1").arg(usage - 0x3A + 1);
    if (usage >= 0x68 && usage <= 0x73)
        return QStringLiteral("F%1").arg(usage - 0x68 + 13);
    if (usage >= 0x28 && usage < 0x28 + int(kNamedKeys.size()) && kNamedKeys[usage - 0x28])
        return QString::fromLatin1(kNamedKeys[usage - 0x28]);
    if (usage == 0xCE)
        return QStringLiteral("PrtSc");
    if (usage == 0xCF)
        return QStringLiteral("ScrLk");
    if (isModifierUsage(usage))
        return modifierLabel(usage);
    return hexUsage(usage);
}

QString mediaLabel(uint16_t code)
{
    for (const MediaName &entry : kMediaNames)
        if (entry.code == code)
            return QString::fromLatin1(entry.label);
    return QStringLiteral("Media(0x%1)").arg(code, 4, 16, QLatin1Char('0'));
}

std::optional<QPair<QString, QString>> mouseActionNames(uint8_t code)
{
    if (code >= kMouseNames.size())
        return std::nullopt;
    const MouseName &names = kMouseNames[code];
    return qMakePair(QString::fromLatin1(names.longName), QString::fromLatin1(names.shortForm));
}
