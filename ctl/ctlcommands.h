#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// Where zentrikctl runs. `windowBusName` is the bus name Zentrik's window
// holds while it runs: the keypad is then left to the window. A window
// started while zentrikctl has the keypad waits for `scriptBusName` to go. Before a write,
// what the keypad held is kept in the history under `historyRoot`, unless
// `keepHistory` is off.
struct CtlSurroundings {
    QString windowBusName;
    // Held while zentrikctl has the keypad open itself; none when empty.
    QString scriptBusName;
    bool keepHistory = true;
    QString historyRoot;
};

// zentrikctl: the keypad from a script. `arguments` are the command line
// without the program's name; results go to `out`, errors and progress to
// `err`. Returns the exit code.
int runZentrikctl(const QStringList &arguments, QTextStream &out, QTextStream &err,
                  const CtlSurroundings &surroundings);
