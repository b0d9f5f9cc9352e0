// zentrikctl while the window runs: the command goes to the window over a
// private session bus, the window writes the keypad with its own save as one
// undo step, and the answer comes back to the command.

#include "tst_keypad_file_support.h"
#include "tst_session_support.h"

#include "app/edithistory.h"
#include "app/singleinstance.h"
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

} // namespace

class CtlHandoffTest : public QObject
{
    Q_OBJECT
private slots:
    void theWindowCarriesOutTheCommand();
    void aWindowWaitsForAScriptThatHasTheKeypad();
};

void CtlHandoffTest::theWindowCarriesOutTheCommand()
{
    sessiontest::PrivateSessionBus bus;
    QString why;
    if (!bus.start(&why))
        QSKIP(qPrintable(why));
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "window");
    QVERIFY(connection.isConnected());

    Session session;
    QVERIFY(session.connect("16k3e"));
    QVERIFY(session.loaded());
    SingleInstance instance(QString::fromLatin1(kDemoBusName), connection);
    QCOMPARE(instance.claim(), SingleInstance::Claim::First);
    session.window->answerScriptsOn(&instance, connection, QString::fromLatin1(kDemoScriptBusName));

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
        return Ran{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
    };

    const QString original = session.folder.filePath(QStringLiteral("original.zentrik.json"));
    const Ran exported = run({QStringLiteral("export"), original});
    QVERIFY2(exported.exit == 0, qPrintable(exported.err));
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

    QCOMPARE(run({QStringLiteral("diff"), changed}).exit, 1);
    const int steps = session.window->editHistory()->stack()->count();
    const Ran applied = run({QStringLiteral("apply"), changed});
    QCOMPARE(applied.exit, 0);
    QVERIFY2(applied.out.contains(QStringLiteral("Saved; the keypad holds the file.")),
             qPrintable(applied.out + applied.err));
    QCOMPARE(VirtualKeypad::key(0, 0), VirtualKeySlot::singleKey(kUsageB));
    // As the user would have: one undo step, saved.
    QCOMPARE(session.window->editHistory()->stack()->count(), steps + 1);
    QVERIFY(!session.store().hasUnsavedChanges());
    QCOMPARE(run({QStringLiteral("diff"), changed}).exit, 0);

    // The user's own unsaved edits are not written along with a script's.
    session.window->controlButton(3)->click();
    session.store().appendBaseKey(kUsageB);
    const Ran refused = run({QStringLiteral("apply"), original});
    QCOMPARE(refused.exit, 5);
    QVERIFY2(refused.err.contains(QStringLiteral("unsaved")), qPrintable(refused.err));
    QCOMPARE(VirtualKeypad::key(0, 0), VirtualKeySlot::singleKey(kUsageB));
    QDBusConnection::disconnectFromBus("window");
}

void CtlHandoffTest::aWindowWaitsForAScriptThatHasTheKeypad()
{
    sessiontest::PrivateSessionBus bus;
    QString why;
    if (!bus.start(&why))
        QSKIP(qPrintable(why));
    QDBusConnection window = QDBusConnection::connectToBus(bus.address(), "window");
    QDBusConnection script = QDBusConnection::connectToBus(bus.address(), "script");
    QVERIFY(script.registerService(QString::fromLatin1(kDemoScriptBusName)));

    Session session;
    session.window->answerScriptsOn(session.window.get(), window,
                                    QString::fromLatin1(kDemoScriptBusName));
    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(waitFor([&] { return statusLabel(*session.window)->text().startsWith("zentrikctl"); }));
    QTest::qWait(300);
    QVERIFY(!configLoaded(session.log));

    // The script ends: the keypad is read at once.
    QVERIFY(script.unregisterService(QString::fromLatin1(kDemoScriptBusName)));
    QVERIFY(session.loaded());
    QDBusConnection::disconnectFromBus("script");
    QDBusConnection::disconnectFromBus("window");
}

QTEST_MAIN(CtlHandoffTest)
#include "tst_ctl_handoff.moc"
