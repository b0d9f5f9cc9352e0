#include "device/hidmanager.h"

#include "device/keydata.h"
#include "device/saveverification.h"
#include "model/logging.h"

#include <QThread>

namespace {

constexpr int kItemPauseMs = 10;

SaveSnapshot takeSnapshot(const KeyboardData &store, SaveKind kind)
{
    SaveSnapshot snapshot;
    snapshot.kind = kind;
    for (int layer = 0; layer < kLayerCount && layer < store.layers.size(); ++layer) {
        const KeyLayer &layerKeys = store.layers[layer];
        for (int key = 0; key < kKeySlotCount && key < layerKeys.size(); ++key) {
            if (layerKeys[key].dirty)
                snapshot.keys.append(SavedKey{layer, key, layerKeys[key]});
        }
        if (kind == SaveKind::All && layer < store.ledLayers.size()
            && store.ledLayers[layer].isChanged())
            snapshot.lighting.append(SavedLighting{layer, store.ledLayers[layer]});
    }
    return snapshot;
}

bool sameLighting(const LedLayerConfig &a, const LedLayerConfig &b)
{
    return a.effect == b.effect && a.colors == b.colors;
}

// Reads back through the current protocol's layer and lighting reads.
SaveReadBack readBackThrough(HIDManager &manager)
{
    SaveReadBack readBack;
    readBack.readKeys = [&manager](int layer, KeyLayer &keys) {
        manager.flushInput();
        return manager.readLayer(layer, keys);
    };
    readBack.readLighting = [&manager](int layer, LedLayerConfig &lighting) {
        manager.flushInput();
        return manager.sendReadLedLayer(layer, lighting);
    };
    // As the keypad stores them: the blocks that travel (texts and the
    // modifiers of a single key never do).
    readBack.sameKey = [](const KeyConfig &sent, const KeyConfig &read) {
        return encodeKeyData(sent) == encodeKeyData(read);
    };
    readBack.sameLighting = sameLighting;
    readBack.readFailure = [&manager] {
        return manager.handle.load() ? SaveFailure::NoAnswer : SaveFailure::Unplugged;
    };
    return readBack;
}

} // namespace

SaveSnapshot SaveSnapshot::ofAll(const KeyboardData &store)
{
    return takeSnapshot(store, SaveKind::All);
}

SaveSnapshot SaveSnapshot::ofKeys(const KeyboardData &store)
{
    return takeSnapshot(store, SaveKind::KeysOnly);
}

SaveResult HIDManager::saveSnapshot(const SaveSnapshot &snapshot)
{
    SaveResult result;
    if (!handle.load())
        return result;
    DeviceSession session(*this);
    result.started = true;

    const bool keysOnly = snapshot.kind == SaveKind::KeysOnly;
    const int total = snapshot.keys.size() + (keysOnly ? 0 : snapshot.lighting.size());
    if (total == 0) {
        if (keysOnly)
            qCDebug(lcDevice).noquote() << "HIDManager: nothing to save";
        session.clearBusy();
        result.ok = true;
        emit operationFinished(true, QStringLiteral("Nothing to save"));
        return result;
    }

    int index = 0;
    bool ok = true;
    int nextKey = 0;
    int nextLighting = 0;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (; nextKey < snapshot.keys.size() && snapshot.keys[nextKey].layer == layer; ++nextKey) {
            const SavedKey &item = snapshot.keys[nextKey];
            emit progressUpdated(index, total, QStringLiteral("Saving key L%1 K%2...")
                                                   .arg(layer + 1)
                                                   .arg(item.key));
            flushInput();
            const SaveFailure failure = writeRecord(layer, item.key, item.record);
            const bool written = failure == SaveFailure::None;
            if (written)
                result.writtenKeys.append(item);
            else
                ok = false;
            noteSaveFailure(result, failure);
            if (keysOnly) {
                qCDebug(lcDevice).noquote()
                    << (written ? "HIDManager: saved layer=" : "HIDManager: FAILED layer=")
                    << layer << "key=" << item.key;
            }
            ++index;
            QThread::msleep(kItemPauseMs);
        }
        if (keysOnly)
            continue;
        for (; nextLighting < snapshot.lighting.size()
               && snapshot.lighting[nextLighting].layer == layer;
             ++nextLighting) {
            const SavedLighting &item = snapshot.lighting[nextLighting];
            emit progressUpdated(index, total,
                                 QStringLiteral("Saving RGB layer %1...").arg(layer + 1));
            flushInput();
            const SaveFailure failure = writeLightingItem(layer, item.record);
            if (failure == SaveFailure::None)
                result.writtenLighting.append(item);
            else
                ok = false;
            noteSaveFailure(result, failure);
            ++index;
            QThread::msleep(kItemPauseMs);
        }
    }

    result.ok = ok;
    if (!result.writtenKeys.isEmpty() || !result.writtenLighting.isEmpty()) {
        verifySavedItems(result, readBackThrough(*this));
        ok = result.ok;
    }
    session.clearBusy();
    const QString message = ok ? QStringLiteral("Save completed")
                          : keysOnly ? QStringLiteral("Some keys failed to save, please retry")
                                     : QStringLiteral("Some items failed to save, please retry");
    emit operationFinished(ok, message);
    return result;
}

void HIDManager::applySaveResult(KeyboardData &store, const SaveResult &result)
{
    // The store may have changed while the save ran: a mark is cleared only
    // where the slot still holds what reached the keypad.
    for (const SavedKey &item : result.writtenKeys) {
        if (item.layer < 0 || item.layer >= store.layers.size() || item.key < 0
            || item.key >= store.layers[item.layer].size())
            continue;
        KeyConfig &slot = store.layers[item.layer][item.key];
        if (slot.sameAssignment(item.record))
            slot.dirty = 0;
    }
    for (const SavedLighting &item : result.writtenLighting) {
        if (item.layer < 0 || item.layer >= store.ledLayers.size())
            continue;
        LedLayerConfig &record = store.ledLayers[item.layer];
        if (sameLighting(record, item.record))
            record.clearMarks();
    }
}

bool HIDManager::saveAll(KeyboardData &store)
{
    const SaveResult result = saveSnapshot(SaveSnapshot::ofAll(store));
    applySaveResult(store, result);
    return result.started && result.ok;
}

bool HIDManager::saveKeys(KeyboardData &store)
{
    const SaveResult result = saveSnapshot(SaveSnapshot::ofKeys(store));
    applySaveResult(store, result);
    return result.started && result.ok;
}
