#include "ctl/ctlcommands.h"

#include "keypad/appidentity.h"
#include "keypad/configurationhistory.h"
#include "keypad/settingsfile.h"
#include "model/qtcompat.h"
#include "model/translation.h"

#include "device/hidmanager.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

#ifdef ZENTRIK_DEMO
#include "virtualkeypad.h"
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentrikctl"));
    // Standard output carries the results alone, and standard error what
    // went wrong; the link's traces stay out of both.
    HIDManager::setRequestLinesPrinted(false);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    // The window's settings file chooses the language and the history here too.
    const AppSettings settings = readSettingsFile();
    setInterfaceChinese(settings.useChinese);
#ifdef ZENTRIK_DEMO
    // The demo keypad of zentrik-demo, picked by ZENTRIK_VIRTUAL_KEYPAD;
    // "none" plugs nothing in.
    if (qgetenv("ZENTRIK_VIRTUAL_KEYPAD") != "none")
        VirtualKeypad::installDemoKeypad();
    const QString bus = QString::fromLatin1(kDemoBusName);
    const QString scripts = QString::fromLatin1(kDemoScriptBusName);
#else
    const QString bus = QString::fromLatin1(kBusName);
    const QString scripts = QString::fromLatin1(kScriptBusName);
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    useUtf8(out);
    useUtf8(err);
    return runZentrikctl(app.arguments().mid(1), out, err,
                         CtlSurroundings{bus, scripts, settings.keepHistory,
                                         ConfigurationHistory::defaultRoot()});
}
