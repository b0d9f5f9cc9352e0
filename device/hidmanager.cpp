#include "device/hidmanager.h"

#include "device/candidates.h"
#include "device/devicewatcher.h"
#include "device/keypadslots.h"
#include "device/openfailurelog.h"
#include "model/logging.h"

#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <QVector>
#include <algorithm>
#include <cerrno>

namespace {

// Without device events the search runs twice a second; with them, every
// ten seconds for an event that never came.
constexpr int kScanIntervalMs = 500;
constexpr int kSafetyScanIntervalMs = 10000;
// How long a node that appeared may still refuse the user (udev's rules
// have not run yet), and how often it is tried meanwhile.
constexpr int kAccessRetryMs = 1500;
constexpr int kAccessRetryStepMs = 50;
constexpr int kHeartbeatIntervalMs = 1000;
constexpr int kRestartDelayMs = 500;
constexpr int kProbeReadSize = 2;

bool interfaceAccepted(const hid_device_info &device, int pass)
{
    if (device.usage_page == kVendorUsagePage && device.usage == kVendorUsage)
        return true;
    return pass == 1 && device.interface_number == kFallbackInterface;
}

// hidapi keeps the reason a hid_open_path failed as its global error.
QString lastOpenError()
{
    const wchar_t *text = hid_error(nullptr);
    return text ? QString::fromWCharArray(text) : QString();
}

} // namespace

HIDManager::HIDManager()
{
    heartbeatTimer = new QTimer(this);
    heartbeatTimer->setInterval(kHeartbeatIntervalMs);
    connect(heartbeatTimer, &QTimer::timeout, this, [this] { onPresenceProbe(); });
}

HIDManager::~HIDManager()
{
    if (scanTimer && scanTimer->isActive())
        scanTimer->stop();
    closeDevice();
}

HIDManager *HIDManager::instance()
{
    static HIDManager *manager = new HIDManager;
    return manager;
}

// ---- device lock ----------------------------------------------------------

void HIDManager::acquireDevice()
{
    deviceLock.lock();
    lockOwner.store(QThread::currentThreadId());
}

bool HIDManager::tryAcquireDevice()
{
    if (!deviceLock.tryLock())
        return false;
    lockOwner.store(QThread::currentThreadId());
    return true;
}

void HIDManager::releaseDevice()
{
    const bool closeNow = closeRequested.exchange(false);
    const bool wasConnected = closeNow && closeHandleLocked();
    lockOwner.store(nullptr);
    deviceLock.unlock();
    if (closeNow)
        reportLoss(wasConnected, QThread::currentThread() != thread());
}

bool HIDManager::holdsDevice() const
{
    return lockOwner.load() == QThread::currentThreadId();
}

HIDManager::DeviceSession::DeviceSession(HIDManager &manager)
    : m_manager(manager)
{
    m_manager.acquireDevice();
    m_manager.busy.store(1);
}

HIDManager::DeviceSession::~DeviceSession()
{
    m_manager.busy.store(0);
    m_manager.releaseDevice();
}

hid_device *HIDManager::DeviceSession::handle() const
{
    return m_manager.handle.load();
}

void HIDManager::DeviceSession::clearBusy()
{
    m_manager.busy.store(0);
}

// ---- discovery ------------------------------------------------------------

void HIDManager::setWatcher(DeviceWatcher *watcher)
{
    delete m_watcher;
    m_watcher = watcher;
    m_watcher->setParent(this);
    connect(m_watcher, &DeviceWatcher::keypadAdded, this, [this] {
        if (!handle.load())
            searchNow();
    });
    connect(m_watcher, &DeviceWatcher::keypadRemoved, this,
            [this](const QString &path) { onKeypadRemoved(path); });
    // A search under way goes on at the new source's pace.
    if (m_searching && m_periodicSearch && scanTimer)
        scanTimer->start(searchIntervalMs());
}

int HIDManager::searchIntervalMs() const
{
    return m_watcher->isLive() ? kSafetyScanIntervalMs : kScanIntervalMs;
}

bool HIDManager::watcherIsLive() const
{
    return m_watcher && m_watcher->isLive();
}

void HIDManager::startMonitoring()
{
    if (!m_watcher)
        setWatcher(createSystemWatcher(this));
    if (!scanTimer) {
        scanTimer = new QTimer(this);
        connect(scanTimer, &QTimer::timeout, this, &HIDManager::onScanTimer);
    }
    if (m_searching)
        return;
    m_searching = true;
    if (m_periodicSearch)
        scanTimer->start(searchIntervalMs());
    QTimer::singleShot(0, this, &HIDManager::onScanTimer);
    qCDebug(lcDevice).noquote() << "HIDManager: monitoring started";
}

void HIDManager::searchNow()
{
    m_accessRetry.setRemainingTime(kAccessRetryMs);
    onScanTimer();
}

void HIDManager::retryWhileDenied()
{
    if (m_accessRetryPending || !m_lastOpenFailure.noPermission || m_accessRetry.hasExpired())
        return;
    m_accessRetryPending = true;
    QTimer::singleShot(kAccessRetryStepMs, this, [this] {
        m_accessRetryPending = false;
        onScanTimer();
    });
}

void HIDManager::onKeypadRemoved(const QString &path)
{
    if (handle.load()) {
        // Let go at once, before a read could fail on it. Another interface
        // of the keypad going alone leaves the open one alone.
        if (path == m_openPath)
            closeDevice();
        return;
    }
    // A keypad that could not be opened went away: the search forgets it.
    if (m_lastOpenFailure.failed && m_lastOpenFailure.path == path)
        onScanTimer();
}

void HIDManager::onScanTimer()
{
    if (handle.load())
        return;
    // A worker still finishing an operation owns the device; look again on the
    // next tick rather than wait for it here.
    if (!tryAcquireDevice())
        return;
    const bool opened = openDevice();
    releaseDevice();
    if (m_openFailureChanged) {
        // Told once the device lock is free, so a receiver may use the link.
        m_openFailureChanged = false;
        emit openFailureChanged();
    }
    if (!opened) {
        retryWhileDenied();
        return;
    }
    m_accessRetry.setRemainingTime(0);
    m_searching = false;
    if (scanTimer && scanTimer->isActive())
        scanTimer->stop();
    connected.store(1);
    heartbeatTimer->start(kHeartbeatIntervalMs);
    emit deviceConnected();
}

bool HIDManager::openDevice()
{
    // One enumeration per search step, walked pair by pair in table order:
    // the same device is chosen as by asking for each pair in turn, without
    // enumerating seventeen times a step.
    hid_device_info *all = hid_enumerate(0, 0);
    bool opened = false;
    QSet<QString> listedPaths;
    for (const DeviceCandidate &candidate : kDeviceCandidates) {
        QVector<const hid_device_info *> devices;
        for (const hid_device_info *d = all; d; d = d->next) {
            if (d->vendor_id == candidate.vendorId && d->product_id == candidate.productId)
                devices.append(d);
        }
        for (int pass = 0; pass < 2 && !opened; ++pass) {
            for (const hid_device_info *d : devices) {
                const QString path = QString::fromUtf8(d->path ? d->path : "");
                qCDebug(lcDevice).noquote()
                    << "HIDManager: candidate path=" << path << "itf=" << d->interface_number
                    << "usagePage=" << d->usage_page << "usage=" << d->usage << "pass=" << pass;
                listedPaths.insert(path);
                if (!interfaceAccepted(*d, pass) || !d->path
                    || (!m_onlyPath.isEmpty() && path != m_onlyPath))
                    continue;
                errno = 0;
                hid_device *device = hid_open_path(d->path);
                if (!device) {
                    const int error = openErrorOf(d->path, errno);
                    const QString detail = lastOpenError();
                    if (openFailures.report(path, candidate.vendorId, candidate.productId, error,
                                            detail)) {
                        m_lastOpenFailure = openFailureOf(path, error, detail);
                        m_openFailureChanged = true;
                    }
                    continue;
                }
                openFailures.forget(path);
                setOpenFailure(OpenFailure());
                hid_set_nonblocking(device, 0);
                {
                    QMutexLocker locker(&stateLock);
                    matchedVendorId = candidate.vendorId;
                    matchedProductId = candidate.productId;
                    matchedSerialNumber = d->serial_number
                        ? QString::fromWCharArray(d->serial_number)
                        : QString();
                }
                handle.store(device);
                m_openPath = path;
                qCDebug(lcDevice).noquote()
                    << "HIDManager: opened path=" << path
                    << "vid=" << QString::number(candidate.vendorId, 16)
                    << "pid=" << QString::number(candidate.productId, 16);
                opened = true;
                break;
            }
        }
        if (opened)
            break;
    }
    hid_free_enumeration(all);
    if (!opened) {
        openFailures.keepOnly(listedPaths);
        if (m_lastOpenFailure.failed && !listedPaths.contains(m_lastOpenFailure.path))
            setOpenFailure(OpenFailure());  // the keypad that could not be opened is gone
    }
    return opened;
}

QVector<HIDManager::KeypadNode> HIDManager::listKeypads()
{
    hid_device_info *all = hid_enumerate(0, 0);
    QVector<KeypadNode> nodes;
    for (const DeviceCandidate &candidate : kDeviceCandidates) {
        // The vendor interface, or interface 0 of a keypad that reports none,
        // as the search would take it.
        for (int pass = 0; pass < 2; ++pass) {
            bool found = false;
            for (const hid_device_info *d = all; d; d = d->next) {
                if (d->vendor_id != candidate.vendorId || d->product_id != candidate.productId
                    || !d->path || !interfaceAccepted(*d, pass))
                    continue;
                nodes.append({QString::fromUtf8(d->path), d->vendor_id, d->product_id,
                              d->product_string ? QString::fromWCharArray(d->product_string)
                                                : QString(),
                              d->serial_number ? QString::fromWCharArray(d->serial_number)
                                               : QString()});
                found = true;
            }
            if (found)
                break;
        }
    }
    hid_free_enumeration(all);
    return nodes;
}

void HIDManager::setOpenFailure(const OpenFailure &failure)
{
    if (!failure.failed && !m_lastOpenFailure.failed)
        return;
    m_lastOpenFailure = failure;
    m_openFailureChanged = true;
}

// ---- presence and loss ----------------------------------------------------

void HIDManager::onPresenceProbe()
{
    // While an exchange holds the device its replies are not ours to read.
    if (!tryAcquireDevice())
        return;
    int result = 0;
    if (hid_device *device = handle.load()) {
        uint8_t buffer[kProbeReadSize] = {};
        hid_set_nonblocking(device, 1);
        result = hid_read(device, buffer, kProbeReadSize);
        hid_set_nonblocking(device, 0);
    }
    releaseDevice();
    if (result < 0)
        closeDevice();
}

void HIDManager::closeDevice()
{
    if (holdsDevice()) {
        // Inside an exchange: close now, tell the window once the exchange is
        // over (the report is queued to the owning thread).
        reportLoss(closeHandleLocked(), true);
    } else if (tryAcquireDevice()) {
        const bool wasConnected = closeHandleLocked();
        releaseDevice();
        reportLoss(wasConnected, QThread::currentThread() != thread());
    } else {
        // Another thread is inside an exchange on the handle; it closes the
        // handle as it lets go of the device.
        closeRequested.store(true);
    }
}

bool HIDManager::closeHandleLocked()
{
    if (hid_device *device = handle.exchange(nullptr)) {
        hid_close(device);
        {
            QMutexLocker locker(&stateLock);
            deviceInfoCopy = DeviceInfo();
            matchedVendorId = 0;
            matchedProductId = 0;
            matchedSerialNumber.clear();
        }
        qCDebug(lcDevice).noquote() << "HIDManager: device closed";
    }
    // Whoever takes the flag reports the loss, so it is reported once.
    return connected.exchange(0) != 0;
}

void HIDManager::reportLoss(bool wasConnected, bool queued)
{
    if (queued)
        QMetaObject::invokeMethod(
            this, [this, wasConnected] { finishClose(wasConnected); }, Qt::QueuedConnection);
    else
        finishClose(wasConnected);
}

void HIDManager::finishClose(bool wasConnected)
{
    if (!wasConnected) {
        // A device opened since then keeps its probe.
        if (!handle.load())
            heartbeatTimer->stop();
        return;
    }
    heartbeatTimer->stop();
    emit deviceDisconnected();
    QTimer::singleShot(kRestartDelayMs, this, [this] {
        if (!handle.load())
            startMonitoring();
    });
}

// ---- description ----------------------------------------------------------

int HIDManager::keySlotCount() const
{
    return keySlotCountOf(deviceInfo());
}

DeviceInfo HIDManager::deviceInfo() const
{
    QMutexLocker locker(&stateLock);
    return deviceInfoCopy;
}

uint16_t HIDManager::vendorId() const
{
    QMutexLocker locker(&stateLock);
    return matchedVendorId;
}

uint16_t HIDManager::productId() const
{
    QMutexLocker locker(&stateLock);
    return matchedProductId;
}

QString HIDManager::serialNumber() const
{
    QMutexLocker locker(&stateLock);
    return matchedSerialNumber;
}
