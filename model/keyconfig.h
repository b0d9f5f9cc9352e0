#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

// One recorded key event of a macro; the same four bytes travel on the wire.
struct MacroStep {
    uint8_t action = 0;   // 0 press, 1 release
    uint8_t keycode = 0;  // HID keyboard usage
    uint16_t delay = 0;   // milliseconds before this step

    bool operator==(const MacroStep &o) const
    {
        return action == o.action && keycode == o.keycode && delay == o.delay;
    }
    bool operator!=(const MacroStep &o) const { return !(*this == o); }
};

// What one key slot does.
enum KeyType : uint8_t {
    KeyTypeSingle = 0,
    KeyTypeMacro = 1,
    KeyTypeMedia = 2,
    KeyTypeMouse = 3,
    KeyTypeCombination = 4,
    KeyTypeEmpty = 0xFF,
};

constexpr int kMaxMacroSteps = 64;
constexpr int kMaxCombinationKeys = 6;

// The assignment of one key slot (a key, or one direction of a knob): codes
// only; model/keytexts.h words it for each place that shows it.
struct KeyConfig {
    uint8_t type = KeyTypeEmpty;
    uint8_t dirty = 0;
    uint8_t keycode = 0;
    uint8_t modifiers = 0;  // bit i = usage 0xE0 + i
    QByteArray keycodes;    // non-modifier usages of a combination
    QVector<MacroStep> macroSteps;
    uint16_t mediaCode = 0;
    uint8_t mouseAction = 0;

    bool isEmpty() const { return type == KeyTypeEmpty; }

    void clear();
    void setSingleKey(uint8_t usage);
    void setCombination(uint8_t mask, const QByteArray &usages);
    void setMacro(const QVector<MacroStep> &steps);
    void setMedia(uint16_t code);
    void setMouseAction(uint8_t code);

    // Same assignment, ignoring the change mark.
    bool sameAssignment(const KeyConfig &o) const;
};
