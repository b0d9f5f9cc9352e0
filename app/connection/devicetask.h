#pragma once

#include "device/hidmanager.h"

#include <QMetaObject>
#include <QPointer>
#include <QtConcurrent>

#include <atomic>
#include <memory>

// What a device task carries between the UI thread and the pool. Qt's thread
// pool and event queue already order both hand-overs, under Qt's own locks;
// `stage` states the same order in code the thread checker sees (the
// distribution's Qt is not built for it), so a result read on the UI thread
// is never reported as racing the worker that wrote it.
template <typename Result>
struct DeviceTaskHandover
{
    enum Stage { Posted, Done };
    std::atomic<int> stage{Posted};
    Result result{};
};

// Runs `work` with `link` on the global pool and hands its result to
// `deliver` on the UI thread. The device link carries the result back: it lives on the UI thread
// for the whole process, while the receiver may be gone by the time the task
// ends, and a result for a receiver that is gone is dropped.
template <typename Receiver, typename Work, typename Deliver>
void runDeviceTask(HIDManager &deviceLink, Receiver *receiver, Work work, Deliver deliver)
{
    using Result = decltype(work(deviceLink));
    using Handover = DeviceTaskHandover<Result>;
    HIDManager *link = &deviceLink;
    const QPointer<Receiver> guard(receiver);
    const auto handover = std::make_shared<Handover>();
    handover->stage.store(Handover::Posted, std::memory_order_release);
    // The result comes back through `deliver`, not through the future.
    (void)QtConcurrent::run([link, guard, work, deliver, handover] {
        [[maybe_unused]] const int posted = handover->stage.load(std::memory_order_acquire);
        Q_ASSERT(posted == Handover::Posted);
        handover->result = work(*link);
        handover->stage.store(Handover::Done, std::memory_order_release);
        QMetaObject::invokeMethod(
            link,
            [guard, deliver, handover] {
                [[maybe_unused]] const int done = handover->stage.load(std::memory_order_acquire);
                Q_ASSERT(done == Handover::Done);
                if (Receiver *target = guard.data())
                    deliver(target, handover->result);
            },
            Qt::QueuedConnection);
    });
}
