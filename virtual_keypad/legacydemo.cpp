#include "legacydemo.h"

#include "oldfirmware.h"
#include "r20widefirmware.h"

#include <initializer_list>
#include <memory>
#include <utility>

namespace {

using Record = LegacyFirmware::Record;
using Field = std::pair<int, uint8_t>; // report offset, value

// A key record from the report offsets it sets.
Record recordOf(std::initializer_list<Field> fields)
{
    Record record{};
    for (const Field &field : fields)
        record[field.first - LegacyFirmware::RecordOffset] = field.second;
    return record;
}

constexpr uint8_t UsageA = 0x04, UsageC = 0x06;
constexpr uint8_t VolumeUp = 0xE9, VolumeDown = 0xEA, Mute = 0xE2;

// R20Wide: entries (delay high, delay low, key) from offset 7; media at 9/12;
// mouse modifier 9, buttons 12, wheel 21.
Record r20Key(uint8_t usage) { return recordOf({{4, 1}, {5, 1}, {6, 1}, {9, usage}}); }
Record r20CtrlC() { return recordOf({{4, 1}, {5, 1}, {6, 2}, {9, 0xF1}, {11, 20}, {12, UsageC}}); }
Record r20Media(uint8_t code) { return recordOf({{4, 2}, {5, 1}, {6, 1}, {9, code}}); }
Record r20MouseLeft() { return recordOf({{4, 3}, {5, 1}, {6, 5}, {12, 1}}); }

// Old: delay 5/6, pair count 10, pairs (mask, key) from 11; media at 11/12;
// mouse modifier 11, buttons 12, wheel 15.
Record oldKey(uint8_t mask, uint8_t usage) { return recordOf({{4, 1}, {10, 1}, {11, mask}, {12, usage}}); }
Record oldMedia(uint8_t code) { return recordOf({{4, 2}, {10, 1}, {11, code}}); }
Record oldMouseLeft() { return recordOf({{4, 3}, {10, 3}, {12, 1}}); }

int plugLegacy(uint16_t vendorId, uint16_t productId, const wchar_t *product,
               std::unique_ptr<LegacyFirmware> firmware)
{
    VirtualKeypadConfig config;
    config.vendorId = vendorId;
    config.productId = productId;
    config.product = product;
    return VirtualKeypad::plug(config, std::move(firmware));
}

} // namespace

int installR20WideDemoKeypad()
{
    auto firmware = std::make_unique<R20WideFirmware>();
    firmware->setRecord(0, 1, r20Key(UsageA));
    firmware->setRecord(0, 2, r20CtrlC());
    firmware->setRecord(0, 3, r20Media(VolumeUp));
    firmware->setRecord(0, 4, r20MouseLeft());
    // The first knob: turn left, turn right, press (keys 17, 18, 19).
    firmware->setRecord(0, 17, r20Media(VolumeDown));
    firmware->setRecord(0, 18, r20Media(VolumeUp));
    firmware->setRecord(0, 19, r20Media(Mute));
    VirtualLighting blue;
    blue.effect = 2;
    blue.colors.fill(VirtualLighting::Rgb{0, 80, 255});
    firmware->setLighting(0, blue);
    return plugLegacy(0xF1C3, 0x8830, L"Zentrik R20Wide", std::move(firmware));
}

int installOldDemoKeypad()
{
    auto firmware = std::make_unique<OldFirmware>();
    firmware->setRecord(0, 1, oldKey(0, UsageA));
    firmware->setRecord(0, 2, oldKey(0x01, UsageC));
    firmware->setRecord(0, 3, oldMedia(VolumeUp));
    firmware->setRecord(0, 4, oldMouseLeft());
    // The first knob in the keypad's order: turn left, press, turn right.
    firmware->setRecord(0, 16, oldMedia(VolumeDown));
    firmware->setRecord(0, 17, oldMedia(Mute));
    firmware->setRecord(0, 18, oldMedia(VolumeUp));
    return plugLegacy(0xF1B2, 0x8842, L"Zentrik Old", std::move(firmware));
}
