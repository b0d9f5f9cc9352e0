#pragma once

#include <QByteArray>
#include <QString>

// A file the user named, read only when it is a regular file (links
// followed): a named pipe, a device or a socket could keep a read waiting
// for ever, and a folder holds nothing to read. Opening never waits.
struct RegularFileRead {
    enum class Problem { None, Missing, Folder, NotRegular, Unreadable };
    Problem problem = Problem::None;
    QString systemError; // for Unreadable
    // At most maxBytes + 1 bytes, so a larger file is seen as larger.
    QByteArray bytes;
};

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes);
