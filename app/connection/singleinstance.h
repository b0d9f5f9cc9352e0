#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

// Keeps one Zentrik per desktop session: two programs writing one keypad's
// memory would interleave their packets. The first start owns a well-known
// name on the session bus and answers org.freedesktop.Application.Activate
// there; a later start asks it to come to the front and then quits. The
// window's own interface for zentrikctl is an adaptor of this object.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    enum class Claim {
        First,       // this process owns the name: start normally
        HandedOver,  // another one owns it and was asked to show itself: quit
        Unchecked,   // no usable bus: start normally, nothing could be checked
    };

    explicit SingleInstance(const QString &busName,
                            const QDBusConnection &bus = QDBusConnection::sessionBus(),
                            QObject *parent = nullptr);
    // Gives the name back, so a start that follows this one becomes first.
    ~SingleInstance() override;

    // Takes the name or hands over to its owner. Never waits longer than
    // kHandOverTimeoutMs for the running instance.
    Claim claim();

    const QDBusConnection &bus() const { return m_bus; }

    // "/org/zentrik/Zentrik" for "org.zentrik.Zentrik", as the freedesktop
    // application interface expects.
    static QString objectPath(const QString &busName);

    static constexpr int kHandOverTimeoutMs = 500;

public slots:
    // Called over the bus by a later start.
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);

signals:
    void activationRequested();

private:
    enum class Ask { Answered, Gone, Failed };
    Ask askOwnerToActivate();

    QString m_busName;
    QDBusConnection m_bus;
    bool m_owned = false;
};
