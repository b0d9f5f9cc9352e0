#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What "Config.ini" beside the executable chooses. Defaults: English, no
// configured layer count, and a history of configurations kept.
struct AppSettings {
    bool useChinese = false;
    std::optional<int> layerNum;  // 0..3 when the file sets a valid "layernum"
    bool keepHistory = true;      // "history = off" turns it off
};

// Parses the text of a settings file. Pure: the same bytes always give the
// same settings, and nothing in the bytes is trusted.
AppSettings parseSettingsText(const QByteArray &data);

// "<directory>/Config.ini".
QString settingsFilePath(const QString &directory);

// Reads and parses the settings file in directory. A missing or unreadable
// file gives the defaults, silently.
AppSettings readSettingsFile(const QString &directory);

// Reads the settings file beside the executable.
AppSettings readSettingsFile();
