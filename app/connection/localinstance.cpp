#include "app/connection/localinstance.h"

#include "model/logging.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// A later start writes this line; the first answers with kShown.
const QByteArray kActivate = QByteArrayLiteral("activate\n");
const QByteArray kShown = QByteArrayLiteral("shown\n");

// Local socket names and the temporary folder are shared by every user on
// some systems: the user's home folder tells them apart.
QString perUserName(const QString &name)
{
    const QByteArray home = QDir::homePath().toUtf8();
    return name + QLatin1Char('-')
        + QString::fromLatin1(QCryptographicHash::hash(home, QCryptographicHash::Sha1).toHex().left(12));
}

} // namespace

LocalInstance::LocalInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_serverName(perUserName(name))
    , m_lock(QDir::temp().filePath(m_serverName + QStringLiteral(".lock")))
{
    // A lock whose process is gone is taken over at once; a live holder
    // keeps it however long it runs.
    m_lock.setStaleLockTime(0);
}

LocalInstance::~LocalInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

LocalInstance::Claim LocalInstance::claim()
{
    // Two rounds: the holder may quit between our look at the lock and our
    // call to it, and then the lock is free for us.
    for (int round = 0; round < 2; ++round) {
        if (m_lock.tryLock(0)) {
            if (!listen())
                return Claim::Unchecked;
            qCDebug(lcApp).noquote() << "App: first instance, listens on" << m_serverName;
            return Claim::First;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            qCWarning(lcApp).noquote() << "App: no lock file in" << QDir::tempPath()
                                       << "so another instance cannot be ruled out";
            return Claim::Unchecked;
        }
        switch (askOwnerToActivate()) {
        case Ask::Answered:
            qCDebug(lcApp).noquote() << "App: another instance holds" << m_serverName
                                     << "and was raised";
            return Claim::HandedOver;
        case Ask::Failed:
            // Its lock says it is running: a second program on the same
            // keypad would do harm, an unraised window none.
            return Claim::HandedOver;
        case Ask::Gone:
            break;
        }
    }
    qCWarning(lcApp).noquote() << "App: the holder of" << m_serverName
                               << "kept changing, starting without the check";
    return Claim::Unchecked;
}

bool LocalInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket of this name is a crashed start's.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        qCWarning(lcApp).noquote() << "App: cannot listen on" << m_serverName
                                   << "so a later start will not find this one:"
                                   << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &LocalInstance::onNewConnection);
    return true;
}

void LocalInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            // Anything but the one request is ignored: the socket is the
            // user's, but its reader need not be Zentrik.
            if (socket->readLine(64) != kActivate) {
                socket->disconnectFromServer();
                return;
            }
            qCDebug(lcApp) << "App: another start asked this instance to show itself";
            socket->write(kShown);
            socket->flush();
            emit activationRequested();
        });
    }
}

LocalInstance::Ask LocalInstance::askOwnerToActivate()
{
    const QDeadlineTimer deadline(kHandOverTimeoutMs);
    QLocalSocket socket;
    // The holder may have taken the lock and not yet be listening.
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (!m_lock.tryLock(0) && m_lock.error() == QLockFile::LockFailedError
            && !deadline.hasExpired()) {
            QThread::msleep(10);
            continue;
        }
        if (m_lock.isLocked()) {
            m_lock.unlock();
            return Ask::Gone;
        }
        qCWarning(lcApp).noquote() << "App: another instance holds" << m_serverName
                                   << "but does not answer:" << socket.errorString();
        return Ask::Failed;
    }
    socket.write(kActivate);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    if (socket.canReadLine() && socket.readLine(64) == kShown)
        return Ask::Answered;
    qCWarning(lcApp).noquote() << "App: another instance holds" << m_serverName
                               << "but did not come to the front:" << socket.errorString();
    return Ask::Failed;
}
