#include "legacy/legacyfamily.h"
#include "legacy/legacytables.h"

namespace {

KeypadCapabilities oldCapabilities()
{
    KeypadCapabilities capabilities = legacyCapabilities(LightingKind::Old, DelayPage::Old);
    // Its mouse records have no gestures.
    capabilities.mouseGestures = false;
    // It answers no lighting read, and its lighting byte holds effects 0..5.
    capabilities.lightingReadBack = false;
    capabilities.maxEffect = kOldMaxEffect;
    return capabilities;
}

} // namespace

const KeypadFamily &oldKeypadFamily()
{
    static const LegacyFamily family(LegacyFormatOld, oldCapabilities());
    return family;
}
