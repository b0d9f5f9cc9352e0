#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Window tests read the program's log lines: install collectLogLine with
// qInstallMessageHandler, keeping the handler it returns in
// g_previousHandler. Warnings and worse still reach that handler, so a test
// run shows them.
inline QStringList g_logLines;
inline QtMessageHandler g_previousHandler = nullptr;

inline void collectLogLine(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    g_logLines.append(message);
    if (type != QtDebugMsg && g_previousHandler)
        g_previousHandler(type, context, message);
}
