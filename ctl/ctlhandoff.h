#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

// zentrikctl's side of the running window, over the session bus. The
// portable build has no bus: there a window is never found, the command
// runs on the keypad itself, and no name is held.

// Whether a window owns `windowBusName`, and so holds the keypad.
bool ctlWindowIsRunning(const QString &windowBusName);

// Hands a request (CtlRequest::toBus) to that window and waits for its
// answer (CtlBusAnswer::fromBus); none when the window did not answer.
std::optional<QVariantMap> ctlHandToWindow(const QString &windowBusName, const QVariantMap &request,
                                           int timeoutMs);

// Takes `scriptBusName` for as long as this process runs, so a window
// started meanwhile waits for it; false when another zentrikctl has it. True
// when there is no bus to hold it on.
bool ctlHoldScriptName(const QString &scriptBusName);
