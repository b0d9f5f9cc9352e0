#include "app/connection/setasideedits.h"

#include "keypad/storesave.h"

#include <algorithm>

namespace {

// Enough for a few keypads swapped back and forth; the oldest go first.
constexpr int kMaxKeptKeypads = 4;

} // namespace

bool SetAsideEdits::takeFrom(const KeyboardData &store, const KeypadIdentity &keypad)
{
    Kept kept{keypad, saveSnapshotOf(store, SaveKind::All)};
    if (kept.edits.itemCount() == 0)
        return false;
    // What was kept for the same keypad stays beneath the newer edits: those
    // made while it was away come on top of those set aside when it left.
    for (int i = m_kept.size() - 1; i >= 0; --i) {
        if (!(m_kept[i].keypad == keypad))
            continue;
        const SaveSnapshot older = m_kept.takeAt(i).edits;
        for (const SavedKey &key : older.keys) {
            const bool replaced = std::any_of(
                kept.edits.keys.begin(), kept.edits.keys.end(),
                [&key](const SavedKey &newer) { return newer.layer == key.layer && newer.key == key.key; });
            if (!replaced)
                kept.edits.keys.append(key);
        }
        for (const SavedLighting &lighting : older.lighting) {
            const bool replaced = std::any_of(
                kept.edits.lighting.begin(), kept.edits.lighting.end(),
                [&lighting](const SavedLighting &newer) { return newer.layer == lighting.layer; });
            if (!replaced)
                kept.edits.lighting.append(lighting);
        }
    }
    m_kept.append(kept);
    while (m_kept.size() > kMaxKeptKeypads)
        m_kept.removeFirst();
    return true;
}

int SetAsideEdits::layOnto(KeyboardData &store, const KeypadIdentity &keypad)
{
    for (int i = 0; i < m_kept.size(); ++i) {
        if (!(m_kept[i].keypad == keypad))
            continue;
        const Kept kept = m_kept.takeAt(i);
        int laid = 0;
        for (const SavedKey &key : kept.edits.keys) {
            if (key.layer < store.layers().size() && key.key < store.layers()[key.layer].size()) {
                store.replaceKey(key.layer, key.key, key.record);
                ++laid;
            }
        }
        for (const SavedLighting &lighting : kept.edits.lighting) {
            if (lighting.layer < store.ledLayers().size()) {
                store.replaceLedLayer(lighting.layer, lighting.record);
                ++laid;
            }
        }
        return laid;
    }
    return 0;
}
