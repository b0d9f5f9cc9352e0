// zentrikctl and the window, over the session bus: while the window runs it
// answers zentrikctl's commands, and a keypad found while zentrikctl has it
// open is read once zentrikctl lets go.

#include "app/window/widget.h"

#include "app/connection/connectionflows.h"
#include "app/keypadview/keypadview.h"
#include "app/connection/scriptgate.h"
#include "app/look/statusline.h"
#include "app/files/windowcommands.h"
#include "model/translation.h"

void Widget::answerScriptsOn(QObject *busObject, const QDBusConnection &bus,
                             const QString &scriptBusName)
{
    m_scriptGate = new ScriptGate(bus, scriptBusName, this);
    connect(m_scriptGate, &ScriptGate::waiting, m_status, [this] {
        m_status->showNotice(translateText(
            QStringLiteral("zentrikctl is using the keypad: Zentrik reads it when that is done")));
    });
    new WindowCommands(busObject, bus,
                       WindowCommands::Parts{*m_flows, m_keyboardData, *m_fileCommands, [this] {
                                                 return ConnectedKeypad{m_flows->state(),
                                                                        currentLayout(),
                                                                        m_view->controlMap()};
                                             }});
}
