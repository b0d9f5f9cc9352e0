#pragma once

#include "model/keyconfig.h"
#include "model/ledlayerconfig.h"

#include <QString>
#include <QUndoCommand>
#include <QVector>
#include <functional>

// One key record of one layer, as it was before an edit and after it; the
// change marks are part of the records.
struct KeyChange {
    int layer = 0;
    int key = 0;
    KeyConfig before;
    KeyConfig after;
};

// One layer's lighting before and after an edit.
struct LightingChange {
    int layer = 0;
    LedLayerConfig before;
    LedLayerConfig after;
};

struct StoreChanges {
    QVector<KeyChange> keys;
    QVector<LightingChange> lighting;

    bool isEmpty() const { return keys.isEmpty() && lighting.isEmpty(); }
    // Every edit changes one layer: the one it was made on.
    int layer() const;
};

// The kinds of edit the history knows; each names its step in the Undo and
// Redo texts.
enum class EditKind {
    KeyFunction,
    Clear,
    ClearAll,
    MacroRecording,
    Delay,
    Lighting,
    Paste,
    Swap,
    LayerCopy,
    Import,
};

// The English name of a kind, a row of the translation table.
QString editKindName(EditKind kind);

// An edit already made in the store, undone and redone by putting its
// records back. Delay and lighting edits that follow each other on the same
// key or LEDs (a spin box stepped, a colour dragged) merge into one step.
class StoreEdit : public QUndoCommand
{
public:
    using Apply = std::function<void(const StoreChanges &changes, bool forward)>;

    StoreEdit(EditKind kind, StoreChanges changes, QString text, Apply apply);

    EditKind kind() const { return m_kind; }
    const StoreChanges &changes() const { return m_changes; }

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    EditKind m_kind;
    StoreChanges m_changes;
    Apply m_apply;
    // Pushing runs redo once; the edit is in the store already then.
    bool m_applied = true;
};
