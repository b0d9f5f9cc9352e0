#include "legacy/legacyfamily.h"

namespace {

KeypadCapabilities oldCapabilities()
{
    KeypadCapabilities capabilities = legacyCapabilities(LightingKind::Old, DelayPage::Old);
    // Its mouse records have no gestures.
    capabilities.mouseGestures = false;
    return capabilities;
}

} // namespace

const KeypadFamily &oldKeypadFamily()
{
    static const LegacyFamily family(LegacyFormatOld, oldCapabilities());
    return family;
}
