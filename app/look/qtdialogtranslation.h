#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own dialogs (the file and print dialogs, the buttons of a question)
// speak Chinese with the rest of the window once Qt's translation is
// installed on the application. Returns the translator, owned by `app`, or
// null when Qt's Chinese translation is not on this machine: those dialogs
// then stay in English, and a warning says why.
QTranslator *installQtChineseTranslation(QCoreApplication &app);
