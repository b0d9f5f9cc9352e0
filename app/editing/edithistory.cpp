#include "app/editing/edithistory.h"


#include <QAction>
#include <QUndoStack>

namespace {

// A macro whose steps changed only in their delays.
bool onlyDelaysDiffer(const KeyConfig &a, const KeyConfig &b)
{
    if (a.type != KeyTypeMacro || b.type != KeyTypeMacro
        || a.macroSteps.size() != b.macroSteps.size())
        return false;
    for (int i = 0; i < a.macroSteps.size(); ++i)
        if (a.macroSteps[i].action != b.macroSteps[i].action
            || a.macroSteps[i].keycode != b.macroSteps[i].keycode)
            return false;
    return true;
}

// The record to put back over `current`. When the keypad holds `current`
// (its mark is clear) the mark says whether the record differs from it;
// otherwise the record keeps the mark it had.
KeyConfig restoredKey(const KeyConfig &current, const KeyConfig &target)
{
    KeyConfig record = target;
    if (!current.dirty)
        record.dirty = current.sameAssignment(target) ? 0 : 1;
    return record;
}

LedLayerConfig restoredLighting(const LedLayerConfig &current, const LedLayerConfig &target)
{
    LedLayerConfig record = target;
    if (!current.dirty)
        record.dirty = current.effect != target.effect ? 1 : 0;
    for (size_t i = 0; i < size_t(kLedCount); ++i)
        if (!current.keyDirty[i])
            record.keyDirty[i] = current.colors[i] != target.colors[i] ? 1 : 0;
    return record;
}

QList<QKeySequence> redoShortcuts()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &extra :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!keys.contains(extra))
            keys << extra;
    return keys;
}

} // namespace

EditHistory::EditHistory(KeyboardData &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_stack(new QUndoStack(this))
    , m_undoAction(new QAction(this))
    , m_redoAction(new QAction(this))
{
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction->setShortcuts(redoShortcuts());
    for (QAction *action : {m_undoAction, m_redoAction})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(m_undoAction, &QAction::triggered, this, &EditHistory::undo);
    connect(m_redoAction, &QAction::triggered, this, &EditHistory::redo);
    connect(m_stack, &QUndoStack::indexChanged, this, &EditHistory::updateActions);
    connect(m_stack, &QUndoStack::cleanChanged, this, &EditHistory::updateActions);
    takeCopy();
    updateActions();
}

// ---- recording edits -------------------------------------------------------

void EditHistory::noteChange()
{
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(this, &EditHistory::commitPending, Qt::QueuedConnection);
}

void EditHistory::noteDelayChange()
{
    m_delayPending = true;
    noteChange();
}

void EditHistory::commitPending()
{
    if (!m_pending)
        return;
    // A recording's steps wait for its end.
    if (m_recording)
        return;
    m_pending = false;
    commit(m_delayPending ? EditKind::Delay : EditKind::KeyFunction);
}

void EditHistory::perform(EditKind kind, const std::function<void()> &edit)
{
    commitPending();
    edit();
    m_pending = false;
    commit(kind);
}

void EditHistory::commit(EditKind kind)
{
    m_delayPending = false;
    StoreChanges changes = changesSinceCopy();
    takeCopy();
    if (changes.isEmpty())
        return;
    if (kind == EditKind::KeyFunction || kind == EditKind::Delay)
        kind = kindOf(changes);
    const QString text = stepText(kind, changes, m_controlOf);
    m_stack->push(new StoreEdit(kind, changes, text, [this, kind](const StoreChanges &c,
                                                                  bool forward) {
        apply(kind, c, forward);
    }));
    emit stepRecorded(kind, changes);
}

StoreChanges EditHistory::changesSinceCopy() const
{
    StoreChanges changes;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key) {
            const KeyConfig &before = m_keysCopy[layer][key];
            const KeyConfig &after = m_store.layers()[layer][key];
            if (!before.sameAssignment(after))
                changes.keys.append({layer, key, before, after});
        }
        if (!m_lightingCopy[layer].sameLighting(m_store.ledLayers()[layer]))
            changes.lighting.append({layer, m_lightingCopy[layer], m_store.ledLayers()[layer]});
    }
    return changes;
}

EditKind EditHistory::kindOf(const StoreChanges &changes) const
{
    if (changes.keys.isEmpty())
        return EditKind::Lighting;
    bool allEmptied = true;
    bool allDelays = true;
    for (const KeyChange &change : changes.keys) {
        allEmptied = allEmptied && change.after.isEmpty();
        allDelays = allDelays && onlyDelaysDiffer(change.before, change.after);
    }
    if (allDelays)
        return EditKind::Delay;
    if (allEmptied)
        return changes.keys.size() == 1 ? EditKind::Clear : EditKind::ClearAll;
    return EditKind::KeyFunction;
}

void EditHistory::takeCopy()
{
    m_keysCopy = m_store.layers();
    m_lightingCopy = m_store.ledLayers();
}

// ---- undo and redo ---------------------------------------------------------

void EditHistory::undo()
{
    commitPending();
    if (!isAvailable() || !m_stack->canUndo())
        return;
    const QString step = m_stack->undoText();
    m_stack->undo();
    emit undone(step);
}

void EditHistory::redo()
{
    commitPending();
    if (!isAvailable() || !m_stack->canRedo())
        return;
    const QString step = m_stack->redoText();
    m_stack->redo();
    emit redone(step);
}

void EditHistory::apply(EditKind kind, const StoreChanges &changes, bool forward)
{
    // The user sees what comes back: its layer, and the page it belongs to.
    if (m_reveal)
        m_reveal(kind, changes, forward);
    for (const KeyChange &change : changes.keys) {
        const KeyConfig &target = forward ? change.after : change.before;
        m_store.replaceKey(change.layer, change.key,
                           restoredKey(m_store.layers()[change.layer][change.key], target));
    }
    for (const LightingChange &change : changes.lighting) {
        const LedLayerConfig &target = forward ? change.after : change.before;
        m_store.replaceLedLayer(change.layer,
                                restoredLighting(m_store.ledLayers()[change.layer], target));
    }
    // What the store announced is the step itself, not a new edit.
    m_pending = false;
    takeCopy();
    // The pages that follow the selected key (the macro flow, the delay
    // pages) show its record again.
    if (m_store.selectedKey() >= 0)
        m_store.selectKey(m_store.selectedKey());
    if (!changes.lighting.isEmpty())
        emit lightingRestored();
}

void EditHistory::reset()
{
    m_pending = false;
    m_delayPending = false;
    m_stack->clear();
    takeCopy();
    updateActions();
}

void EditHistory::setRecording(bool recording)
{
    m_recording = recording;
    // The whole recording, with the clearing of the key it starts with, is
    // one step.
    if (!recording) {
        m_pending = false;
        commit(EditKind::MacroRecording);
    }
    updateActions();
}

void EditHistory::setSaving(bool saving)
{
    m_saving = saving;
    updateActions();
}

void EditHistory::updateActions()
{
    m_undoAction->setText(undoActionText(m_stack->undoText()));
    m_redoAction->setText(redoActionText(m_stack->redoText()));
    m_undoAction->setToolTip(m_undoAction->text());
    m_redoAction->setToolTip(m_redoAction->text());
    m_undoAction->setEnabled(isAvailable() && m_stack->canUndo());
    m_redoAction->setEnabled(isAvailable() && m_stack->canRedo());
}
