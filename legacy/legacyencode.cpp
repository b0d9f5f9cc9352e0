#include "legacy/legacyrecord.h"

#include "legacy/legacytables.h"
#include "model/labels.h"

#include <QVector>

namespace {

constexpr uint16_t kLaterEntryDelay = 20;

struct Entry {
    uint8_t key;
    uint16_t delay;
};

uint8_t r20WideCode(uint8_t usage)
{
    return isModifierUsage(usage) ? uint8_t(kR20WideFirstModifierCode + (usage - 0xE0)) : usage;
}

// The timed presses an R20Wide record keeps of an assignment of type 0, 1 or 4.
QVector<Entry> r20WideEntries(const KeyConfig &key)
{
    QVector<Entry> entries;
    auto add = [&entries](uint8_t code, uint16_t delay) {
        if (entries.size() < kR20MaxEntries)
            entries.append({code, delay});
    };
    switch (key.type) {
    case KeyTypeSingle:
        if (key.keycode != 0)
            add(key.keycode, 0); // sent as it is, a modifier too
        break;
    case KeyTypeCombination: {
        QVector<uint8_t> codes;
        for (int bit = 0; bit < 8; ++bit)
            if (key.modifiers & (1u << bit))
                codes.append(uint8_t(kR20WideFirstModifierCode + bit));
        for (char c : key.keycodes)
            if (c != 0)
                codes.append(uint8_t(c));
        for (uint8_t code : codes)
            add(code, entries.isEmpty() ? uint16_t(0) : kLaterEntryDelay);
        break;
    }
    case KeyTypeMacro:
        // The keypad plays presses only; it releases them itself.
        for (const MacroStep &step : key.macroSteps)
            if (step.action == 0 && step.keycode != 0)
                add(r20WideCode(step.keycode), step.delay);
        break;
    default:
        break;
    }
    return entries;
}

struct OldPairs {
    QVector<uint8_t> modifiers;
    QVector<uint8_t> keys;
    uint16_t delay = 0;
};

// The modifiers, keys and single delay an Old record keeps of an assignment
// of type 0, 1 or 4.
OldPairs oldPairs(const KeyConfig &key)
{
    OldPairs pairs;
    switch (key.type) {
    case KeyTypeSingle:
        if (isModifierUsage(key.keycode))
            pairs.modifiers.append(key.keycode);
        else if (key.keycode != 0)
            pairs.keys.append(key.keycode);
        break;
    case KeyTypeCombination:
        for (int bit = 0; bit < 8; ++bit)
            if (key.modifiers & (1u << bit))
                pairs.modifiers.append(uint8_t(0xE0 + bit));
        for (char c : key.keycodes)
            pairs.keys.append(uint8_t(c));
        break;
    case KeyTypeMacro: {
        bool first = true;
        for (const MacroStep &step : key.macroSteps) {
            if (step.action != 0 || step.keycode == 0)
                continue;
            if (first)
                pairs.delay = step.delay;
            first = false;
            if (!isModifierUsage(step.keycode))
                pairs.keys.append(step.keycode);
            else if (!pairs.modifiers.contains(step.keycode))
                pairs.modifiers.append(step.keycode);
        }
        break;
    }
    default:
        break;
    }
    return pairs;
}

void putMouse(const LegacyMouseFields &fields, int kindOffset, int modifierOffset,
              int buttonsOffset, int wheelOffset, LegacyReport &report)
{
    if (kindOffset >= 0)
        report[kindOffset] = fields.kind;
    report[modifierOffset] = fields.modifier;
    report[buttonsOffset] = fields.buttons;
    report[wheelOffset] = fields.wheel;
}

bool isKnownType(uint8_t type)
{
    switch (type) {
    case KeyTypeEmpty:
    case KeyTypeSingle:
    case KeyTypeMacro:
    case KeyTypeMedia:
    case KeyTypeMouse:
    case KeyTypeCombination:
        return true;
    default:
        return false;
    }
}

} // namespace

bool legacyEncodeR20Wide(const KeyConfig &key, LegacyReport &report)
{
    if (!isKnownType(key.type))
        return false;
    report[kLegacyOffRecordType] = LegacyRecordEmpty;
    switch (key.type) {
    case KeyTypeEmpty:
        break;
    case KeyTypeMedia:
        report[kLegacyOffRecordType] = LegacyRecordMedia;
        report[kR20OffMouseKind] = kLegacyMouseKindPointer;
        report[kR20OffEntryCount] = kR20MediaFieldCount;
        report[kR20OffMediaLow] = uint8_t(key.mediaCode & 0xFF);
        report[kR20OffMediaHigh] = uint8_t(key.mediaCode >> 8);
        break;
    case KeyTypeMouse:
        report[kLegacyOffRecordType] = LegacyRecordMouse;
        report[kR20OffEntryCount] = kR20MouseFieldCount;
        putMouse(legacyMouseFields(key.mouseAction, LegacyFormatR20Wide), kR20OffMouseKind,
                 kR20OffMouseModifier, kR20OffMouseButtons, kR20OffMouseWheel, report);
        break;
    default: {
        const QVector<Entry> entries = r20WideEntries(key);
        if (entries.isEmpty())
            break;
        report[kLegacyOffRecordType] = LegacyRecordKeys;
        report[kR20OffMouseKind] = kLegacyMouseKindPointer;
        report[kR20OffEntryCount] = uint8_t(entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            const int at = kR20OffEntries + i * kR20EntrySize;
            report[at + kR20EntryDelayHigh] = uint8_t(entries[i].delay >> 8);
            report[at + kR20EntryDelayLow] = uint8_t(entries[i].delay & 0xFF);
            report[at + kR20EntryKey] = entries[i].key;
        }
        break;
    }
    }
    return true;
}

bool legacyEncodeOld(const KeyConfig &key, LegacyReport &report)
{
    if (!isKnownType(key.type))
        return false;
    report[kLegacyOffRecordType] = LegacyRecordEmpty;
    switch (key.type) {
    case KeyTypeEmpty:
        break;
    case KeyTypeMedia:
        report[kLegacyOffRecordType] = LegacyRecordMedia;
        report[kOldOffPairCount] = kOldMediaFieldCount;
        report[kOldOffMediaLow] = uint8_t(key.mediaCode & 0xFF);
        report[kOldOffMediaHigh] = uint8_t(key.mediaCode >> 8);
        break;
    case KeyTypeMouse:
        // No kind byte: a gesture cannot be told apart from a pointer action.
        report[kLegacyOffRecordType] = LegacyRecordMouse;
        report[kOldOffPairCount] = kOldMouseFieldCount;
        putMouse(legacyMouseFields(key.mouseAction, LegacyFormatOld), -1, kOldOffMouseModifier,
                 kOldOffMouseButtons, kOldOffMouseWheel, report);
        break;
    default: {
        const OldPairs pairs = oldPairs(key);
        uint8_t mask = 0;
        for (uint8_t usage : pairs.modifiers)
            mask |= modifierBit(usage);
        QVector<uint8_t> keys = pairs.keys;
        if (keys.isEmpty() && mask != 0)
            keys.append(0);
        if (keys.size() > kOldMaxWritePairs)
            keys.resize(kOldMaxWritePairs);
        if (keys.isEmpty())
            break;
        // One modifier mask for every key: the keypad holds them all down.
        report[kLegacyOffRecordType] = LegacyRecordKeys;
        report[kOldOffDelay] = uint8_t(pairs.delay & 0xFF);
        report[kOldOffDelay + 1] = uint8_t(pairs.delay >> 8);
        report[kOldOffPairCount] = uint8_t(keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            const int at = kOldOffPairs + i * kOldPairSize;
            report[at + kOldPairMask] = mask;
            report[at + kOldPairKey] = keys[i];
        }
        break;
    }
    }
    return true;
}

bool legacyEncode(int format, const KeyConfig &key, LegacyReport &report)
{
    return format == LegacyFormatR20Wide ? legacyEncodeR20Wide(key, report)
                                         : legacyEncodeOld(key, report);
}
