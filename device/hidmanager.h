#pragma once

#include "device/deviceinfo.h"
#include "device/openfailurelog.h"
#include "device/savesnapshot.h"
#include "model/keylayers.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>
#include <atomic>
#include <cstdint>
#include <hidapi/hidapi.h>

class DeviceWatcher;
class QTimer;

// The program's single gateway to a keypad of the current family: finds it,
// notices when it goes away, and runs the request/acknowledge exchanges that
// read and write its configuration.
//
// Threads. The object, its timers and its signals deviceConnected and
// deviceDisconnected belong to the thread that created it (the UI thread).
// Reads and saves may run on worker threads; each locked operation holds
// deviceLock for its whole run and shows it in `busy`. The presence probe only
// ever tries the lock, so it never waits and never reads a report an exchange
// is waiting for. A loss seen on a worker thread closes the handle at once and
// hands the rest (timers, deviceDisconnected) to the owning thread;
// deviceDisconnected comes exactly once per connection.
//
// The single exchanges (sendPacket ... sendWriteLedLayer, readLayer,
// sendReadLedLayer) take no lock: call them inside a DeviceSession, or from a
// single thread when nothing else runs.
class HIDManager : public QObject
{
    Q_OBJECT
public:
    // The program uses instance(); tests may build managers of their own.
    HIDManager();
    ~HIDManager() override;

    // Created on the first call, which must come from the UI thread.
    static HIDManager *instance();
    // Whether the reads print their request lines on standard output.
    static void setRequestLinesPrinted(bool printed);

    // Holds deviceLock for one device operation and sets `busy` meanwhile.
    // The legacy protocols run their exchanges on handle() inside one.
    class DeviceSession
    {
    public:
        explicit DeviceSession(HIDManager &manager);
        ~DeviceSession();
        DeviceSession(const DeviceSession &) = delete;
        DeviceSession &operator=(const DeviceSession &) = delete;

        hid_device *handle() const;
        // Clears `busy` before the final signal of an operation; the lock
        // itself is released when the session ends.
        void clearBusy();

    private:
        HIDManager &m_manager;
    };

    // A supported keypad's own interface as the search sees it.
    struct KeypadNode {
        QString path;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        QString product;
        QString serialNumber;
    };
    // Every supported keypad plugged in now, in the order the search tries
    // them: one node each, its vendor interface.
    static QVector<KeypadNode> listKeypads();

    // Discovery and presence
    // Where plug and unplug events come from; the manager takes `watcher`.
    // Set before startMonitoring, which otherwise takes the system's
    // (createSystemWatcher).
    void setWatcher(DeviceWatcher *watcher);
    bool watcherIsLive() const;
    // Off: no periodic search at all, only events and the search that
    // follows a loss (tests show that the events alone find the keypad).
    void setPeriodicSearch(bool enabled) { m_periodicSearch = enabled; }
    void startMonitoring();
    // Searches now and, while the keypad found may not be opened, again for
    // a moment: udev's rules give access just after the node appears, and a
    // rule just installed takes as long. UI thread.
    void searchNow();
    bool openDevice();   // one pass over the candidates; run on the owning thread
    // Only the keypad at this node is opened from now on; empty for any.
    void setOnlyPath(const QString &path) { m_onlyPath = path; }
    void closeDevice();  // from any thread

    // Packet layer
    bool sendPacket(const uint8_t *data, int len);
    void flushInput();

    // Reads (readDeviceInfo and readAllConfiguration lock themselves)
    bool readDeviceInfo(DeviceInfo &info);
    bool readLayer(int layer, KeyLayer &keys);
    bool sendReadLedLayer(int layer, LedLayerConfig &lighting);
    bool readAllConfiguration(KeyLayers &layers, LedLayers &lighting);

    // Single writes
    bool sendWriteKey(int layer, int key, const KeyConfig &record);
    bool sendWriteMacro(int layer, int key, const KeyConfig &record);
    bool sendClearKey(int layer, int key);
    bool sendWriteLedLayer(int layer, const LedLayerConfig &lighting);

    // Writes every record of the snapshot (see savesnapshot.h); runs on a
    // worker thread, reporting through progressUpdated and operationFinished.
    SaveResult saveSnapshot(const SaveSnapshot &snapshot);

    // Key slots of the connected model: keys + 3 per knob + extra keys, at
    // most 25; 25 while no description is known.
    int keySlotCount() const;
    DeviceInfo deviceInfo() const;
    uint16_t vendorId() const;
    uint16_t productId() const;
    // The open keypad's USB serial number; empty when it has none.
    QString serialNumber() const;
    bool isConnected() const { return connected.load() != 0; }

    // Why the keypad last found could not be opened; cleared when a keypad
    // is opened. UI thread.
    OpenFailure lastOpenFailure() const { return m_lastOpenFailure; }

signals:
    void deviceConnected();
    void deviceDisconnected();
    void progressUpdated(int current, int total, QString msg);
    void operationFinished(bool success, QString msg);
    // lastOpenFailure() changed: a keypad is there but its node cannot be
    // opened (once per node, as the log line), or that is over (the node went
    // away or a keypad was opened). From the search, on the UI thread;
    // the window words it for the status line.
    void openFailureChanged();

private slots:
    void onScanTimer();

private:
    int searchIntervalMs() const;
    void onKeypadRemoved(const QString &path);
    void retryWhileDenied();

public:
    // The open device; null when none is open. Written only with deviceLock held.
    std::atomic<hid_device *> handle{nullptr};

private:
    QTimer *scanTimer = nullptr;
    QTimer *heartbeatTimer = nullptr;
    std::atomic<uint8_t> connected{0};

public:
    // 1 while a locked device operation runs; the window refuses a view or a
    // save meanwhile.
    std::atomic<uint8_t> busy{0};

private:
    DeviceInfo deviceInfoCopy;      // guarded by stateLock
    uint16_t matchedVendorId = 0;   // guarded by stateLock
    uint16_t matchedProductId = 0;  // guarded by stateLock
    QString matchedSerialNumber;    // guarded by stateLock
    QMutex deviceLock;

    mutable QMutex stateLock;                    // the four fields above; held briefly
    std::atomic<Qt::HANDLE> lockOwner{nullptr};  // thread holding deviceLock
    std::atomic<bool> closeRequested{false};     // loss seen while another thread held the lock
    OpenFailureLog openFailures;                 // searching thread only
    OpenFailure m_lastOpenFailure;               // searching thread only
    QString m_onlyPath;                          // searching thread only
    QString m_openPath;                          // the node opened last; searching thread only
    DeviceWatcher *m_watcher = nullptr;
    bool m_periodicSearch = true;
    bool m_searching = false;                    // between startMonitoring and an open
    QDeadlineTimer m_accessRetry{0};             // until when a denied node is tried again
    bool m_accessRetryPending = false;
    bool m_openFailureChanged = false;           // not yet signalled

    void acquireDevice();
    bool tryAcquireDevice();
    void releaseDevice();
    bool holdsDevice() const;

    void setOpenFailure(const OpenFailure &failure);
    void onPresenceProbe();
    bool closeHandleLocked();  // true when this ended a connection
    void reportLoss(bool wasConnected, bool queued);
    void finishClose(bool wasConnected);

    int pollReport(hid_device *device, uint8_t *report);
    enum class AckWait { Acknowledged, Refused, TimedOut, Lost };
    AckWait awaitAck(uint8_t layer, uint8_t key, uint8_t packetIndex, uint8_t *statusOut);
    enum class WriteOutcome { Acknowledged, Refused, Failed };
    // Up to three attempts, 50 ms and a flush apart; a status that
    // isFinalStatus accepts ends them at once (Refused). `why` receives the
    // reason the last attempt failed.
    WriteOutcome sendWithRetry(const uint8_t *packet, uint8_t layer, uint8_t key,
                               uint8_t packetIndex, bool useStatus,
                               bool (*isFinalStatus)(uint8_t), SaveFailure *why = nullptr);
    // The writes without the model check; None when acknowledged.
    SaveFailure writeKeyItem(int layer, int key, const KeyConfig &record);
    SaveFailure writeMacroItem(int layer, int key, const KeyConfig &record);
    SaveFailure clearKeyItem(int layer, int key);
    SaveFailure writeLightingItem(int layer, const LedLayerConfig &lighting);
    // One changed slot of a save. A slot the keypad did not report is not
    // written and comes back NotOnKeypad.
    SaveFailure writeRecord(int layer, int key, const KeyConfig &record);
};
