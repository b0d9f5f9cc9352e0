#include "legacy/legacyrecord.h"

#include "legacy/legacytables.h"
#include "model/labels.h"

#include <QVector>

namespace {

constexpr uint16_t kLaterPressDelay = 20;

// A received answer: every field read goes through `has` first.
struct Answer {
    const uint8_t *bytes;
    int received;

    bool has(int offset) const { return offset >= 0 && offset < received; }
    uint8_t at(int offset) const { return bytes[offset]; }
};

struct Press {
    uint8_t key;
    uint16_t delay;
};

// Presses in order, then each key released in reverse order.
QVector<MacroStep> pressThenRelease(const QVector<Press> &presses)
{
    QVector<MacroStep> steps;
    for (const Press &press : presses)
        steps.append({0, press.key, press.delay});
    for (int i = presses.size() - 1; i >= 0; --i)
        steps.append({1, presses[i].key, kLegacyPlayedReleaseDelay});
    return steps;
}

void decodeMedia(const Answer &answer, int lowOffset, int highOffset, KeyConfig &key)
{
    if (!answer.has(lowOffset) || !answer.has(highOffset))
        return;
    const uint16_t code = uint16_t(answer.at(lowOffset) | (answer.at(highOffset) << 8));
    if (code != 0)
        key.setMedia(code);
}

uint8_t r20WideUsage(uint8_t code)
{
    if (code >= kR20WideFirstModifierCode && code <= kR20WideLastModifierCode)
        return uint8_t(0xE0 + (code - kR20WideFirstModifierCode));
    return code;
}

void decodeR20WideEntries(const Answer &answer, KeyConfig &key)
{
    if (!answer.has(kR20OffEntryCount))
        return;
    const int count = qMin(int(answer.at(kR20OffEntryCount)), kR20MaxEntries);
    QVector<Press> presses;
    for (int i = 0; i < count; ++i) {
        const int entry = kR20OffEntries + i * kR20EntrySize;
        if (!answer.has(entry + kR20EntryKey))
            return; // the record claims more entries than arrived
        const uint8_t code = answer.at(entry + kR20EntryKey);
        if (code == 0)
            continue;
        const uint16_t delay = uint16_t(answer.at(entry + kR20EntryDelayHigh) * 256
                                        + answer.at(entry + kR20EntryDelayLow));
        presses.append({r20WideUsage(code), delay});
    }
    if (presses.isEmpty())
        return;
    if (presses.size() == 1 && presses[0].delay == 0 && !isModifierUsage(presses[0].key)) {
        key.setSingleKey(presses[0].key);
        return;
    }
    key.setMacro(pressThenRelease(presses));
}

void decodeR20WideMouse(const Answer &answer, KeyConfig &key)
{
    if (!answer.has(kR20OffMouseWheel))
        return;
    const uint8_t modifier = answer.at(kR20OffMouseModifier);
    const int action = legacyMouseActionOf(answer.at(kR20OffMouseButtons),
                                           answer.at(kR20OffMouseWheel), modifier,
                                           LegacyFormatR20Wide);
    if (action >= 0) {
        key.setMouseAction(uint8_t(action));
        return;
    }
    const int gestures = kLegacyLastGesture - kLegacyGestureBase;
    if (answer.at(kR20OffMouseKind) == kLegacyMouseKindGesture && modifier >= 1
        && modifier <= gestures)
        key.setMouseAction(uint8_t(kLegacyGestureBase + modifier));
}

void decodeOldPairs(const Answer &answer, KeyConfig &key)
{
    if (!answer.has(kOldOffPairCount))
        return;
    const int count = qMin(int(answer.at(kOldOffPairCount)), kOldMaxReadPairs);
    QVector<uint8_t> modifiers;
    QVector<uint8_t> keys;
    for (int i = 0; i < count; ++i) {
        const int pair = kOldOffPairs + i * kOldPairSize;
        if (!answer.has(pair + kOldPairKey))
            return; // the record claims more pairs than arrived
        const uint8_t mask = answer.at(pair + kOldPairMask);
        for (int bit = 0; bit < 8; ++bit) {
            const uint8_t usage = uint8_t(0xE0 + bit);
            if ((mask & (1u << bit)) && !modifiers.contains(usage))
                modifiers.append(usage);
        }
        if (const uint8_t usage = answer.at(pair + kOldPairKey))
            keys.append(usage);
    }
    if (modifiers.isEmpty() && keys.isEmpty())
        return;

    const uint16_t delay = uint16_t(answer.at(kOldOffDelay) | (answer.at(kOldOffDelay + 1) << 8));
    if (modifiers.isEmpty() && keys.size() == 1) {
        if (delay > 0)
            key.setMacro({{0, keys[0], delay}, {1, keys[0], kLegacyPlayedReleaseDelay}});
        else
            key.setSingleKey(keys[0]);
        return;
    }

    // Modifiers go down first and come up last; the record's one delay then
    // stands for every press.
    QVector<MacroStep> steps;
    for (uint8_t usage : modifiers + keys)
        steps.append({0, usage, steps.isEmpty() ? uint16_t(0) : kLaterPressDelay});
    for (int i = keys.size() - 1; i >= 0; --i)
        steps.append({1, keys[i], kLegacyPlayedReleaseDelay});
    for (int i = modifiers.size() - 1; i >= 0; --i)
        steps.append({1, modifiers[i], kLegacyPlayedReleaseDelay});
    for (MacroStep &step : steps)
        if (step.action == 0 && step.keycode != 0)
            step.delay = delay;
    key.setMacro(steps);
}

void decodeOldMouse(const Answer &answer, KeyConfig &key)
{
    if (!answer.has(kOldOffMouseWheel))
        return;
    const int action = legacyMouseActionOf(answer.at(kOldOffMouseButtons),
                                           answer.at(kOldOffMouseWheel),
                                           answer.at(kOldOffMouseModifier), LegacyFormatOld);
    if (action >= 0)
        key.setMouseAction(uint8_t(action));
}

} // namespace

void legacyDecodeR20Wide(const uint8_t *report, int received, KeyConfig &key)
{
    key.clear();
    const Answer answer{report, report ? received : 0};
    if (!answer.has(kLegacyOffRecordType))
        return;
    switch (answer.at(kLegacyOffRecordType)) {
    case LegacyRecordKeys:
        decodeR20WideEntries(answer, key);
        break;
    case LegacyRecordMedia:
        decodeMedia(answer, kR20OffMediaLow, kR20OffMediaHigh, key);
        break;
    case LegacyRecordMouse:
        decodeR20WideMouse(answer, key);
        break;
    default:
        break;
    }
}

void legacyDecodeOld(const uint8_t *report, int received, KeyConfig &key)
{
    key.clear();
    const Answer answer{report, report ? received : 0};
    if (!answer.has(kLegacyOffRecordType))
        return;
    switch (answer.at(kLegacyOffRecordType)) {
    case LegacyRecordKeys:
        decodeOldPairs(answer, key);
        break;
    case LegacyRecordMedia:
        decodeMedia(answer, kOldOffMediaLow, kOldOffMediaHigh, key);
        break;
    case LegacyRecordMouse:
        decodeOldMouse(answer, key);
        break;
    default:
        break;
    }
}

void legacyDecode(int format, const uint8_t *report, int received, KeyConfig &key)
{
    if (format == LegacyFormatR20Wide)
        legacyDecodeR20Wide(report, received, key);
    else
        legacyDecodeOld(report, received, key);
}
