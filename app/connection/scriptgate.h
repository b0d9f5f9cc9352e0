#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

class QDBusServiceWatcher;

// zentrikctl holds a name on the session bus while it has the keypad open
// itself (no window was running when it started). A keypad the window finds
// meanwhile is read only once that name is gone, so two programs never talk
// to the keypad at once.
class ScriptGate : public QObject
{
    Q_OBJECT
public:
    ScriptGate(const QDBusConnection &bus, const QString &scriptBusName, QObject *parent);

    // Runs `go` now, or once zentrikctl has let go of the keypad. Asking the
    // bus does not block the window.
    void whenFree(std::function<void()> go);
    // The keypad went away: nothing waits any more.
    void cancel();

signals:
    // zentrikctl has the keypad; the window waits for it.
    void waiting();

private:
    void release();

    QDBusConnection m_bus;
    QString m_name;
    QDBusServiceWatcher *m_watcher = nullptr;
    std::function<void()> m_waiting;
    int m_serial = 0;
};
