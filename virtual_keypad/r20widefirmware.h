#pragma once

// The R20Wide family: 25 keys of up to 18 timed presses each, and full
// per-key lighting that can be read back. Firmware versions above 9.

#include "legacyfirmware.h"

class R20WideFirmware : public LegacyFirmware
{
public:
    explicit R20WideFirmware(const Identity &identity = defaultIdentity());
    static Identity defaultIdentity() { return {16, 3, 10, 0}; }

    const char *family() const override { return "r20wide"; }
    std::unique_ptr<VirtualFirmware> clone() const override
    {
        return std::make_unique<R20WideFirmware>(*this);
    }
    int keyCount() const override { return 25; }

protected:
    void alterRecord(Record &record) const override;
    int layerOfRead(const VirtualReport &request) const override;
    std::vector<VirtualReport> otherRead(const VirtualReport &request) const override;
    void writeLighting(const VirtualReport &request, Memory &memory) override;
};
