#pragma once

#include "model/keypadfile.h"

#include <QString>
#include <optional>

// A keypad file the user named, read and checked: only a regular file, at
// most the size a keypad file may have. Without a file, `problem` says why
// in the interface's language, ending with "Nothing was changed."
struct LoadedKeypadFile {
    std::optional<KeypadFile> file;
    QString problem;
};

LoadedKeypadFile loadKeypadFile(const QString &path);
