#pragma once

#include "keypad/configurationhistory.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// File › "History…": what each keypad held before Zentrik or zentrikctl
// wrote to it, newest first, with how much changed against the entry after
// it. A chosen entry shows what restoring it would change and is restored
// through the import's preview. The files are read on a worker thread.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    struct Hooks {
        // The connected keypad's folder name, or empty without a keypad.
        std::function<QString()> connectedFolder;
        // What the connected keypad holds now, as a file.
        std::function<std::optional<KeypadFile>()> heldNow;
        // What restoring the file would change there, one line each.
        std::function<QStringList(const KeypadFile &)> changesOnKeypad;
        // Imports the entry's file through the preview.
        std::function<void(const QString &path)> restore;
    };

    HistoryWindow(const ConfigurationHistory &history, bool turnedOff, Hooks hooks,
                  QWidget *parent);

    struct Loaded {
        HistoryEntry entry;
        QString folder;
        std::optional<KeypadFile> file;
        QString problem;
    };

signals:
    // The entries are read and listed.
    void loaded();

private:
    void showLoaded(const QVector<Loaded> &entries);
    void showChosen();

    Hooks m_hooks;
    QVector<Loaded> m_entries;
    QLabel *m_intro = nullptr;
    QTreeWidget *m_list = nullptr;
    QPlainTextEdit *m_changes = nullptr;
    QPushButton *m_restore = nullptr;
};
