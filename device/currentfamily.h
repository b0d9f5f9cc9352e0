#pragma once

#include "device/keypadfamily.h"

// The keypads of the current packet protocol: they describe themselves, keep
// four layers, macros, and a colour per key with an effect per layer.
class CurrentFamily : public KeypadFamily
{
public:
    const char *name() const override { return "current"; }
    const KeypadCapabilities &capabilities() const override;
    bool claims(const KeypadDescription &description) const override;
    KeypadContents read(HIDManager &link) const override;
    SaveResult save(HIDManager &link, const KeypadDescription &description,
                    const SaveSnapshot &snapshot) const override;
    QVector<int> unwritableSlots(const KeypadDescription &description) const override;
    QByteArray descriptionBytes(const KeypadDescription &description) const override;
};
