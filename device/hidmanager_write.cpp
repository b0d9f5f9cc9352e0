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

} // namespace

bool HIDManager::sendWriteKey(int layer, int key, const KeyConfig &record)
{
    if (key < 0 || key >= keySlotCount()) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip key outside current model" << key;
        return true;
    }
    switch (record.type) {
    case KeyTypeSingle:
    case KeyTypeMedia:
    case KeyTypeMouse:
    case KeyTypeCombination:
        break;
    default:
        qCDebug(lcDevice).noquote() << "HIDManager: sendWriteKey bad type";
        return false;
    }
    const QByteArray payload = encodeKeyPayload(record);
    if (payload.size() > kMaxKeyPayload)
        return false;
    const QByteArray block = encodeKeyData(record);
    const Packet packet = buildWriteKeyPacket(uint8_t(layer), uint8_t(key), block);
    return sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key), 0, true, isFinalKeyStatus)
        == WriteOutcome::Acknowledged;
}

bool HIDManager::sendWriteMacro(int layer, int key, const KeyConfig &record)
{
    if (key < 0 || key >= keySlotCount()) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip macro outside current model" << key;
        return true;
    }
    const int steps = record.macroSteps.size();
    if (steps == 0 || steps > kMaxMacroSteps) {
        qCDebug(lcDevice).noquote() << "HIDManager: sendWriteMacro bad step count" << steps;
        return false;
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
        const WriteOutcome outcome = sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key),
                                                   uint8_t(i), true, isFinalChunkStatus);
        if (outcome == WriteOutcome::Refused)
            return false;
        if (outcome == WriteOutcome::Failed) {
            qCDebug(lcDevice).noquote() << "HIDManager: sendWriteMacro pkt" << i << "failed";
            return false;
        }
        QThread::msleep(kChunkPauseMs);
    }
    return true;
}

bool HIDManager::sendClearKey(int layer, int key)
{
    if (key < 0 || key >= keySlotCount()) {
        qCDebug(lcDevice).noquote() << "HIDManager: skip clear outside current model" << key;
        return true;
    }
    const Packet packet = buildClearKeyPacket(uint8_t(layer), uint8_t(key));
    return sendWithRetry(packet.data(), uint8_t(layer), uint8_t(key), 0, false, nullptr)
        == WriteOutcome::Acknowledged;
}

bool HIDManager::sendWriteLedLayer(int layer, const LedLayerConfig &lighting)
{
    const Packet packet = buildLightingPacket(uint8_t(layer), lighting);
    return sendWithRetry(packet.data(), uint8_t(layer), kLightingKey, 0, false, nullptr)
        == WriteOutcome::Acknowledged;
}

bool HIDManager::writeRecord(int layer, int key, const KeyConfig &record)
{
    switch (record.type) {
    case KeyTypeEmpty:
        return sendClearKey(layer, key);
    case KeyTypeMacro:
        return sendWriteMacro(layer, key, record);
    default:
        return sendWriteKey(layer, key, record);
    }
}
