#pragma once

#include "app/devicestate.h"
#include "model/keypadfile.h"
#include "model/keylayers.h"

#include <QString>
#include <array>
#include <optional>

// What each of the 25 key slots is on a keypad: key N, a part of knob N, or
// extra N. The current family numbers its slots as its description counts
// them (keys, three per knob, extra keys); the older families keep sixteen
// keys, then three knobs.
class KeypadRoles
{
public:
    explicit KeypadRoles(const DeviceState &state);

    std::optional<ControlRole> roleOf(int slot) const;
    // The slot of a role, or -1 when the keypad has no such control.
    int slotOf(const ControlRole &role) const;
    // Layers the keypad keeps.
    int layerCount() const { return m_layerCount; }

private:
    std::array<std::optional<ControlRole>, kKeySlotCount> m_roles{};
    int m_layerCount = kLayerCount;
};

// Whether the keypad can keep this assignment exactly as it is; an "Old"
// keypad, say, keeps no recorded macro.
bool keypadHolds(const DeviceState &state, const KeyConfig &record);

// The name the window shows for a control with a function text: "Key 3: A".
QString controlText(const ControlRole &role, const QString &function);
