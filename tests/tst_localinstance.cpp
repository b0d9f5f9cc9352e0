// The portable build's guard: a second start hands over to the first through
// a local socket and quits, in either order of test and program, and a lock
// left by a killed first start does not keep the next one out.

#include "tst_session_support.h"

#include "app/connection/localinstance.h"
#include "keypad/appidentity.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace sessiontest;

namespace {

constexpr int kProgramTimeoutMs = 30000;
// Started below with HOME set to the test's own folder.
const QString kDemo = QStringLiteral(ZENTRIK_DEMO_PROGRAM);

} // namespace

class LocalInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsOverEitherWay()
    {
        // A home of its own: the lock and the socket are named after it, so
        // no other test's program meets these.
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toUtf8());
        const QString name = QString::fromLatin1(kDemoBusName);

        {
            LocalInstance first(name);
            QCOMPARE(first.claim(), LocalInstance::Claim::First);
            QSignalSpy raised(&first, &LocalInstance::activationRequested);
            // The event loop runs meanwhile, so this process can answer.
            DemoProgram second(kDemo, QStringLiteral("HOME"), home.path());
            QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, kProgramTimeoutMs);
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
            QVERIFY(second.said("and was raised"));
            QVERIFY(!second.said("Config loaded from device"));
            QCOMPARE(raised.count(), 1);
            // A guard of another name stands apart.
            QVERIFY(LocalInstance(QStringLiteral("org.zentrik.Other")).claim()
                    == LocalInstance::Claim::First);
        }

        // Given back, the name is free: now the program is first.
        DemoProgram demo(kDemo, QStringLiteral("HOME"), home.path());
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("Config loaded from device"), kProgramTimeoutMs);
        {
            LocalInstance later(name);
            QCOMPARE(later.claim(), LocalInstance::Claim::HandedOver);
        }
        QTRY_VERIFY_WITH_TIMEOUT(demo.said("asked this instance to show itself"), kProgramTimeoutMs);
        QCOMPARE(demo.state(), QProcess::Running);

        // Killed, it leaves its lock and socket behind; the next start is first.
        demo.kill();
        QVERIFY(demo.waitForFinished(kProgramTimeoutMs));
        LocalInstance next(name);
        QCOMPARE(next.claim(), LocalInstance::Claim::First);
    }
};

QTEST_MAIN(LocalInstanceTest)
#include "tst_localinstance.moc"
