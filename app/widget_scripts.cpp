// zentrikctl and the window, over the session bus: while the window runs it
// answers zentrikctl's commands, and a keypad found while zentrikctl has it
// open is read once zentrikctl lets go.

#include "app/widget.h"

#include "app/connectionflows.h"
#include "app/keyselection.h"
#include "app/scriptgate.h"
#include "app/statusline.h"
#include "app/windowcommands.h"
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
                                                                        m_selection->controlMap()};
                                             }});
}
