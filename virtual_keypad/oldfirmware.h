#pragma once

// The "Old" family: 24 keys of (modifier mask, key) pairs with one delay, and
// one colour and effect per layer packed into a single byte. Firmware
// versions up to 9.

#include "legacyfirmware.h"

class OldFirmware : public LegacyFirmware
{
public:
    explicit OldFirmware(const Identity &identity = defaultIdentity());
    static Identity defaultIdentity() { return {16, 3, 9, 0}; }

    const char *family() const override { return "old"; }
    std::unique_ptr<VirtualFirmware> clone() const override
    {
        return std::make_unique<OldFirmware>(*this);
    }
    int keyCount() const override { return 24; }

protected:
    void alterRecord(Record &record) const override;
    int layerOfRead(const VirtualReport &request) const override;
    // The Old keypads have no lighting read.
    std::vector<VirtualReport> otherRead(const VirtualReport &) const override { return {}; }
    void writeLighting(const VirtualReport &request, Memory &memory) override;
};
