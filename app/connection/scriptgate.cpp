#include "app/connection/scriptgate.h"

#include "model/logging.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

ScriptGate::ScriptGate(const QDBusConnection &bus, const QString &scriptBusName, QObject *parent)
    : QObject(parent), m_bus(bus), m_name(scriptBusName)
{
    m_watcher = new QDBusServiceWatcher(m_name, m_bus, QDBusServiceWatcher::WatchForUnregistration,
                                        this);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &ScriptGate::release);
}

void ScriptGate::whenFree(std::function<void()> go)
{
    const int serial = ++m_serial;
    m_waiting = std::move(go);
    if (!m_bus.isConnected() || !m_bus.interface()) {
        release();
        return;
    }
    auto *call = new QDBusPendingCallWatcher(
        m_bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), m_name), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, serial] {
        call->deleteLater();
        if (serial != m_serial || !m_waiting)
            return;
        const QDBusPendingReply<bool> owned = *call;
        if (owned.isValid() && owned.value()) {
            qCInfo(lcApp).noquote() << "App: zentrikctl has the keypad; the read waits for it";
            emit waiting();
            return;
        }
        release();
    });
}

void ScriptGate::cancel()
{
    ++m_serial;
    m_waiting = nullptr;
}

void ScriptGate::release()
{
    if (!m_waiting)
        return;
    const std::function<void()> go = std::move(m_waiting);
    m_waiting = nullptr;
    go();
}
