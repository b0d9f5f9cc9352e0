// "Allow access…": offered for a keypad the user may not open and for no
// other failure; pkexec (here a stand-in that records how it was called)
// runs the fixed helper; the keypad opens without a replug when it succeeds,
// and the commands are shown when it does not.

#include "app/connection/accessdoctor.h"
#include "tst_flows_support.h"

#include <QTemporaryDir>
#include <cerrno>

using namespace flowtest;

namespace {

QPushButton *allowAccessButton(const Widget &window)
{
    return window.findChild<QPushButton *>(QStringLiteral("allowAccessButton"));
}

QMessageBox *commandsBox(const Widget &window)
{
    for (QMessageBox *box : window.findChildren<QMessageBox *>(QStringLiteral("accessCommandsBox")))
        if (box->isVisible())
            return box;
    return nullptr;
}

int plugDenied(int error)
{
    VirtualKeypadConfig config;
    config.interfaces = {VirtualHidInterface::vendor(0), VirtualHidInterface::keyboard(1)};
    config.interfaces[0].openable = false;
    config.interfaces[0].openErrno = error;
    const int id = VirtualKeypad::plug(config);
    QCoreApplication::sendPostedEvents();
    return id;
}

} // namespace

class AccessDoctorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(resources);
        hearOnlyTheBus();
        QVERIFY(m_dir.isValid());
        // The stand-in writes its arguments one a line and ends with the
        // code the test asks for.
        m_standIn = m_dir.filePath(QStringLiteral("pkexec"));
        m_calls = m_dir.filePath(QStringLiteral("calls"));
        QFile script(m_standIn);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$CALLS\"\n"
                     "echo -- >> \"$CALLS\"\nexit \"$EXIT_CODE\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("CALLS", m_calls.toLocal8Bit());
        qputenv("ZENTRIK_PKEXEC", m_standIn.toLocal8Bit());
    }
    void init() { dropKeypads(); }
    void cleanup() { dropKeypads(); }

    void offeredOnlyWhenPermissionIsMissing();
    void grantedAccessOpensTheKeypadWithoutReplug();
    void refusedOrMissingPkexecShowsTheCommands();

private:
    QStringList calls() const
    {
        QFile file(m_calls);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir m_dir;
    QString m_standIn;
    QString m_calls;
};

void AccessDoctorTest::offeredOnlyWhenPermissionIsMissing()
{
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    QVERIFY(!allowAccessButton(*window)->isVisible());

    // Held by another program: the system's reason, nothing to allow.
    plugDenied(EBUSY);
    QVERIFY(statusLabel(*window)->text().startsWith(QStringLiteral("The keypad cannot be opened")));
    QVERIFY(!allowAccessButton(*window)->isVisible());

    // No udev rule: said so, with the offer and the hand-made fix in its tip.
    VirtualKeypad::reset();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(statusLabel(*window)->text(), kNoDeviceText);
    plugDenied(EACCES);
    QCOMPARE(statusLabel(*window)->text(), QStringLiteral("No access to the keypad"));
    QVERIFY(statusLabel(*window)->toolTip().contains(QLatin1String("cmake --install")));
    QVERIFY(allowAccessButton(*window)->isVisible());
    QCOMPARE(allowAccessButton(*window)->text(), QStringLiteral("Allow access…"));

    // Gone again: the offer goes with it.
    VirtualKeypad::unplug();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(statusLabel(*window)->text(), kNoDeviceText);
    QVERIFY(!allowAccessButton(*window)->isVisible());
}

void AccessDoctorTest::grantedAccessOpensTheKeypadWithoutReplug()
{
    QFile::remove(m_calls);
    qputenv("EXIT_CODE", "0");
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    const int id = plugDenied(EACCES);
    QVERIFY(allowAccessButton(*window)->isVisible());

    // The rule is in place once the helper has run; no event says so.
    VirtualKeypad::setOpenable(true, 0, id);
    allowAccessButton(*window)->click();
    QVERIFY(!allowAccessButton(*window)->isEnabled());
    QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }, 5000));
    QCOMPARE(calls(), QStringList({AccessDoctor::helperPath(), QStringLiteral("--")}));
    QVERIFY(AccessDoctor::helperPath().endsWith(QLatin1String("/lib/zentrik/zentrik-allow-access")));
    QVERIFY(QDir::isAbsolutePath(AccessDoctor::helperPath()));
    QCOMPARE(VirtualKeypad::openCount(VirtualKeypad::paths(id)[0]), 1);
    QVERIFY(VirtualKeypad::isPlugged(id));
    QVERIFY(!allowAccessButton(*window)->isVisible());
    QVERIFY(!commandsBox(*window));
}

void AccessDoctorTest::refusedOrMissingPkexecShowsTheCommands()
{
    auto window = makeWindow();
    window->show();
    QCoreApplication::processEvents();
    plugDenied(EACCES);

    // Dismissed (126), failed (127), or no pkexec to ask: the commands.
    for (const QByteArray &exitCode : {QByteArray("126"), QByteArray("127"), QByteArray()}) {
        QFile::remove(m_calls);
        qputenv("EXIT_CODE", exitCode);
        if (exitCode.isEmpty())
            qputenv("ZENTRIK_PKEXEC", m_dir.filePath(QStringLiteral("missing")).toLocal8Bit());
        allowAccessButton(*window)->click();
        QVERIFY2(waitFor([&] { return commandsBox(*window) != nullptr; }, 5000), exitCode);
        const QString shown = commandsBox(*window)->text();
        for (const QString &command : AccessDoctor::manualCommands())
            QVERIFY2(shown.contains(command.toHtmlEscaped()), qPrintable(command));
        QVERIFY(shown.contains(QLatin1String("/etc/udev/rules.d/70-zentrik.rules")));
        QCOMPARE(calls().size(), exitCode.isEmpty() ? 0 : 2);
        commandsBox(*window)->close();
        QCoreApplication::processEvents();
        QCOMPARE(statusLabel(*window)->text(), QStringLiteral("No access to the keypad"));
        QVERIFY(allowAccessButton(*window)->isEnabled());
    }
    qputenv("ZENTRIK_PKEXEC", m_standIn.toLocal8Bit());
}

QTEST_MAIN(AccessDoctorTest)
#include "tst_access_doctor.moc"
