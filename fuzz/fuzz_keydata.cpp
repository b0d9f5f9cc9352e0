// decodeKeyData takes the key data block of a keypad reply, which is untrusted.

#include "device/keydata.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<uint8_t> block = exactCopy(data, size);
    KeyConfig untouched;
    untouched.setSingleKey(0x04);
    untouched.dirty = 0;
    KeyConfig record = untouched;

    if (!decodeKeyData(block.data(), int(block.size()), record)) {
        // A refused block leaves the target as it was.
        FUZZ_REQUIRE(record.sameAssignment(untouched) && record.dirty == 0);
        return 0;
    }
    requireSoundRecord(record);
    FUZZ_REQUIRE(record.type != KeyTypeEmpty);
    FUZZ_REQUIRE(record.dirty == 1);

    // What was decoded travels back unchanged: the block written for the
    // record decodes to the same assignment.
    const QByteArray encoded = encodeKeyData(record);
    FUZZ_REQUIRE(!encoded.isEmpty());
    const std::vector<uint8_t> again(encoded.begin(), encoded.end());
    KeyConfig reread;
    FUZZ_REQUIRE(decodeKeyData(again.data(), int(again.size()), reread));
    FUZZ_REQUIRE(reread.sameAssignment(record));
    return 0;
}
