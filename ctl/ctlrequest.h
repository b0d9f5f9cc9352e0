#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <QVector>

// What one run of zentrikctl was asked for, as parsed from its command line;
// handed to a running window as it stands.
struct CtlRequest {
    QString command;        // list, show, export, diff, apply or history
    QString file;           // export, diff and apply
    QString historyCommand; // list, show or restore
    int entry = 0;          // history show and restore: from 1, the newest
    QString keypad;
    bool json = false;
    bool dryRun = false;
    bool noLighting = false;
    QVector<int> layers; // 0-based; empty for all

    // apply and history restore; with --dry-run they only compare.
    bool applies() const
    {
        return command == QLatin1String("apply")
            || (command == QLatin1String("history") && historyCommand == QLatin1String("restore"));
    }
    bool writes() const { return applies() && !dryRun; }

    // On the session bus: the file goes as its bytes, read by the sender.
    QVariantMap toBus(const QByteArray &fileBytes) const;
    static CtlRequest fromBus(const QVariantMap &map, QByteArray *fileBytes);
};

// A window's answer over the bus.
struct CtlBusAnswer {
    int exit = 0;
    QString out;
    QString err;
    QByteArray written; // export: the file, written by the command itself

    QVariantMap toBus() const;
    static CtlBusAnswer fromBus(const QVariantMap &map);
};
