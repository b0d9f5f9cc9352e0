#pragma once

#include "device/keypadfamily.h"
#include "legacy/legacydeviceinfo.h"

// The two older families share the legacy probe, reads and save; they differ
// in their records and in what those can hold.
class LegacyFamily : public KeypadFamily
{
public:
    LegacyFamily(int format, const KeypadCapabilities &capabilities);

    const char *name() const override;
    const KeypadCapabilities &capabilities() const override { return m_capabilities; }
    bool claims(const KeypadDescription &description) const override;
    // The probe runs again: the older keypads are read whole, never in parts.
    KeypadContents read(HIDManager &link) const override;
    SaveResult save(HIDManager &link, const KeypadDescription &description,
                    const SaveSnapshot &snapshot) const override;
    QVector<int> unwritableSlots(const KeypadDescription &description) const override;
    QByteArray descriptionBytes(const KeypadDescription &description) const override;

private:
    int m_format;
    KeypadCapabilities m_capabilities;
};

// What the two older families can hold, beside each other.
KeypadCapabilities legacyCapabilities(LightingKind lighting, DelayPage delayPage);

const KeypadFamily &r20WideKeypadFamily();
const KeypadFamily &oldKeypadFamily();
