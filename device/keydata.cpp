#include "device/keydata.h"

#include "device/packet.h"

#include <algorithm>

namespace {

constexpr int kMacroStepSize = 4;

void appendLe16(QByteArray &out, uint16_t value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

uint16_t readLe16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

bool decodeMacro(const uint8_t *payload, int n, KeyConfig &out)
{
    if (n < 1)
        return false;
    const int steps = payload[0];
    if (steps < 1 || steps > kMaxMacroSteps || kMacroStepSize * steps >= n)
        return false;
    QVector<MacroStep> list;
    list.reserve(steps);
    for (int i = 0; i < steps; ++i) {
        const uint8_t *s = payload + 1 + kMacroStepSize * i;
        MacroStep step;
        step.action = s[0] ? 1 : 0;
        step.keycode = s[1];
        step.delay = readLe16(s + 2);
        list.append(step);
    }
    out.setMacro(list);
    return true;
}

bool decodeCombination(const uint8_t *payload, int n, KeyConfig &out)
{
    if (n < 2)
        return false;
    const int count = payload[1];
    if (count > kMaxCombinationKeys || count + 1 >= n)
        return false;
    out.setCombination(payload[0],
                       QByteArray(reinterpret_cast<const char *>(payload + 2), count));
    return true;
}

} // namespace

QByteArray encodeKeyPayload(const KeyConfig &record)
{
    QByteArray payload;
    switch (record.type) {
    case KeyTypeSingle:
        payload.append(char(record.keycode));
        break;
    case KeyTypeMacro: {
        const int steps = record.macroSteps.size();
        if (steps < 1 || steps > kMaxMacroSteps)
            return {};
        payload.append(char(steps));
        for (const MacroStep &step : record.macroSteps) {
            payload.append(char(step.action ? 1 : 0));
            payload.append(char(step.keycode));
            appendLe16(payload, step.delay);
        }
        break;
    }
    case KeyTypeMedia:
        appendLe16(payload, record.mediaCode);
        break;
    case KeyTypeMouse:
        payload.append(char(record.mouseAction));
        break;
    case KeyTypeCombination: {
        const int count = std::min(int(record.keycodes.size()), kMaxCombinationKeys);
        payload.append(char(record.modifiers));
        payload.append(char(count));
        payload.append(record.keycodes.left(count));
        break;
    }
    default:
        break;
    }
    return payload;
}

QByteArray encodeKeyData(const KeyConfig &record)
{
    const QByteArray payload = encodeKeyPayload(record);
    if (payload.isEmpty())
        return {};
    QByteArray block(kBlockHeaderSize, '\0');
    block[kBlockType] = char(record.type);
    block[kBlockLength] = char(payload.size() & 0xFF);
    block[kBlockLength + 1] = char(payload.size() >> 8);
    return block + payload;
}

bool decodeKeyData(const uint8_t *block, int length, KeyConfig &record)
{
    if (!block || length < kBlockHeaderSize)
        return false;
    const int n = readLe16(block + kBlockLength);
    if (length < n + kBlockHeaderSize)
        return false;
    const uint8_t *payload = block + kBlockPayload;

    KeyConfig decoded;
    switch (block[kBlockType]) {
    case KeyTypeSingle:
        if (n < 1)
            return false;
        decoded.setSingleKey(payload[0]);
        break;
    case KeyTypeMacro:
        if (!decodeMacro(payload, n, decoded))
            return false;
        break;
    case KeyTypeMedia:
        if (n < 2)
            return false;
        decoded.setMedia(readLe16(payload));
        break;
    case KeyTypeMouse:
        if (n < 1)
            return false;
        decoded.setMouseAction(payload[0]);
        break;
    case KeyTypeCombination:
        if (!decodeCombination(payload, n, decoded))
            return false;
        break;
    default:
        return false;
    }
    decoded.dirty = 1;
    record = decoded;
    return true;
}

QVector<QByteArray> splitMacroBlock(const QByteArray &block)
{
    QVector<QByteArray> chunks;
    for (int offset = 0; offset < block.size(); offset += kMaxChunkSize)
        chunks.append(block.mid(offset, kMaxChunkSize));
    if (chunks.isEmpty())
        chunks.append(QByteArray());
    return chunks;
}
