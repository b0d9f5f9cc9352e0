#pragma once

#include "app/files/keypadpages.h"

#include <functional>

class KeyboardData;
class QAction;
class QWidget;
struct DeviceState;

// "Print…" and "Export as PDF…": the keypad's layers on paper or in a PDF
// file. Nothing is written but the file the user picks in the save dialog.

// What the window shows now, as printed: the layers of its layer buttons
// (the layer it edits when it shows none), the picture `layout` with the
// key each control slot edits, the keypad and today's date, in the
// interface's language.
PrintContents keypadPrintContents(const KeyboardData &store, const DeviceState &device,
                                  const LayoutSpec &layout, int shownLayerCount,
                                  const ControlMap &controls);

// Writes the pages as an A4 PDF to `path`, replacing it only once the whole
// file is written. False when it could not be written.
bool writeKeypadPdf(const QString &path, const PrintContents &contents);

struct KeypadPrintActions {
    QAction *print = nullptr;     // Ctrl+P
    QAction *exportPdf = nullptr; // no shortcut of its own
};

// Adds both commands to `window` (their shortcuts work anywhere in it); the
// window's File menu shows them. `contents` is asked when a command starts, so
// the dialogs show and write what the window showed then; the keypad's reads
// and saves go on while a dialog is open.
KeypadPrintActions addKeypadPrintActions(QWidget *window, std::function<PrintContents()> contents);
