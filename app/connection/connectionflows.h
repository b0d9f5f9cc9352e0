#pragma once

#include "keypad/configurationhistory.h"
#include "keypad/devicestate.h"
#include "keypad/heldconfiguration.h"
#include "app/connection/setasideedits.h"
#include "model/keyboarddata.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class HIDManager;
class StatusLine;
struct DeviceReadResult;
struct SaveResult;

// The window's side of the keypad link: what happens when a keypad is
// plugged in or pulled out, the background reads ("View Settings") and saves
// ("Save Settings", the keys-only save after a recording), and the status
// line they drive.
//
// The UI thread never waits on the keypad. Every read and save runs as a task
// on the global thread pool with copies of what it needs; only this thread
// touches the key store, before a task starts and after its result is back.
class ConnectionFlows : public QObject
{
    Q_OBJECT
public:
    // `link` reads and saves the keypad; it outlives the flows.
    ConnectionFlows(KeyboardData &store, StatusLine &status, HIDManager &link, QObject *parent);

    const DeviceState &state() const { return m_state; }
    // The USB ids and description of the keypad connected now.
    const KeypadIdentity &keypad() const { return m_keypad; }
    // Whether a save has been started and its result is not back yet.
    bool saveRunning() const { return m_savesRunning > 0; }

    void onKeypadConnected();
    void onKeypadDisconnected();
    void view();
    // False when the save did not start (no keypad, busy, nothing changed).
    // `writer` is what the history says wrote.
    bool save(HistoryWriter writer = HistoryWriter::Save);
    // The keys-only save. With a key given (after a recording), only that key
    // of that layer goes; the user's other unsaved edits wait for Save.
    // `control` names that key for the status line ("Key 6").
    void saveKeysOnly(int layer = -1, int key = -1, const QString &control = QString());
    // Whether a view or save would start now (connected, nothing running).
    bool canStartTask() const;
    // Whether unsaved edits of a keypad that was pulled out wait for it.
    bool hasSetAsideEdits() const { return !m_setAside.isEmpty(); }
    // Whether a read or save of this window is under way.
    bool taskRunning() const { return m_deviceTasksRunning > 0; }
    // Changes whenever a keypad connects or goes away.
    int connectionSerial() const { return m_connectionSerial; }
    // The connected keypad as a file names it.
    KeypadFileSource fileSource() const;
    // What the keypad holds as last read and saved, unsaved edits left out.
    const HeldConfiguration &held() const { return m_held; }

    // The held configuration as a file, or nothing when it is not known.
    using HeldFile = std::function<std::optional<KeypadFile>()>;
    // Before each save, what the keypad held is kept in `history`; without
    // one (turned off), nothing is kept.
    void setHistory(std::optional<ConfigurationHistory> history, HeldFile heldFile);

    void onOperationFinished(bool success, const QString &msg);
    void onProgressUpdated(int done, int total, const QString &msg);

signals:
    // A connect read told the keypad's family and description; the store
    // does not hold its layers yet.
    void keypadIdentified();
    // The keypad's layers are in the store: its picture can be drawn.
    void keypadDescribed();
    // A read's layers and lighting are in the store.
    void configurationLoaded(bool afterConnect);
    // A save came to its end; `ok` when everything reached the keypad.
    void saveFinished(bool ok);
    // The keypad went away and the store was emptied.
    void keypadDisconnected();
    // Edits were set aside for a keypad that went away, or laid back on it.
    void setAsideEditsChanged();
    // A save started, or the last one running ended.
    void saveRunningChanged(bool running);

private:
    enum class ReadPurpose { Connect, View };
    void startReadTask(ReadPurpose purpose);
    void startSaveTask(bool keysOnly, int onlyLayer = -1, int onlyKey = -1,
                       const QString &control = QString(),
                       HistoryWriter writer = HistoryWriter::Save);
    // Whether a view or save must not start now; logs why.
    bool refuseDeviceTask(bool forSave) const;
    void onReadResult(ReadPurpose purpose, const DeviceReadResult &result);
    void onConnectResult(const DeviceReadResult &result);
    void onViewResult(const DeviceReadResult &result);
    void onSaveResult(const SaveResult &result, const KeypadFamily &family, const QString &control);
    void showSavedStatus(const SaveResult &result, const QString &control);
    void loadReadLighting(const LedLayers &lighting);
    void resetStoreToEmpty();
    void setAsideUnsavedEdits();
    // Edits made while no keypad was there are kept for the keypad that
    // was there last.
    void setAsideEditsMadeUnplugged();
    void layKeptEditsOnTop();

    KeyboardData &m_store;
    StatusLine &m_status;
    HIDManager &m_link;
    DeviceState m_state;
    // The keypad now connected, and the unsaved edits of keypads pulled out.
    KeypadIdentity m_keypad;
    SetAsideEdits m_setAside;
    HeldConfiguration m_held;
    std::optional<ConfigurationHistory> m_history;
    HeldFile m_heldFile;
    // Changes on every connect and disconnect, so a result read from an
    // earlier connection is recognised and dropped.
    int m_connectionSerial = 0;
    // Reads and saves started and not yet seen to their end.
    int m_deviceTasksRunning = 0;
    int m_savesRunning = 0;
};
