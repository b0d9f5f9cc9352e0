#include "legacy/legacyfamily.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"

namespace {

KeypadCapabilities r20WideCapabilities()
{
    KeypadCapabilities capabilities = legacyCapabilities(LightingKind::R20Wide, DelayPage::R20Wide);
    // Its record is a list of timed presses; modifiers travel as codes of
    // their own, which a read turns back into modifiers.
    capabilities.record.form = PressRecord::TimedPresses;
    capabilities.record.maxPresses = kR20MaxEntries;
    capabilities.record.firstModifierAlias = kR20WideFirstModifierCode;
    capabilities.record.lastModifierAlias = kR20WideLastModifierCode;
    return capabilities;
}

} // namespace

const KeypadFamily &r20WideKeypadFamily()
{
    static const LegacyFamily family(LegacyFormatR20Wide, r20WideCapabilities());
    return family;
}
