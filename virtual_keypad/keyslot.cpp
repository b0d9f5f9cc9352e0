// Value helpers of the control interface: key slots, lighting, models.

#include "virtualkeypad.h"

#include <algorithm>

int VirtualKeypadModel::slotCount() const
{
    return std::min(25, keyCount + 3 * encoderCount + extraKeyCount);
}

VirtualHidInterface VirtualHidInterface::vendor(int interfaceNumber)
{
    VirtualHidInterface itf;
    itf.usagePage = 0xFF00;
    itf.usage = 0x0001;
    itf.interfaceNumber = interfaceNumber;
    itf.speaksProtocol = true;
    return itf;
}

VirtualHidInterface VirtualHidInterface::keyboard(int interfaceNumber)
{
    VirtualHidInterface itf;
    itf.usagePage = 0x0001; // generic desktop
    itf.usage = 0x0006;     // keyboard
    itf.interfaceNumber = interfaceNumber;
    itf.speaksProtocol = false;
    return itf;
}

std::vector<uint8_t> VirtualKeySlot::block() const
{
    const std::size_t n = std::min<std::size_t>(payload.size(), 0xFFFF);
    std::vector<uint8_t> out;
    out.reserve(9 + n);
    out.resize(9, 0);
    out[0] = type;
    out[7] = uint8_t(n & 0xFF);
    out[8] = uint8_t(n >> 8);
    out.insert(out.end(), payload.begin(), payload.begin() + n);
    return out;
}

VirtualKeySlot VirtualKeySlot::singleKey(uint8_t keycode)
{
    return {0, {keycode}};
}

VirtualKeySlot VirtualKeySlot::macro(const std::vector<MacroStep> &steps)
{
    VirtualKeySlot slot{1, {uint8_t(steps.size())}};
    for (const MacroStep &step : steps) {
        slot.payload.push_back(step.action ? 1 : 0);
        slot.payload.push_back(step.keycode);
        slot.payload.push_back(uint8_t(step.delay & 0xFF));
        slot.payload.push_back(uint8_t(step.delay >> 8));
    }
    return slot;
}

VirtualKeySlot VirtualKeySlot::media(uint16_t consumerUsage)
{
    return {2, {uint8_t(consumerUsage & 0xFF), uint8_t(consumerUsage >> 8)}};
}

VirtualKeySlot VirtualKeySlot::mouse(uint8_t action)
{
    return {3, {action}};
}

VirtualKeySlot VirtualKeySlot::combination(uint8_t modifiers, const std::vector<uint8_t> &keycodes)
{
    const std::size_t count = std::min<std::size_t>(keycodes.size(), 6);
    VirtualKeySlot slot{4, {}};
    slot.payload.reserve(2 + count);
    slot.payload.push_back(modifiers);
    slot.payload.push_back(uint8_t(count));
    slot.payload.insert(slot.payload.end(), keycodes.begin(), keycodes.begin() + count);
    return slot;
}

std::array<VirtualLighting::Rgb, 16> VirtualLighting::defaultColors()
{
    std::array<Rgb, 16> colors;
    colors.fill(Rgb{255, 255, 0});
    return colors;
}
