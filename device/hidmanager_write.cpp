#include "device/hidmanager.h"

#include "device/keydata.h"
#include "device/packet.h"
#include "model/logging.h"

#include <QThread>

namespace {

constexpr int kChunkPauseMs = 5;

// The keypad refuses a key for good with status 4, a macro chunk with 2 or 4.
bool isFinalKeyStatus(uint8_t status)
{
    return status == 4;
}

bool isFinalChunkStatus(uint8_t status)
{
    return status == 2 || status == 4;
}

bool keyInModel(int key, int slotCount)
{
    return key >= 0 && key < slotCount;
}

} // namespace

bool HIDManager::sendWriteKey(int layer, int key, const KeyConfig &record)
{
    if (!keyInModel(key, keySlotCount())) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip key outside current model" << key;
        return true;
    }
    return writeKeyItem(layer, key, record) == SaveFailure::None;
}

bool HIDManager::sendWriteMacro(int layer, int key, const KeyConfig &record)
{
    if (!keyInModel(key, keySlotCount())) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip macro outside current model" << key;
        return true;
    }
    return writeMacroItem(layer, key, record) == SaveFailure::None;
}

bool HIDManager::sendClearKey(int layer, int key)
{
    if (!keyInModel(key, keySlotCount())) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip clear outside current model" << key;
        return true;
    }
    return clearKeyItem(layer, key) == SaveFailure::None;
}

bool HIDManager::sendWriteLedLayer(int layer, const LedLayerConfig &lighting)
{
    return writeLightingItem(layer, lighting) == SaveFailure::None;
}

SaveFailure HIDManager::writeKeyItem(int layer, int key, const KeyConfig &record)
{
    switch (record.type) {
    case KeyTypeSingle:
    case KeyTypeMedia:
    case KeyTypeMouse:
    case KeyTypeCombination:
        break;
    default:
        qCWarning(lcDevice).noquote() << "HIDManager: sendWriteKey bad type";
        return SaveFailure::CannotEncode;
    }
    const QByteArray payload = encodeKeyPayload(record);
    if (payload.size() > kMaxKeyPayload)
        return SaveFailure::CannotEncode;
    const QByteArray block = encodeKeyData(record);
    const Packet packet = buildWriteKeyPacket(uint8_t(layer), uint8_t(key), block);
    SaveFailure failure = SaveFailure::None;
    if (sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key), 0, true, isFinalKeyStatus,
                      &failure)
        == WriteOutcome::Acknowledged)
        return SaveFailure::None;
    return failure;
}

SaveFailure HIDManager::writeMacroItem(int layer, int key, const KeyConfig &record)
{
    const int steps = record.macroSteps.size();
    if (steps == 0 || steps > kMaxMacroSteps) {
        qCWarning(lcDevice).noquote() << "HIDManager: sendWriteMacro bad step count" << steps;
        return SaveFailure::CannotEncode;
    }
    KeyConfig macro = record;
    macro.type = KeyTypeMacro;
    const QVector<QByteArray> chunks = splitMacroBlock(encodeKeyData(macro));
    const int count = chunks.size();
    qCDebug(lcDevice).noquote() << "HIDManager: sendWriteMacro layer=" << layer << "key=" << key
                                << "steps=" << steps << "pkts=" << count;

    for (int i = 0; i < count; ++i) {
        const Packet packet = buildMacroChunkPacket(uint8_t(layer), uint8_t(key), uint8_t(i),
                                                    uint8_t(count), chunks[i]);
        SaveFailure failure = SaveFailure::None;
        const WriteOutcome outcome = sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key),
                                                   uint8_t(i), true, isFinalChunkStatus, &failure);
        if (outcome == WriteOutcome::Refused)
            return failure;
        if (outcome == WriteOutcome::Failed) {
            qCWarning(lcDevice).noquote() << "HIDManager: sendWriteMacro pkt" << i << "failed";
            return failure;
        }
        QThread::msleep(kChunkPauseMs);
    }
    return SaveFailure::None;
}

SaveFailure HIDManager::clearKeyItem(int layer, int key)
{
    const Packet packet = buildClearKeyPacket(uint8_t(layer), uint8_t(key));
    SaveFailure failure = SaveFailure::None;
    if (sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key), 0, false, nullptr, &failure)
        == WriteOutcome::Acknowledged)
        return SaveFailure::None;
    return failure;
}

SaveFailure HIDManager::writeLightingItem(int layer, const LedLayerConfig &lighting)
{
    const Packet packet = buildLightingPacket(uint8_t(layer), lighting);
    SaveFailure failure = SaveFailure::None;
    if (sendWithRetry(packet.data(), uint8_t(layer), kLightingKey, 0, false, nullptr, &failure)
        == WriteOutcome::Acknowledged)
        return SaveFailure::None;
    return failure;
}

SaveFailure HIDManager::writeRecord(int layer, int key, const KeyConfig &record)
{
    if (!keyInModel(key, keySlotCount())) {
        // The keypad did not report this slot: nothing is sent, and the
        // change stays marked rather than pass for saved.
        const char *line = record.type == KeyTypeEmpty ? "HIDManager: skip clear outside current model"
                         : record.type == KeyTypeMacro ? "HIDManager: skip macro outside current model"
                                                       : "HIDManager: skip key outside current model";
        qCWarning(lcDevice).noquote() << line << key;
        return SaveFailure::NotOnKeypad;
    }
    switch (record.type) {
    case KeyTypeEmpty:
        return clearKeyItem(layer, key);
    case KeyTypeMacro:
        return writeMacroItem(layer, key, record);
    default:
        return writeKeyItem(layer, key, record);
    }
}
