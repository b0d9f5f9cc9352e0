#pragma once

#include "app/editing/editcommands.h"
#include "app/editing/editsteptext.h"
#include "model/keyboarddata.h"

#include <QObject>
#include <functional>

class QAction;
class QUndoStack;

// The undo and redo history of every change the user makes to the key store.
//
// The history keeps a copy of the store as it was after the last step. Any
// sign that the store may have changed (its text signals, a page's lighting
// or delay signal) schedules one look, after the click or key press that
// caused it has run in full: what differs from the copy becomes one step.
// Changes of the change marks alone are not edits (a save clearing them);
// the copy just takes them over. Paste, swap and layer copy run through
// perform() and become a step of their own kind.
//
// Undo and redo first bring the step into view (its layer, its page), then
// put records back exactly. A key the keypad has been given since (its mark was cleared by
// a save) is marked changed again, so the next save writes it back.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    // Shows the layer and the page of a step about to be undone or redone.
    using Reveal = std::function<void(EditKind kind, const StoreChanges &changes, bool forward)>;

    EditHistory(KeyboardData &store, QObject *parent);

    QUndoStack *stack() const { return m_stack; }
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }
    void setReveal(Reveal reveal) { m_reveal = std::move(reveal); }
    // Which control shows a key, for the steps' names.
    void setControlOfKey(ControlOfKey controlOf) { m_controlOf = std::move(controlOf); }

    // The store may have changed; looked at once the current event is done.
    void noteChange();
    // A macro step's delay was edited (the store announces nothing then).
    void noteDelayChange();
    // Looks now instead of later.
    void commitPending();

    // Runs an edit on the store and records it as one step of `kind`.
    void perform(EditKind kind, const std::function<void()> &edit);

    // The store was loaded, or emptied: what is there now is the start.
    void reset();

    // While a macro is recorded its steps gather into one step, taken when
    // the recording ends; undo and redo wait, as they do while a save runs.
    void setRecording(bool recording);
    void setSaving(bool saving);
    bool isAvailable() const { return !m_recording && !m_saving; }

    void undo();
    void redo();

signals:
    // Lighting records were put back: the lighting views should look again.
    void lightingRestored();
    // A step was added to the history (or merged into the last one).
    void stepRecorded(EditKind kind, const StoreChanges &changes);
    // The step named `step` was undone or redone.
    void undone(const QString &step);
    void redone(const QString &step);

private:
    void commit(EditKind kind);
    StoreChanges changesSinceCopy() const;
    EditKind kindOf(const StoreChanges &changes) const;
    void apply(EditKind kind, const StoreChanges &changes, bool forward);
    void takeCopy();
    void updateActions();

    KeyboardData &m_store;
    QUndoStack *m_stack = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    Reveal m_reveal;
    ControlOfKey m_controlOf;
    KeyLayers m_keysCopy;
    LedLayers m_lightingCopy;
    bool m_pending = false;
    bool m_delayPending = false;
    bool m_recording = false;
    bool m_saving = false;
};
