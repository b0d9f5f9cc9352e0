#include "app/connection/singleinstance.h"

#include "model/logging.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

namespace {
const QString kInterface = QStringLiteral("org.freedesktop.Application");
}

SingleInstance::SingleInstance(const QString &busName, const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_busName(busName), m_bus(bus)
{
}

SingleInstance::~SingleInstance()
{
    if (!m_owned)
        return;
    m_bus.unregisterObject(objectPath(m_busName));
    if (QDBusConnectionInterface *bus = m_bus.interface())
        bus->unregisterService(m_busName);
}

QString SingleInstance::objectPath(const QString &busName)
{
    QString path = QLatin1Char('/') + busName;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    path.replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!m_bus.isConnected() || !m_bus.interface()) {
        qCWarning(lcApp).noquote() << "App: no session bus, so another instance cannot be ruled out:"
                                   << m_bus.lastError().message();
        return Claim::Unchecked;
    }
    const QString path = objectPath(m_busName);
    // Two rounds: the owner may quit between our request for the name and
    // our call to it, and then the name is free for us.
    for (int round = 0; round < 2; ++round) {
        // The object is in place before the name is ours, so an Activate sent
        // the moment another start sees the name finds someone to answer.
        m_bus.registerObject(path, this,
                             QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAdaptors);
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            m_bus.interface()->registerService(m_busName, QDBusConnectionInterface::DontQueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) {
            m_bus.unregisterObject(path);
            qCWarning(lcApp).noquote() << "App: could not ask the session bus for" << m_busName
                                       << "so another instance cannot be ruled out:"
                                       << reply.error().message();
            return Claim::Unchecked;
        }
        if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_owned = true;
            qCDebug(lcApp).noquote() << "App: first instance, owns" << m_busName;
            return Claim::First;
        }
        m_bus.unregisterObject(path);
        switch (askOwnerToActivate()) {
        case Ask::Answered:
            qCDebug(lcApp).noquote() << "App: another instance owns" << m_busName << "and was raised";
            return Claim::HandedOver;
        case Ask::Failed:
            // Its name says it is running: a second program on the same
            // keypad would do harm, an unraised window none.
            return Claim::HandedOver;
        case Ask::Gone:
            break;
        }
    }
    qCWarning(lcApp).noquote() << "App: the owner of" << m_busName
                               << "kept changing, starting without the check";
    return Claim::Unchecked;
}

SingleInstance::Ask SingleInstance::askOwnerToActivate()
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_busName, objectPath(m_busName), kInterface,
                                                       QStringLiteral("Activate"));
    call << QVariantMap();
    const QDBusMessage answer = m_bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return Ask::Answered;
    if (answer.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || answer.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Ask::Gone;
    qCWarning(lcApp).noquote() << "App: another instance owns" << m_busName
                               << "but did not come to the front:" << answer.errorMessage();
    return Ask::Failed;
}

void SingleInstance::Activate(const QVariantMap &)
{
    qCDebug(lcApp) << "App: another start asked this instance to show itself";
    emit activationRequested();
}
