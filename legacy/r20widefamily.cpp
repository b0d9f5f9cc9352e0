#include "legacy/legacyfamily.h"

const KeypadFamily &r20WideKeypadFamily()
{
    static const LegacyFamily family(LegacyFormatR20Wide,
                                     legacyCapabilities(LightingKind::R20Wide, DelayPage::R20Wide));
    return family;
}
