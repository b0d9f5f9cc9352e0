// The R20Wide decoder takes one answer of a legacy layer read as it came in.

#include "fuzzsupport.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacytables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<uint8_t> report = exactCopy(data, size);
    KeyConfig key;
    legacyDecodeR20Wide(report.data(), int(report.size()), key);
    requireSoundRecord(key);
    if (key.type == KeyTypeMouse)
        FUZZ_REQUIRE(key.mouseAction <= kLegacyLastGesture);
    return 0;
}
