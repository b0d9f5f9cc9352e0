#include "app/editing/editcommands.h"

namespace {

bool sameKeys(const StoreChanges &a, const StoreChanges &b)
{
    if (a.keys.size() != b.keys.size() || !a.lighting.isEmpty() || !b.lighting.isEmpty())
        return false;
    for (int i = 0; i < a.keys.size(); ++i)
        if (a.keys[i].layer != b.keys[i].layer || a.keys[i].key != b.keys[i].key)
            return false;
    return true;
}

// The fields of a lighting record an edit changed: the effect, then one bit
// per LED.
quint32 changedLightingFields(const LightingChange &change)
{
    quint32 fields = change.before.effect != change.after.effect ? 1u : 0u;
    for (int i = 0; i < kLedCount; ++i)
        if (change.before.colors[size_t(i)] != change.after.colors[size_t(i)])
            fields |= 2u << i;
    return fields;
}

bool sameLighting(const StoreChanges &a, const StoreChanges &b)
{
    if (a.lighting.size() != 1 || b.lighting.size() != 1 || !a.keys.isEmpty()
        || !b.keys.isEmpty())
        return false;
    const LightingChange &first = a.lighting.first();
    const LightingChange &second = b.lighting.first();
    return first.layer == second.layer
        && changedLightingFields(first) == changedLightingFields(second);
}

} // namespace

int StoreChanges::layer() const
{
    if (!keys.isEmpty())
        return keys.first().layer;
    if (!lighting.isEmpty())
        return lighting.first().layer;
    return -1;
}

QString editKindName(EditKind kind)
{
    switch (kind) {
    case EditKind::KeyFunction: return QStringLiteral("Key Function");
    case EditKind::Clear: return QStringLiteral("Clear");
    case EditKind::ClearAll: return QStringLiteral("Clear All");
    case EditKind::MacroRecording: return QStringLiteral("Macro Recording");
    case EditKind::Delay: return QStringLiteral("Delay Change");
    case EditKind::Lighting: return QStringLiteral("Lighting Change");
    case EditKind::Paste: return QStringLiteral("Paste");
    case EditKind::Swap: return QStringLiteral("Swap Keys");
    case EditKind::LayerCopy: return QStringLiteral("Layer Copy");
    case EditKind::Import: return QStringLiteral("Import");
    }
    return QString();
}

StoreEdit::StoreEdit(EditKind kind, StoreChanges changes, QString text, Apply apply)
    : m_kind(kind)
    , m_changes(std::move(changes))
    , m_apply(std::move(apply))
{
    setText(text);
}

void StoreEdit::undo()
{
    m_apply(m_changes, false);
    m_applied = false;
}

void StoreEdit::redo()
{
    if (m_applied)
        return;
    m_apply(m_changes, true);
    m_applied = true;
}

int StoreEdit::id() const
{
    return m_kind == EditKind::Delay || m_kind == EditKind::Lighting ? int(m_kind) + 1 : -1;
}

bool StoreEdit::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const StoreEdit *>(other);
    const bool same = m_kind == EditKind::Delay ? sameKeys(m_changes, next->m_changes)
                                                : sameLighting(m_changes, next->m_changes);
    if (!same)
        return false;
    for (int i = 0; i < m_changes.keys.size(); ++i)
        m_changes.keys[i].after = next->m_changes.keys[i].after;
    for (int i = 0; i < m_changes.lighting.size(); ++i)
        m_changes.lighting[i].after = next->m_changes.lighting[i].after;
    return true;
}
