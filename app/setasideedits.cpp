#include "app/setasideedits.h"

#include "app/storesave.h"

namespace {

// Enough for a few keypads swapped back and forth; the oldest go first.
constexpr int kMaxKeptKeypads = 4;

} // namespace

bool SetAsideEdits::takeFrom(const KeyboardData &store, const KeypadIdentity &keypad)
{
    const Kept kept{keypad, saveSnapshotOf(store, SaveKind::All)};
    if (kept.edits.itemCount() == 0)
        return false;
    // Newer edits for the same keypad replace what was kept before: they
    // were made on top of it.
    for (int i = m_kept.size() - 1; i >= 0; --i)
        if (m_kept[i].keypad == keypad)
            m_kept.removeAt(i);
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
