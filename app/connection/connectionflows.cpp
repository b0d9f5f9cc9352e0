#include "app/connection/connectionflows.h"

#include "keypad/connectedkeypad.h"
#include "keypad/connectresult.h"
#include "app/connection/devicetask.h"
#include "app/look/statusline.h"
#include "keypad/storesave.h"
#include "device/hidmanager.h"
#include "keypad/failuretexts.h"
#include "model/keytexts.h"
#include "model/logging.h"
#include "model/translation.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kReadLightingCount = 4;
// Knob parts whose texts the connect and view reads log.
constexpr int kLoggedKnobSlots[] = {6, 7, 8};

QString knobText(const KeyLayers &layers, int slot)
{
    return fullTextOf(layers.value(0).value(slot));
}

// "L0= ... L1= ... L2= ...": the first knob's texts as read.
QString knobTextsLine(const KeyLayers &layers)
{
    QStringList parts;
    for (int i = 0; i < int(std::size(kLoggedKnobSlots)); ++i)
        parts << QStringLiteral("L%1=").arg(i) << knobText(layers, kLoggedKnobSlots[i]);
    return parts.join(QLatin1Char(' '));
}

int boundedLayerCount(int count)
{
    return qBound(1, count, 3);
}

} // namespace

ConnectionFlows::ConnectionFlows(KeyboardData &store, StatusLine &status, HIDManager &link,
                                 QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_status(status)
    , m_link(link)
{
}

// ---- connecting and disconnecting ------------------------------------------

void ConnectionFlows::onKeypadConnected()
{
    setAsideEditsMadeUnplugged();
    m_state.connected = true;
    ++m_connectionSerial;
    m_keypad = KeypadIdentity{m_link.vendorId(), m_link.productId(), m_link.serialNumber(), {}};
    m_status.setConnected(true);
    m_status.showConnected();
    startReadTask(ReadPurpose::Connect);
}

void ConnectionFlows::onConnectResult(const DeviceReadResult &result)
{
    const bool infoOk = result.infoOk;
    const bool legacyOk = result.legacyOk && !infoOk;
    m_state.family = result.family;
    m_state.familyConnected = true;

    if (infoOk) {
        m_state.info = result.info;
        m_state.legacyInfo = LegacyDeviceInfo();
    } else if (legacyOk) {
        m_state.legacyInfo = result.legacyInfo;
        m_state.info = deviceInfoFromLegacy(m_state.legacyInfo);
    } else {
        m_state.info = DeviceInfo();
        m_state.legacyInfo = LegacyDeviceInfo();
        m_state.lastConnectedLayerCount = 1;
    }
    if (infoOk || legacyOk)
        m_state.lastConnectedLayerCount = boundedLayerCount(m_state.info.layerCount);

    // An "Old" keypad has no key number for some slots, and a picture may
    // show more controls than a keypad of the current family reported;
    // changes there could never reach it, so the store refuses them while
    // it is connected.
    m_store.setUnwritableSlots(result.family ? result.family->unwritableSlots(m_state.description())
                                             : QVector<int>());
    // The macro row's title, mouse gestures, delay and lighting pages follow
    // the family.
    emit keypadIdentified();

    if (infoOk) {
        emit keypadDescribed();
        qCDebug(lcWidget).noquote()
            << "Widget: device info" << "K=" << int(m_state.info.keyCount)
            << "E=" << int(m_state.info.encoderCount) << "D=" << int(m_state.info.extraKeyCount)
            << "L=" << int(m_state.info.layerCount) << "P=" << int(m_state.info.layoutP)
            << "S=" << int(m_state.info.layoutS) << "B=" << int(m_state.info.reservedB);
    } else if (legacyOk) {
        emit keypadDescribed();
        qCDebug(lcWidget).noquote()
            << "Widget: legacy device info" << "K=" << int(m_state.legacyInfo.keyCount)
            << "E=" << int(m_state.legacyInfo.encoderCount) << "Ver=" << int(m_state.legacyInfo.version)
            << "Shape=" << int(m_state.legacyInfo.shape)
            << "Fmt=" << legacyFamilyName(m_state.legacyInfo.format);
        m_status.showConnected();
    } else {
        qCWarning(lcWidget).noquote() << "Widget: device info not available, keep current path";
    }

    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected ready" << "infoOk=" << infoOk
                            << "legacyOk=" << legacyOk << "allLayers=" << result.layers.size();
    if (!infoOk && !legacyOk)
        return;

    m_store.loadLayers(result.layers);
    m_held.read(result.layers, result.readComplete);
    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected loaded allLayers";
    if (!result.readComplete) {
        qCWarning(lcWidget).noquote() << (infoOk
            ? "readAllConfiguration completed with fallback/default data"
            : "Legacy read layer failed or incomplete");
    }
    loadReadLighting(result.lighting);
    qCDebug(lcWidget).noquote() << "Widget: loaded encoder texts" << knobTextsLine(result.layers);
    layKeptEditsOnTop();

    emit configurationLoaded(true);
    qCDebug(lcWidget).noquote() << (infoOk ? "Config loaded from device"
                                           : "Legacy config loaded from device");
}

void ConnectionFlows::onKeypadDisconnected()
{
    setAsideUnsavedEdits();
    m_state.forgetKeypad();
    m_held.forget();
    ++m_connectionSerial;
    m_store.setUnwritableSlots({});
    m_status.setConnected(false);
    m_status.showDisconnected();
    resetStoreToEmpty();
    emit keypadDisconnected();
}

// Which keypad this is: its ids, serial number and the description it gave.
static QByteArray descriptionBytes(const DeviceState &state)
{
    return state.connectedFamily().descriptionBytes(state.description());
}

void ConnectionFlows::setAsideUnsavedEdits()
{
    // The keypad is gone with changes it never received: they wait for it
    // to come back rather than vanish with the store.
    if (!m_store.hasUnsavedChanges())
        return;
    KeypadIdentity keypad = m_keypad;
    keypad.description = descriptionBytes(m_state);
    if (m_setAside.takeFrom(m_store, keypad))
        emit setAsideEditsChanged();
}

void ConnectionFlows::setAsideEditsMadeUnplugged()
{
    // The connect read replaces the store; what the user changed meanwhile
    // joins what was set aside at the unplug, on top of it.
    if (m_state.connected || !m_store.hasUnsavedChanges())
        return;
    if (m_setAside.takeFrom(m_store, m_keypad))
        emit setAsideEditsChanged();
}

void ConnectionFlows::layKeptEditsOnTop()
{
    m_keypad.description = descriptionBytes(m_state);
    const int laid = m_setAside.layOnto(m_store, m_keypad);
    if (laid > 0)
        emit setAsideEditsChanged();
    if (laid > 0) {
        m_status.showNotice(translateText("Unsaved changes restored: Save Settings writes them"));
    } else if (!m_setAside.isEmpty()) {
        m_status.showNotice(translateText("Unsaved changes of another keypad are kept aside"));
    }
}

void ConnectionFlows::resetStoreToEmpty()
{
    // Nothing of the keypad that went away may look changed or assigned.
    m_store.resetAll();
}

// ---- reading ---------------------------------------------------------------

void ConnectionFlows::startReadTask(ReadPurpose purpose)
{
    const int serial = m_connectionSerial;
    const KeypadFamily *family = &m_state.connectedFamily();
    ++m_deviceTasksRunning;
    runDeviceTask(
        m_link, this,
        [purpose, serial, family](HIDManager &link) {
            DeviceReadResult result = purpose == ReadPurpose::Connect
                ? readConnectedKeypad(link)
                : readKeypadConfiguration(link, *family);
            result.connectionSerial = serial;
            return result;
        },
        [purpose](ConnectionFlows *flows, const DeviceReadResult &result) {
            flows->onReadResult(purpose, result);
        });
}

void ConnectionFlows::onReadResult(ReadPurpose purpose, const DeviceReadResult &result)
{
    --m_deviceTasksRunning;
    // A keypad pulled out (or replaced) while it was being read: what came
    // back belongs to a connection that is over.
    if (result.connectionSerial != m_connectionSerial)
        return;
    switch (purpose) {
    case ReadPurpose::Connect:
        onConnectResult(result);
        break;
    case ReadPurpose::View:
        onViewResult(result);
        break;
    }
}

void ConnectionFlows::view()
{
    if (refuseDeviceTask(false))
        return;
    startReadTask(ReadPurpose::View);
}

void ConnectionFlows::onViewResult(const DeviceReadResult &result)
{
    if (!result.readComplete)
        qCWarning(lcView).noquote() << "View: readAllConfiguration completed with fallback/default data";
    m_store.loadLayers(result.layers);
    m_held.read(result.layers, result.readComplete);
    loadReadLighting(result.lighting);
    qCDebug(lcView).noquote() << "View: loaded encoder texts" << knobTextsLine(result.layers);
    emit configurationLoaded(false);
    qCDebug(lcView).noquote() << "View: config reloaded from device";
}

void ConnectionFlows::loadReadLighting(const LedLayers &lighting)
{
    // Only a full set replaces the stored lighting; a legacy "Old" keypad
    // brings none back.
    if (lighting.size() != kReadLightingCount)
        return;
    m_store.loadLighting(lighting);
    m_held.readLighting(lighting);
}

// ---- saving ----------------------------------------------------------------

bool ConnectionFlows::canStartTask() const
{
    return m_state.connected && !m_link.busy.load() && m_deviceTasksRunning == 0;
}

bool ConnectionFlows::refuseDeviceTask(bool forSave) const
{
    const QLoggingCategory &category = forSave ? lcSave() : lcView();
    const char *prefix = forSave ? "Save:" : "View:";
    if (!m_state.connected) {
        qCDebug(category).noquote() << prefix << "device not connected";
        return true;
    }
    // A task of this window that has not reached the link yet counts as
    // busy too: it would otherwise run right after the one in progress.
    if (m_link.busy.load() || m_deviceTasksRunning > 0) {
        qCDebug(category).noquote() << prefix << "device busy";
        return true;
    }
    return false;
}

void ConnectionFlows::setHistory(std::optional<ConfigurationHistory> history, HeldFile heldFile)
{
    m_history = std::move(history);
    m_heldFile = std::move(heldFile);
}

KeypadFileSource ConnectionFlows::fileSource() const
{
    KeypadFileSource source;
    source.family = QString::fromLatin1(m_state.connectedFamily().name());
    source.description = m_state.connectedFamily().descriptionBytes(m_state.description());
    source.vendorId = m_keypad.vendorId;
    source.productId = m_keypad.productId;
    source.programVersion = QStringLiteral(ZENTRIK_VERSION);
    source.created = QDateTime::currentDateTimeUtc();
    return source;
}

bool ConnectionFlows::save(HistoryWriter writer)
{
    if (refuseDeviceTask(true))
        return false;
    if (!m_store.hasUnsavedChanges()) {
        qCDebug(lcSave).noquote() << "Save: nothing to save";
        return false;
    }
    startSaveTask(false, -1, -1, QString(), writer);
    return true;
}

void ConnectionFlows::saveKeysOnly(int layer, int key, const QString &control)
{
    if (refuseDeviceTask(true))
        return;
    startSaveTask(true, layer, key, control);
}

void ConnectionFlows::startSaveTask(bool keysOnly, int onlyLayer, int onlyKey,
                                    const QString &control, HistoryWriter writer)
{
    // The task writes a copy of what is marked changed; the marks are
    // cleared here afterwards, only where the store still holds what went.
    SaveSnapshot snapshot =
        saveSnapshotOf(m_store, keysOnly ? SaveKind::KeysOnly : SaveKind::All);
    if (onlyKey >= 0) {
        snapshot.keys.erase(std::remove_if(snapshot.keys.begin(), snapshot.keys.end(),
                                           [onlyLayer, onlyKey](const SavedKey &item) {
                                               return item.layer != onlyLayer || item.key != onlyKey;
                                           }),
                            snapshot.keys.end());
    }
    const KeypadFamily *family = &m_state.connectedFamily();
    const KeypadDescription description = m_state.description();
    // What the keypad holds goes to the history before anything is written;
    // the file is made here and written by the task.
    std::optional<KeypadFile> held;
    if (m_history && m_heldFile && snapshot.itemCount() > 0) {
        held = m_heldFile();
        if (!held)
            qCWarning(lcSave).noquote()
                << "History: what the keypad holds is not known (its last read was incomplete)";
    }
    const std::optional<ConfigurationHistory> history = m_history;
    if (keysOnly)
        writer = HistoryWriter::MacroSave;
    ++m_deviceTasksRunning;
    if (m_savesRunning++ == 0) {
        // Busy until the save's own progress comes in (the older families
        // send none).
        m_status.showProgress(0, 0);
        emit saveRunningChanged(true);
    }
    runDeviceTask(
        m_link, this,
        [snapshot, family, description, held, history, writer](HIDManager &link) {
            if (held)
                history->keep(*held, writer);
            return family->save(link, description, snapshot);
        },
        [family, control](ConnectionFlows *flows, const SaveResult &result) {
            --flows->m_deviceTasksRunning;
            flows->onSaveResult(result, *family, control);
            if (--flows->m_savesRunning == 0) {
                flows->m_status.hideProgress();
                emit flows->saveRunningChanged(false);
            }
        });
}

void ConnectionFlows::onSaveResult(const SaveResult &result, const KeypadFamily &family,
                                   const QString &control)
{
    // What reached the keypad is stored there whatever happened since, so
    // its marks go even when the keypad has been pulled out meanwhile.
    applySaveResult(m_store, result);
    m_held.confirm(result);
    const QString failure = saveStatusText(result);
    const bool ok = failure.isEmpty();
    if (!result.started)
        qCWarning(lcSave).noquote() << "Save: device not connected";
    else if (!result.ok)
        qCWarning(lcSave).noquote() << "Save: failed on the" << family.name() << "keypad";
    if (ok) {
        showSavedStatus(result, control);
    } else if (!ok && m_state.connected) {
        // Never a silent return to "Device connected": what did not reach
        // the keypad stays marked, and the next Save tries it again.
        m_status.showFailure(failure);
    }
    emit saveFinished(ok);
}

void ConnectionFlows::showSavedStatus(const SaveResult &result, const QString &control)
{
    // Say what was stored and what was not checked, where that is more than
    // "everything marked went and was read back".
    QString said;
    QString toolTip;
    if (!control.isEmpty()) {
        said = m_store.hasUnsavedChanges()
            ? translateText("Macro saved to %1; other edits not yet saved").arg(control)
            : translateText("Macro saved to %1").arg(control);
    }
    if (result.uncheckedLighting > 0) {
        said = translateText("Saved. Lighting sent, not checked");
        toolTip =
            translateText("This keypad cannot report its lighting, so the lighting was sent but "
                          "could not be checked.");
    }
    m_status.showSaved(said, toolTip);
}

void ConnectionFlows::onOperationFinished(bool success, const QString &msg)
{
    // The save's own result says how it ended; this is the link's word.
    if (!success)
        qCWarning(lcDevice).noquote() << "HIDManager operation failed:" << msg;
}

void ConnectionFlows::onProgressUpdated(int done, int total, const QString &msg)
{
    qCDebug(lcDevice).noquote() << "HID progress:" << msg;
    // Reads report progress too; only a save shows it.
    if (m_savesRunning > 0)
        m_status.showProgress(done, total);
}
