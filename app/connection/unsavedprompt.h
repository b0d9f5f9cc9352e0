#pragma once

class QWidget;

// The questions the window asks before unsaved changes could be lost, as
// message boxes in the window's language.
namespace UnsavedPrompt {

enum class Choice { Save, Discard, Cancel };

// Closing the window: Save (only offered when a keypad can take it),
// Discard or Cancel. Escape cancels.
Choice askBeforeClose(QWidget *parent, bool canSave);

// "View Settings": reading the keypad again replaces the changes. True
// when the user chose to discard them; Cancel and Escape keep them.
bool askBeforeReread(QWidget *parent);

} // namespace UnsavedPrompt
