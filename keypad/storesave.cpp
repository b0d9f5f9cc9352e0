#include "keypad/storesave.h"

#include "model/keyboarddata.h"

SaveSnapshot saveSnapshotOf(const KeyboardData &store, SaveKind kind)
{
    return SaveSnapshot::of(kind, store.layers(), store.ledLayers());
}

void applySaveResult(KeyboardData &store, const SaveResult &result)
{
    for (const SavedKey &item : result.writtenKeys)
        store.markKeySaved(item.layer, item.key, item.record);
    for (const SavedLighting &item : result.writtenLighting)
        store.markLightingSaved(item.layer, item.record);
}
