#pragma once

#include <QSet>
#include <QString>
#include <cstdint>

// Tells why a plugged-in keypad could not be opened, once per hidraw node:
// the search retries every half second and would otherwise repeat itself.
// On Linux the usual reason is the node's permissions, so that line carries
// the fix. Used on the thread that searches.
class OpenFailureLog
{
public:
    // Logs the failure of `path` unless it is already reported; true when
    // this call logged it. `error` is the errno the open left; `detail`
    // what hid_error said.
    bool report(const QString &path, uint16_t vendorId, uint16_t productId, int error,
                const QString &detail);
    // Forgets the nodes not in `listed` (unplugged), so a keypad plugged in
    // again is reported again.
    void keepOnly(const QSet<QString> &listed);
    void forget(const QString &path) { m_reported.remove(path); }

private:
    QSet<QString> m_reported;
};

// The reason a failed hid_open_path on `path` had: the errno it left, or,
// when that was lost inside hidapi, EACCES if the node exists and the user
// may not open it for reading and writing.
int openErrorOf(const char *path, int errnoAfterOpen);

QString openFailureLine(const QString &path, uint16_t vendorId, uint16_t productId, int error,
                        const QString &detail);

// Why the last keypad found could not be opened, as values: the window and
// zentrikctl word it for the user.
struct OpenFailure {
    bool failed = false;
    bool noPermission = false;  // EACCES / EPERM: no udev rule for the node
    int error = 0;              // the errno the open left; 0 when hidapi lost it
    QString detail;             // what hid_error said
    QString path;
};

OpenFailure openFailureOf(const QString &path, int error, const QString &detail);
