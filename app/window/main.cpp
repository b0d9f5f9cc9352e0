#include "keypad/appidentity.h"
#include "app/look/imagememory.h"
#include "app/look/qtdialogtranslation.h"
#include "app/look/raisewindow.h"
#include "app/window/widget.h"
#include "device/hidmanager.h"
#include "keypad/settingsfile.h"
#ifdef ZENTRIK_PORTABLE
#include "app/connection/localinstance.h"
using InstanceGuard = LocalInstance;
#else
#include "app/connection/singleinstance.h"
using InstanceGuard = SingleInstance;
#endif

#include <QApplication>

#ifdef ZENTRIK_DEMO
#include "virtualkeypad.h"
#include "virtualwatcher.h"
#endif

int main(int argc, char *argv[])
{
    // The knob pictures live in the static program library; without this
    // reference the linker leaves them out.
    Q_INIT_RESOURCE(resources);
    reuseFreedImageMemory();
    QApplication app(argc, argv);
    // A Wayland compositor knows the window's name and icon only by this id.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileId));

    // One program per keypad: a second start shows the first one's window
    // and leaves, before it could open the keypad itself.
#ifdef ZENTRIK_DEMO
    InstanceGuard instance(QString::fromLatin1(kDemoBusName));
#else
    InstanceGuard instance(QString::fromLatin1(kBusName));
#endif
    const InstanceGuard::Claim claim = instance.claim();
    if (claim == InstanceGuard::Claim::HandedOver)
        return 0;

#ifdef ZENTRIK_DEMO
    // The demo build has a virtual keypad plugged in from the start; the
    // ZENTRIK_VIRTUAL_KEYPAD environment variable picks its model.
    VirtualKeypad::installDemoKeypad();
    // Its plugs and unplugs reach the link as udev's events would.
    HIDManager::instance()->setWatcher(new VirtualBusWatcher);
#endif
    // The settings file beside the executable chooses for the life of the
    // window.
    const AppSettings settings = readSettingsFile();
    if (settings.useChinese)
        installQtChineseTranslation(app);
    Widget window(settings, *HIDManager::instance());
    QObject::connect(&instance, &InstanceGuard::activationRequested, &window,
                     [&window] { raiseWindow(&window); });
#ifndef ZENTRIK_PORTABLE
    // zentrikctl hands its commands to this window while it runs.
#ifdef ZENTRIK_DEMO
    const QString scripts = QString::fromLatin1(kDemoScriptBusName);
#else
    const QString scripts = QString::fromLatin1(kScriptBusName);
#endif
    if (claim == SingleInstance::Claim::First)
        window.answerScriptsOn(&instance, instance.bus(), scripts);
#endif
    window.show();
    return app.exec();
}
