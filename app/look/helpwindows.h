#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QDialog;
class QMessageBox;
class QWidget;

// The Help menu's windows, in the window's language. Each is created for
// `parent`, not yet shown.

// One row of the shortcut list: what it does, and its keys as the user
// types them.
struct ShortcutRow {
    QString command;
    QString keys;
};
QDialog *createShortcutsDialog(QWidget *parent, const QVector<ShortcutRow> &rows);

// What to do when the keypad cannot be opened: on Linux, the udev rule that
// comes with Zentrik.
QMessageBox *createTroubleshootingBox(QWidget *parent);
// When the program could not give that access itself: the commands that do.
QMessageBox *createAccessCommandsBox(QWidget *parent, const QStringList &commands);

// The program's version and licence, and the versions of Qt and hidapi it
// runs with.
QMessageBox *createAboutBox(QWidget *parent);
QString aboutText();
