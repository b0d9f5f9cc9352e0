#pragma once

#include "model/keypadfile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// What a keypad held before something wrote to it, kept as a keypad file in
// the user's data folder, "history/<keypad>/", so a setup that was never
// exported survives a wrong Clear All, another program or a firmware reset.
// The only files Zentrik writes on its own; "history = off" in the settings
// file stops it.

// What wrote to the keypad right after an entry was kept.
enum class HistoryWriter { Save, MacroSave, Apply, Restore };

struct HistoryEntry {
    QString path;
    QDateTime kept; // UTC
    HistoryWriter writer = HistoryWriter::Save;
};

class ConfigurationHistory
{
public:
    static constexpr int kKeptPerKeypad = 50;

    // `root` holds one folder per keypad; the user's data folder by default.
    explicit ConfigurationHistory(const QString &root = defaultRoot());
    static QString defaultRoot();

    // The folder of the keypad a file names: its family, USB ids and
    // description, so two models never share one.
    static QString keypadFolderName(const KeypadFileSource &source);

    // Writes `held` atomically as the newest entry of its keypad and drops
    // the oldest beyond kKeptPerKeypad. False with `error` set when the
    // entry could not be written.
    bool keep(const KeypadFile &held, HistoryWriter writer, QString *error = nullptr) const;

    // Every keypad with a folder of entries.
    QStringList keypadFolders() const;
    // The keypad's entries, newest first.
    QVector<HistoryEntry> entries(const QString &keypadFolder) const;

private:
    QString m_root;
};

// The name an entry's writer has in the History window and zentrikctl.
QString historyWriterText(HistoryWriter writer);

// How many controls, and lighting records, differ between two files.
int historyDifferenceCount(const KeypadFile &older, const KeypadFile &newer);
