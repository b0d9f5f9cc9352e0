// One Zentrik per session: a second start hands over to the first over a
// private session bus, the demo keeps a name of its own, and with no bus the
// program starts as it always did.

#include "tst_session_support.h"

#include "keypad/appidentity.h"
#include "app/look/raisewindow.h"
#include "app/connection/singleinstance.h"

#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QtTest>

using namespace sessiontest;

namespace {

constexpr int kProgramTimeoutMs = 30000;

// zentrik-demo on the given bus.
class BusDemoProgram : public DemoProgram
{
public:
    explicit BusDemoProgram(const QString &busAddress)
        : DemoProgram(QStringLiteral(ZENTRIK_DEMO_PROGRAM), QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                      busAddress)
    {
    }
};

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        if (!m_bus.start(&why))
            QSKIP(qPrintable(why));
        // Before anything here opens the session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }

    void secondStartHandsOver()
    {
        SingleInstance first(QString::fromLatin1(kDemoBusName));
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy raised(&first, &SingleInstance::activationRequested);

        // The event loop runs meanwhile, so this process can answer.
        BusDemoProgram second(m_bus.address());
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, kProgramTimeoutMs);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.said("and was raised"));
        QVERIFY(!second.said("Config loaded from device"));
        QCOMPARE(raised.count(), 1);
        // The first one still holds the name.
        QCOMPARE(QDBusConnection::sessionBus().interface()->serviceOwner(QString::fromLatin1(kDemoBusName)).value(),
                 QDBusConnection::sessionBus().baseService());
    }

    void demoRunsBesideZentrikAndAnswers()
    {
        SingleInstance zentrik(QString::fromLatin1(kBusName));
        QCOMPARE(zentrik.claim(), SingleInstance::Claim::First);
        QSignalSpy zentrikRaised(&zentrik, &SingleInstance::activationRequested);

        BusDemoProgram demo(m_bus.address());
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(QString::fromLatin1(kDemoBusName)).value(),
                                 kProgramTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("Config loaded from device"), kProgramTimeoutMs);

        // Now this process is the later start of the demo.
        SingleInstance later(QString::fromLatin1(kDemoBusName));
        QCOMPARE(later.claim(), SingleInstance::Claim::HandedOver);
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("asked this instance to show itself"), kProgramTimeoutMs);
        QCOMPARE(demo.state(), QProcess::Running);
        QCOMPARE(zentrikRaised.count(), 0);
    }

    void startsNormallyWithoutBus()
    {
        const QString nowhere =
            QStringLiteral("unix:path=") + m_bus.folder() + QStringLiteral("/no-bus-here");
        SingleInstance alone(QString::fromLatin1(kBusName),
                             QDBusConnection::connectToBus(nowhere, QStringLiteral("nowhere")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^App: no session bus")));
        QCOMPARE(alone.claim(), SingleInstance::Claim::Unchecked);

        // The program says why and goes on to open the keypad.
        BusDemoProgram demo(nowhere);
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("App: no session bus"), kProgramTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("Config loaded from device"), kProgramTimeoutMs);
        QCOMPARE(demo.state(), QProcess::Running);
    }

    void raiseKeepsTheWindowsSize()
    {
        QWidget window;
        window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        raiseWindow(&window);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
    }

private:
    PrivateSessionBus m_bus;
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
