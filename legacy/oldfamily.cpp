#include "legacy/legacyfamily.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"

namespace {

KeypadCapabilities oldCapabilities()
{
    KeypadCapabilities capabilities = legacyCapabilities(LightingKind::Old, DelayPage::Old);
    // Its mouse records have no gestures.
    capabilities.mouseGestures = false;
    capabilities.record.lastMouseAction = kLegacyGestureBase;
    // It answers no lighting read, and its lighting byte holds effects 0..5.
    capabilities.lightingReadBack = false;
    capabilities.maxEffect = kOldMaxEffect;
    // Its record holds modifiers down over its keys, with one delay.
    capabilities.record.form = PressRecord::HeldPresses;
    capabilities.record.maxPresses = kOldMaxWritePairs;
    return capabilities;
}

} // namespace

const KeypadFamily &oldKeypadFamily()
{
    static const LegacyFamily family(LegacyFormatOld, oldCapabilities());
    return family;
}
