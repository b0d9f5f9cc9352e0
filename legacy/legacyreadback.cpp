#include "legacy/legacyreadback.h"

#include "legacy/legacyread.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacyreport.h"

#include <memory>

SaveReadBack legacyReadBack(hid_device *device, const LegacyDeviceInfo &info)
{
    SaveReadBack readBack;
    readBack.readKeys = [device, info](int layer, KeyLayer &keys) {
        legacyFlushInput(device);
        return legacyReadLayer(device, info, layer, keys);
    };
    if (info.format == LegacyFormatR20Wide) {
        // The keypad answers lighting for all its layers in one pass; it is
        // read once, at the first record checked.
        struct StoredLighting {
            bool read = false;
            bool ok = false;
            LedLayers layers;
        };
        auto stored = std::make_shared<StoredLighting>();
        readBack.readLighting = [device, info, stored](int layer, LedLayerConfig &lighting) {
            if (!stored->read) {
                stored->read = true;
                stored->ok = legacyReadLighting(device, info, stored->layers);
            }
            if (!stored->ok || layer < 0 || layer >= stored->layers.size())
                return false;
            lighting = stored->layers[layer];
            return true;
        };
    }
    // A family keeps less than a record can say (a press without its delay,
    // one modifier mask): the record read back is compared with what the
    // keypad gives back for the report that was sent.
    const int format = info.format;
    readBack.sameKey = [format](const KeyConfig &sent, const KeyConfig &read) {
        LegacyReport report{};
        if (!legacyEncode(format, sent, report))
            return false;
        KeyConfig expected;
        legacyDecode(format, report.data(), int(report.size()), expected);
        return expected.sameAssignment(read);
    };
    readBack.sameLighting = [](const LedLayerConfig &sent, const LedLayerConfig &read) {
        return sent.sameLighting(read);
    };
    readBack.readFailure = [] { return SaveFailure::NoAnswer; };
    return readBack;
}
