#pragma once

#include <QPair>
#include <QString>
#include <cstdint>
#include <optional>

// Texts of key codes and actions. English only; the window translates.
QString modifierLabel(uint8_t usage);
QString keyLabel(uint8_t usage);
QString mediaLabel(uint16_t code);
// (long name, short form), or nothing for a code above 15.
std::optional<QPair<QString, QString>> mouseActionNames(uint8_t code);

inline bool isModifierUsage(uint8_t usage) { return usage >= 0xE0 && usage <= 0xE7; }
inline uint8_t modifierBit(uint8_t usage) { return uint8_t(1u << (usage - 0xE0)); }

// The separator between macro step names in the rich-text full text.
extern const char *const kMacroArrowSpan;
