#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// zentrikctl: the keypad from a script. `arguments` are the command line
// without the program's name; results go to `out`, errors and progress to
// `err`. `windowBusName` is the bus name Zentrik's window holds while it
// runs: the keypad is then left to the window. Returns the exit code.
int runZentrikctl(const QStringList &arguments, QTextStream &out, QTextStream &err,
                  const QString &windowBusName);
