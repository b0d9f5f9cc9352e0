#include "device/hidmanager.h"

#include "device/keydata.h"
#include "device/saveverification.h"
#include "model/logging.h"

#include <QThread>

namespace {

constexpr int kItemPauseMs = 10;

} // namespace

SaveSnapshot SaveSnapshot::of(SaveKind kind, const KeyLayers &layers, const LedLayers &lighting)
{
    SaveSnapshot snapshot;
    snapshot.kind = kind;
    for (int layer = 0; layer < kLayerCount && layer < layers.size(); ++layer) {
        const KeyLayer &layerKeys = layers[layer];
        for (int key = 0; key < kKeySlotCount && key < layerKeys.size(); ++key) {
            if (layerKeys[key].dirty)
                snapshot.keys.append(SavedKey{layer, key, layerKeys[key]});
        }
        if (kind == SaveKind::All && layer < lighting.size() && lighting[layer].isChanged())
            snapshot.lighting.append(SavedLighting{layer, lighting[layer]});
    }
    return snapshot;
}

namespace {


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
    readBack.sameLighting = [](const LedLayerConfig &sent, const LedLayerConfig &read) {
        return sent.sameLighting(read);
    };
    readBack.readFailure = [&manager] {
        return manager.handle.load() ? SaveFailure::NoAnswer : SaveFailure::Unplugged;
    };
    return readBack;
}

} // namespace

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
