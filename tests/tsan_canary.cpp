// Two deliberate data races, the shapes the threaded tests must be able to
// catch: a worker against the test thread, and a worker against a callback
// the test thread runs from its event loop while it waits. scripts/sanitize
// runs this with the suppressions of tests/tsan.supp and fails unless
// ThreadSanitizer reports both, so a suppression broad enough to hide the
// program's own races cannot slip in.

#include <QTest>
#include <QTimer>
#include <QtConcurrent>

namespace {
int sharedWithWorker = 0;
int sharedWithCallback = 0;
} // namespace

class TsanCanary : public QObject
{
    Q_OBJECT

private slots:
    void workerAgainstTestThread()
    {
        QFuture<void> worker = QtConcurrent::run([] {
            for (int i = 0; i < 1000; ++i)
                sharedWithWorker = i;
        });
        int sum = 0;
        for (int i = 0; i < 100000; ++i)
            sum += sharedWithWorker;
        worker.waitForFinished();
        QVERIFY(sum >= 0);
    }

    void workerAgainstEventLoopCallback()
    {
        QFuture<void> worker = QtConcurrent::run([] { sharedWithCallback = 7; });
        QTimer::singleShot(20, [] {
            for (int i = 0; i < 1000; ++i)
                sharedWithCallback += 1;
        });
        QTest::qWait(100);
        worker.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TsanCanary)
#include "tsan_canary.moc"
