#pragma once

#include "ctl/ctlwork.h"
#include "keypad/connectedkeypad.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class ConnectionFlows;
class KeyboardData;
class KeypadFileCommands;

// org.zentrik.Zentrik: zentrikctl's commands, handed to the running window
// so that one program writes the keypad. The window answers from what the
// keypad holds as it last read and saved it; an apply is laid on the store
// as one step of the undo history and written by the window's own verified
// save, and the answer goes back when the save has ended. While the window
// has unsaved edits, a write is refused rather than saved along with them.
class WindowCommands : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zentrik.Zentrik")

public:
    struct Parts {
        ConnectionFlows &flows;
        KeyboardData &store;
        KeypadFileCommands &files;
        // The connected keypad: its state, picture and controls.
        std::function<ConnectedKeypad()> keypad;
    };

    // Becomes an interface of `busObject`, which is registered on `bus`.
    WindowCommands(QObject *busObject, const QDBusConnection &bus, Parts parts);

public slots:
    // A request as zentrikctl sends it; the answer holds its exit code,
    // its output and, for export, the file.
    QVariantMap Run(const QVariantMap &request, const QDBusMessage &message);

private:
    struct Pending {
        CtlRequest request;
        CtlWrite write;
        QDBusMessage message;
    };
    std::unique_ptr<CtlKeypad> heldKeypad() const;
    void onSaveFinished(bool ok);

    QDBusConnection m_bus;
    Parts m_parts;
    std::optional<Pending> m_pending;
    QString m_pendingOut;
};
