// zentrikctl while the window runs: the command goes to the window over a
// private session bus, the window writes the keypad with its own save as one
// undo step, and the answer comes back to the command.

#include "tst_keypad_file_support.h"
#include "tst_control_support.h"
#include "tst_session_support.h"

#include "app/editing/edithistory.h"
#include "app/connection/singleinstance.h"
#include "keypad/appidentity.h"

#include <QDBusConnection>
#include <QUndoStack>
#include <QtTest>

using namespace filetest;

namespace {

constexpr uint8_t kUsageB = 0x05;

struct Ran {
    int exit = -1;
    QString out;
    QString err;
};

// A connection of its own to the private bus, gone with the scope, so a
// failed check leaves no connection behind for the next test function.
class NamedConnection
{
public:
    NamedConnection(const QString &address, const QString &name)
        : m_name(name), m_connection(QDBusConnection::connectToBus(address, name))
    {
    }
    ~NamedConnection() { QDBusConnection::disconnectFromBus(m_name); }
    QDBusConnection &operator*() { return m_connection; }
    QDBusConnection *operator->() { return &m_connection; }

private:
    QString m_name;
    QDBusConnection m_connection;
};

// What a failed check shows: the command's own words and the window's log.
QByteArray told(const Ran &ran, const LogCapture &log)
{
    return (QStringLiteral("exit %1\nout: %2\nerr: %3\nwindow:\n").arg(ran.exit).arg(ran.out, ran.err)
            + log.lines().join(QLatin1Char('\n')))
        .toLocal8Bit();
}

} // namespace

class CtlHandoffTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void theWindowCarriesOutTheCommand();
    void aWindowWaitsForAScriptThatHasTheKeypad();
};

void CtlHandoffTest::theWindowCarriesOutTheCommand()
{
    sessiontest::PrivateSessionBus bus;
    QString why;
    if (!bus.start(&why))
        QSKIP(qPrintable(why));
    NamedConnection connection(bus.address(), QStringLiteral("carries-out"));
    QVERIFY(connection->isConnected());

    Session session;
    QVERIFY(session.connect("16k3e"));
    QVERIFY(session.loaded());
    SingleInstance instance(QString::fromLatin1(kDemoBusName), *connection);
    QCOMPARE(instance.claim(), SingleInstance::Claim::First);
    session.window->answerScriptsOn(&instance, *connection, QString::fromLatin1(kDemoScriptBusName));

    // The program plugs in no keypad of its own: only the window's is there.
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../zentrikctl-demo");
    const auto run = [&](const QStringList &arguments) {
        sessiontest::TiedProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZENTRIK_VIRTUAL_KEYPAD"), QStringLiteral("none"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        // The window answers from this event loop.
        waitFor([&] { return process.state() == QProcess::NotRunning; }, 30000);
        // A crash or a hang is not an exit code.
        const bool exited = process.state() == QProcess::NotRunning
            && process.exitStatus() == QProcess::NormalExit;
        return Ran{exited ? process.exitCode() : -1,
                   QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
    };

    const QString original = session.folder.filePath(QStringLiteral("original.zentrik.json"));
    const Ran exported = run({QStringLiteral("export"), original});
    QVERIFY2(exported.exit == 0, told(exported, session.log).constData());
    KeypadFile file = *readKeypadFile(readFile(original)).file;
    KeypadFileControl control{ControlRole{RolePart::Key, 1}, KeyConfig(), false};
    control.record.setSingleKey(kUsageB);
    QVector<KeypadFileControl> &controls = file.layers[0].controls;
    controls.erase(std::remove_if(controls.begin(), controls.end(),
                                  [&](const KeypadFileControl &c) { return c.role == control.role; }),
                   controls.end());
    controls.prepend(control);
    const QString changed = session.folder.filePath(QStringLiteral("changed.zentrik.json"));
    writeFile(changed, writeKeypadFile(file));

    const Ran differs = run({QStringLiteral("diff"), changed});
    QVERIFY2(differs.exit == 1, told(differs, session.log).constData());
    const int steps = session.window->findChild<EditHistory *>()->stack()->count();
    const Ran applied = run({QStringLiteral("apply"), changed});
    QVERIFY2(applied.exit == 0, told(applied, session.log).constData());
    QVERIFY2(applied.out.contains(QStringLiteral("Saved; the keypad holds the file.")),
             told(applied, session.log).constData());
    QCOMPARE(VirtualKeypad::key(0, 0), VirtualKeySlot::singleKey(kUsageB));
    // As the user would have: one undo step, saved.
    QCOMPARE(session.window->findChild<EditHistory *>()->stack()->count(), steps + 1);
    QVERIFY(!session.store().hasUnsavedChanges());
    const Ran holds = run({QStringLiteral("diff"), changed});
    QVERIFY2(holds.exit == 0, told(holds, session.log).constData());

    // The user's own unsaved edits are not written along with a script's.
    controlButton(*session.window, 3)->click();
    session.store().appendBaseKey(kUsageB);
    const Ran refused = run({QStringLiteral("apply"), original});
    QVERIFY2(refused.exit == 5, told(refused, session.log).constData());
    QVERIFY2(refused.err.contains(QStringLiteral("unsaved")), told(refused, session.log).constData());
    QCOMPARE(VirtualKeypad::key(0, 0), VirtualKeySlot::singleKey(kUsageB));
}

void CtlHandoffTest::aWindowWaitsForAScriptThatHasTheKeypad()
{
    sessiontest::PrivateSessionBus bus;
    QString why;
    if (!bus.start(&why))
        QSKIP(qPrintable(why));
    NamedConnection window(bus.address(), QStringLiteral("waits"));
    NamedConnection script(bus.address(), QStringLiteral("script"));
    QVERIFY(script->registerService(QString::fromLatin1(kDemoScriptBusName)));

    Session session;
    session.window->answerScriptsOn(session.window.get(), *window,
                                    QString::fromLatin1(kDemoScriptBusName));
    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY2(waitFor([&] { return statusLabel(*session.window)->text().startsWith("zentrikctl"); }),
             qPrintable(statusLabel(*session.window)->text()));
    QTest::qWait(300);
    QVERIFY(!configLoaded(session.log));

    // The script ends: the keypad is read at once.
    QVERIFY(script->unregisterService(QString::fromLatin1(kDemoScriptBusName)));
    QVERIFY(session.loaded());
}

QTEST_MAIN(CtlHandoffTest)
#include "tst_ctl_handoff.moc"
