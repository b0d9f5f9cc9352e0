#include "device/saveverification.h"

#include "model/logging.h"

#include <QSet>

namespace {

QSet<int> layersOf(const QVector<SavedKey> &keys)
{
    QSet<int> layers;
    for (const SavedKey &item : keys)
        layers.insert(item.layer);
    return layers;
}

} // namespace

void verifySavedItems(SaveResult &result, const SaveReadBack &readBack)
{
    QVector<SavedKey> keptKeys;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        if (!layersOf(result.writtenKeys).contains(layer))
            continue;
        KeyLayer keys;
        const bool read = readBack.readKeys(layer, keys);
        if (!read)
            noteSaveFailure(result, readBack.readFailure());
        for (const SavedKey &item : result.writtenKeys) {
            if (item.layer != layer)
                continue;
            if (!read)
                continue;  // not known to be kept: stays marked
            if (item.key < keys.size() && readBack.sameKey(item.record, keys[item.key])) {
                keptKeys.append(item);
            } else {
                ++result.notKeptKeys;
                qCWarning(lcDevice).noquote() << "Save check: the keypad did not keep layer="
                                              << layer << "key=" << item.key;
            }
        }
    }

    QVector<SavedLighting> keptLighting;
    for (const SavedLighting &item : result.writtenLighting) {
        if (!readBack.readLighting) {
            keptLighting.append(item);
            ++result.uncheckedLighting;
            continue;
        }
        LedLayerConfig stored;
        if (!readBack.readLighting(item.layer, stored)) {
            noteSaveFailure(result, readBack.readFailure());
        } else if (readBack.sameLighting(item.record, stored)) {
            keptLighting.append(item);
        } else {
            ++result.notKeptLighting;
            qCWarning(lcDevice).noquote() << "Save check: the keypad did not keep the lighting of layer="
                                          << item.layer;
        }
    }

    if (result.notKeptKeys + result.notKeptLighting > 0)
        noteSaveFailure(result, SaveFailure::NotKept);
    if (keptKeys.size() != result.writtenKeys.size()
        || keptLighting.size() != result.writtenLighting.size())
        result.ok = false;
    result.writtenKeys = keptKeys;
    result.writtenLighting = keptLighting;
}
