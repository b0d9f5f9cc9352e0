// The window's device tasks: a result built on a worker reaches the UI thread
// whole, and one whose receiver is gone is dropped. Under ThreadSanitizer the
// first case also guards the hand-over itself: the UI thread reads what the
// worker wrote with nothing else ordering the two.

#include "app/connection/devicetask.h"

#include <QtTest>

#include <atomic>
#include <numeric>

namespace {

// Waits for the pool and delivers what it posted the way a busy UI thread
// does: without reading the event loop's wake-up, whose descriptor would
// order the two threads for the thread checker whatever the task does.
void deliverWithoutAWakeUp()
{
    while (QThreadPool::globalInstance()->activeThreadCount() > 0)
        QThread::yieldCurrentThread();
    QCoreApplication::sendPostedEvents();
}

} // namespace

class FlowsDeviceTaskTest : public QObject
{
    Q_OBJECT
private slots:
    void resultsReachTheUiThreadOrAreDropped();
};

void FlowsDeviceTaskTest::resultsReachTheUiThreadOrAreDropped()
{
    constexpr int kCount = 4096;
    QObject receiver;
    qint64 sum = -1;
    bool onUiThread = false;
    runDeviceTask(
        *HIDManager::instance(), &receiver,
        [](HIDManager &) {
            QVector<int> values(kCount);
            std::iota(values.begin(), values.end(), 1);
            return values;
        },
        [&](QObject *, const QVector<int> &values) {
            onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            sum = std::accumulate(values.cbegin(), values.cend(), qint64(0));
        });
    deliverWithoutAWakeUp();
    QCOMPARE(sum, qint64(kCount) * (kCount + 1) / 2);
    QVERIFY(onUiThread);

    // The receiver goes while its task still runs.
    auto *gone = new QObject;
    std::atomic<bool> release{false};
    bool delivered = false;
    runDeviceTask(
        *HIDManager::instance(), gone,
        [&release](HIDManager &) {
            while (!release.load())
                QThread::msleep(1);
            return 1;
        },
        [&delivered](QObject *, int) { delivered = true; });
    delete gone;
    release.store(true);
    deliverWithoutAWakeUp();
    QVERIFY(!delivered);
}

QTEST_GUILESS_MAIN(FlowsDeviceTaskTest)
#include "tst_flows_devicetask.moc"
