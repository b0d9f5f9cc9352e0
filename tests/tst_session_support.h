#pragma once

// Private desktop services for tests that start programs: a session bus and
// a headless Wayland compositor, each in a temporary folder of its own and
// gone when the test ends, also when it crashes.

#include "tst_qtcompat.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace sessiontest {

// A child that the kernel kills when the test process dies, so a failed or
// crashed test leaves no daemon or program behind. The destructor kills it
// on every ordinary way out.
class TiedProcess : public ChildSetupProcess
{
public:
    TiedProcess() : ChildSetupProcess([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }) {}
    ~TiedProcess() override
    {
        if (state() != NotRunning) {
            kill();
            waitForFinished(5000);
        }
    }
};

// zentrik-demo (or another program) offscreen, with one variable of its
// environment set, and its diagnostics collected.
class DemoProgram : public TiedProcess
{
public:
    DemoProgram(const QString &program, const QString &variable, const QString &value)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(variable, value);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        setProcessEnvironment(env);
        setProcessChannelMode(QProcess::MergedChannels);
        connect(this, &QProcess::readyRead, this, [this] { m_output += readAll(); });
        start(program, QStringList());
    }
    bool said(const char *text) const { return m_output.contains(text); }

private:
    QByteArray m_output;
};

// Waits, without an event loop, until `done` holds; false when it did not
// within `timeoutMs`. Only for services starting up, never a timed check.
template <typename Condition>
bool pollUntil(Condition done, int timeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(timeoutMs))
            return false;
        QThread::msleep(10);
    }
    return true;
}

// dbus-daemon --session listening in a temporary folder.
class PrivateSessionBus
{
public:
    // False with `why` set when the daemon is missing or did not start.
    bool start(QString *why)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty()) {
            *why = QStringLiteral("dbus-daemon is not installed (Debian package dbus)");
            return false;
        }
        if (!m_dir.isValid()) {
            *why = QStringLiteral("no temporary folder for the bus");
            return false;
        }
        m_daemon.start(program, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1"),
                                 QStringLiteral("--address=unix:dir=") + m_dir.path()});
        // The daemon prints its address once it listens.
        while (m_daemon.waitForReadyRead(20000) || m_daemon.canReadLine()) {
            if (m_daemon.canReadLine()) {
                m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
                return true;
            }
        }
        *why = QStringLiteral("dbus-daemon did not start: ")
            + QString::fromLocal8Bit(m_daemon.readAllStandardError());
        return false;
    }
    QString address() const { return m_address; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    TiedProcess m_daemon;
    QString m_address;
};

// weston with its headless backend, its socket in a private XDG_RUNTIME_DIR.
// Started before the test's application object exists, so no event loop.
class HeadlessWeston
{
public:
    bool start(QString *why)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("weston"));
        if (program.isEmpty()) {
            *why = QStringLiteral("weston is not installed (Debian package weston)");
            return false;
        }
        if (!m_runtimeDir.isValid()) {
            *why = QStringLiteral("no temporary folder for XDG_RUNTIME_DIR");
            return false;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DISPLAY"));
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.setStandardOutputFile(m_runtimeDir.filePath(QStringLiteral("weston.log")));
        m_weston.start(program, {QStringLiteral("--backend=headless-backend.so"),
                                 QStringLiteral("--socket=") + socketName(),
                                 QStringLiteral("--no-config"), QStringLiteral("--idle-time=0"),
                                 QStringLiteral("--use-pixman"), QStringLiteral("--width=1920"),
                                 QStringLiteral("--height=1200")});
        const QString socket = m_runtimeDir.filePath(socketName());
        if (m_weston.waitForStarted(20000)
            && pollUntil([&] { return QFileInfo::exists(socket) || m_weston.state() != QProcess::Running; })
            && m_weston.state() == QProcess::Running)
            return true;
        QFile log(m_runtimeDir.filePath(QStringLiteral("weston.log")));
        log.open(QIODevice::ReadOnly);
        *why = QStringLiteral("weston did not start: ") + QString::fromLocal8Bit(log.readAll());
        return false;
    }
    QString runtimeDir() const { return m_runtimeDir.path(); }
    static QString socketName() { return QStringLiteral("zentrik-test"); }

private:
    QTemporaryDir m_runtimeDir;
    TiedProcess m_weston;
};

} // namespace sessiontest
