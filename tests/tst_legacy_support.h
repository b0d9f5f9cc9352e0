#pragma once

// Shared by the legacy test suites: a legacy keypad on the virtual bus with an
// open handle.

#include "legacy/legacydeviceinfo.h"
#include "tst_log_capture.h"
#include "virtual_keypad/legacyfirmware.h"
#include "virtual_keypad/oldfirmware.h"
#include "virtual_keypad/r20widefirmware.h"
#include "virtual_keypad/virtualkeypad.h"

#include <QtTest>

#include <functional>
#include <hidapi/hidapi.h>
#include <memory>

namespace legacytest {

enum class Family { R20Wide, Old };

// One legacy keypad plugged in and opened, answering within a millisecond.
class LegacyKeypad
{
public:
    explicit LegacyKeypad(Family family)
        : LegacyKeypad(family, family == Family::R20Wide ? R20WideFirmware::defaultIdentity()
                                                          : OldFirmware::defaultIdentity())
    {
    }
    LegacyKeypad(Family family, const LegacyFirmware::Identity &identity)
    {
        VirtualKeypad::reset();
        std::unique_ptr<LegacyFirmware> firmware;
        if (family == Family::R20Wide)
            firmware = std::make_unique<R20WideFirmware>(identity);
        else
            firmware = std::make_unique<OldFirmware>(identity);
        id = VirtualKeypad::plug(VirtualKeypadConfig(), std::move(firmware));
        VirtualKeypad::setReplyLatency(std::chrono::microseconds(200), id);
        handle = hid_open_path(VirtualKeypad::paths(id).front().c_str());
        info.valid = 1;
        info.format = family == Family::R20Wide ? LegacyFormatR20Wide : LegacyFormatOld;
    }
    ~LegacyKeypad()
    {
        if (handle)
            hid_close(handle);
        VirtualKeypad::reset();
    }

    // Runs `fn` on the keypad's firmware under the bus lock.
    void withFirmware(const std::function<void(LegacyFirmware &)> &fn) const
    {
        VirtualKeypad::withFirmware(id, [&fn](VirtualFirmware &firmware) {
            fn(dynamic_cast<LegacyFirmware &>(firmware));
        });
    }
    LegacyFirmware::Record record(int layer, int wireKey) const
    {
        LegacyFirmware::Record out{};
        withFirmware([&](LegacyFirmware &f) { out = f.record(layer, wireKey); });
        return out;
    }
    void setRecord(int layer, int wireKey, const LegacyFirmware::Record &record) const
    {
        withFirmware([&](LegacyFirmware &f) { f.setRecord(layer, wireKey, record); });
    }
    int commitCount() const
    {
        int count = 0;
        withFirmware([&](LegacyFirmware &f) { count = f.commitCount(); });
        return count;
    }
    std::vector<std::vector<uint8_t>> written() const { return VirtualKeypad::writtenReports(id); }

    int id = 0;
    hid_device *handle = nullptr;
    LegacyDeviceInfo info; // as a probe would give it
};

// A record from (report offset, value) pairs.
inline LegacyFirmware::Record recordOf(std::initializer_list<std::pair<int, uint8_t>> fields)
{
    LegacyFirmware::Record record{};
    for (const auto &field : fields)
        record[field.first - LegacyFirmware::RecordOffset] = field.second;
    return record;
}

// A 65-byte report holding `record` from byte 4, as the keypad answers.
inline std::vector<uint8_t> answerOf(const LegacyFirmware::Record &record)
{
    std::vector<uint8_t> report(65, 0);
    report[0] = 0x03;
    report[1] = 0xFA;
    std::copy(record.begin(), record.end(), report.begin() + LegacyFirmware::RecordOffset);
    return report;
}

} // namespace legacytest
