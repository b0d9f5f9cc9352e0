#pragma once

#include "keypad/accessiblecontrolname.h"
#include "app/editing/editcommands.h"

#include <QString>
#include <functional>

// How a step of the history is named, in the window's language: in the Edit
// menu's Undo and Redo ("Undo: Vol+ on key 6") and on the status line after
// an edit, an undo or a redo.

// The control that shows key `key` on the keypad picture.
using ControlOfKey = std::function<ControlIdentity(int key)>;

// "key 6", "knob 1 turn left".
QString controlPhrase(const ControlIdentity &control);

// What a step did: "Vol+ on key 6", "Clear layer 2", "Swap key 1 and key 2".
QString stepText(EditKind kind, const StoreChanges &changes, const ControlOfKey &controlOf);

// The menu entries for the step to undo or redo; just "Undo" or "Redo"
// without one.
QString undoActionText(const QString &step);
QString redoActionText(const QString &step);

// The status line's word on a step just recorded, when its kind calls for
// one (a paste, a swap, a cleared layer); empty otherwise.
QString recordedFeedback(EditKind kind, const StoreChanges &changes,
                         const ControlOfKey &controlOf, const QString &undoKeys);
QString undoneFeedback(const QString &step);
QString redoneFeedback(const QString &step);
