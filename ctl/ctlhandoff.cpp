#include "ctl/ctlhandoff.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

bool ctlWindowIsRunning(const QString &windowBusName)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(windowBusName).value();
}

std::optional<QVariantMap> ctlHandToWindow(const QString &windowBusName, const QVariantMap &request,
                                           int timeoutMs)
{
    QString path = QLatin1Char('/') + windowBusName;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    QDBusMessage call = QDBusMessage::createMethodCall(windowBusName, path,
                                                       QStringLiteral("org.zentrik.Zentrik"),
                                                       QStringLiteral("Run"));
    call << request;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return qdbus_cast<QVariantMap>(reply.arguments().first());
}

bool ctlHoldScriptName(const QString &scriptBusName)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (scriptBusName.isEmpty() || !bus.isConnected() || !bus.interface())
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> held =
        bus.interface()->registerService(scriptBusName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    return !held.isValid() || held.value() == QDBusConnectionInterface::ServiceRegistered;
}
