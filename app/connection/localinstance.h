#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

// One Zentrik per user where there is no session bus (the portable build):
// the first start holds a lock file and listens on a local socket (a named
// pipe on Windows); a later start finds the lock taken, asks the listener to
// bring its window to the front, and quits. The lock, not the socket, says
// who is first, so two starts at the same moment never both listen, and a
// crashed first start leaves a stale lock that the next one takes over.
class LocalInstance : public QObject
{
    Q_OBJECT
public:
    // As SingleInstance's, so main() reads both alike.
    enum class Claim {
        First,       // this process holds the lock: start normally
        HandedOver,  // another one holds it and was asked to show itself: quit
        Unchecked,   // no lock or socket could be made: start normally
    };

    explicit LocalInstance(const QString &name, QObject *parent = nullptr);
    ~LocalInstance() override;

    // Takes the lock or hands over to its holder. Never waits longer than
    // about kHandOverTimeoutMs for the running instance.
    Claim claim();

    // The socket's name: `name` and the user, so users never meet.
    QString serverName() const { return m_serverName; }

    static constexpr int kHandOverTimeoutMs = 500;

signals:
    void activationRequested();

private:
    enum class Ask { Answered, Gone, Failed };
    Ask askOwnerToActivate();
    bool listen();
    void onNewConnection();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
