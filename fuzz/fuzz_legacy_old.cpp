// The Old-family decoder takes one answer of a legacy layer read as it came in.

#include "fuzzsupport.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<uint8_t> report = exactCopy(data, size);
    KeyConfig key;
    legacyDecodeOld(report.data(), int(report.size()), key);
    requireSoundRecord(key);
    // The Old family has pointer actions only, no gestures.
    if (key.type == KeyTypeMouse)
        FUZZ_REQUIRE(key.mouseAction <= kLegacyGestureBase);
    return 0;
}
