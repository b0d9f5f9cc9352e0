#include "app/widget.h"

#include <QApplication>

#ifdef ZENTRIK_DEMO
#include "virtualkeypad.h"
#endif

int main(int argc, char *argv[])
{
    // The knob pictures live in the static program library; without this
    // reference the linker leaves them out.
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
#ifdef ZENTRIK_DEMO
    // The demo build has a virtual keypad plugged in from the start; the
    // ZENTRIK_VIRTUAL_KEYPAD environment variable picks its model.
    VirtualKeypad::installDemoKeypad();
#endif
    Widget window;
    window.show();
    return app.exec();
}
