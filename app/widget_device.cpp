// The window's side of the keypad link: monitoring, the connect read,
// "View Settings", "Save Settings" and the status line.
//
// The UI thread never waits on the keypad. Every read and save runs as a task
// on the global thread pool with copies of what it needs; only this thread
// touches the key store, before a task starts and after its result is back.

#include "app/widget.h"

#include "app/connectresult.h"
#include "model/translation.h"
#include "device/hidmanager.h"
#include "legacy/legacytables.h"
#include "model/logging.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtConcurrent>

#include <iterator>

namespace {

constexpr int kSavedStatusMs = 1500;
constexpr int kReadLightingCount = 4;
// Knob parts whose texts the connect and view reads log.
constexpr int kLoggedKnobSlots[] = {6, 7, 8};

const QString kConnectedStyle = QStringLiteral("color: #00FF00; font-weight: bold;");
const QString kSavedStyle =
    QStringLiteral("background-color: #2d5a2d; color: #00FF00; font-weight: bold;");

// Runs `work` on the global pool and hands its result to `deliver` on the UI
// thread. The device link carries the result back: it lives on the UI thread
// for the whole process, while the window may be gone by the time the task
// ends, and a result for a window that is gone is dropped.
template <typename Work, typename Deliver>
void runDeviceTask(Widget *window, Work work, Deliver deliver)
{
    HIDManager *link = HIDManager::instance();
    const QPointer<Widget> guard(window);
    QtConcurrent::run([link, guard, work, deliver] {
        const auto result = work(*link);
        QMetaObject::invokeMethod(
            link,
            [guard, deliver, result] {
                if (Widget *target = guard.data())
                    deliver(target, result);
            },
            Qt::QueuedConnection);
    });
}

QString knobText(const KeyLayers &layers, int slot)
{
    return layers.value(0).value(slot).fullText;
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

DeviceInfo deviceInfoFromLegacy(const LegacyDeviceInfo &legacy)
{
    DeviceInfo info;
    info.valid = legacy.valid;
    info.keyCount = legacy.keyCount;
    info.encoderCount = legacy.encoderCount;
    info.layerCount = legacy.layerCount;
    info.layoutS = legacy.shape;
    return info;
}

} // namespace

void Widget::initHIDCommunication()
{
    HIDManager *link = HIDManager::instance();
    // The window is the receiver, so what the link emits on a worker thread
    // arrives here queued.
    connect(link, &HIDManager::deviceConnected, this, &Widget::onDeviceConnected);
    connect(link, &HIDManager::deviceDisconnected, this, &Widget::onDeviceDisconnected);
    connect(link, &HIDManager::operationFinished, this, &Widget::onOperationFinished);
    connect(link, &HIDManager::progressUpdated, this, &Widget::onProgressUpdated);
    link->startMonitoring();
}

// ---- connecting and disconnecting ------------------------------------------

void Widget::onDeviceConnected()
{
    qCDebug(lcWidget).noquote() << "=== onDeviceConnected called ===";
    m_deviceConnected = true;
    ++m_connectionSerial;
    showConnectedStatus();
    m_saveSettingsButton->setEnabled(true);
    m_saveSettingsButton->setText(translateText(QStringLiteral("Save Settings"), m_useChinese));
    m_viewSettingsButton->setEnabled(true);
    m_keyDisplay->setPlaceholderText(
        translateText(QStringLiteral("Key Function Display Area"), m_useChinese));
    startReadTask(ReadPurpose::Connect);
}

void Widget::onConnectResult(const DeviceReadResult &result)
{
    const bool infoOk = result.infoOk;
    const bool legacyOk = result.legacyOk && !infoOk;
    m_legacyActive = legacyOk;

    if (infoOk) {
        m_deviceInfo = result.info;
        m_legacyInfo = LegacyDeviceInfo();
    } else if (legacyOk) {
        m_legacyInfo = result.legacyInfo;
        m_deviceInfo = deviceInfoFromLegacy(m_legacyInfo);
    } else {
        m_deviceInfo = DeviceInfo();
        m_legacyInfo = LegacyDeviceInfo();
        m_lastConnectedLayerCount = 1;
    }
    if (infoOk || legacyOk)
        m_lastConnectedLayerCount = boundedLayerCount(m_deviceInfo.layerCount);

    m_legacyR20Wide = m_legacyActive && m_legacyInfo.format == LegacyFormatR20Wide;
    m_legacyOld = m_legacyActive && m_legacyInfo.format == LegacyFormatOld;
    // An "Old" keypad has no key number for some slots; changes there could
    // never reach it, so the store refuses them while it is connected.
    m_keyboardData.setUnwritableSlots(m_legacyOld ? legacyUnwritableSlots(LegacyFormatOld)
                                                  : QVector<int>());
    updateMacroPageTitle();
    // Mouse gestures, delay and lighting pages follow the family.
    applyDeviceStateToPages();

    if (infoOk || legacyOk)
        m_keyboardData.loadLayers(result.layers);

    if (infoOk) {
        applyLayout(layoutForDevice(m_deviceInfo));
        updateLayerButtonsVisibility();
        qCDebug(lcWidget).noquote()
            << "Widget: device info" << "K=" << int(m_deviceInfo.keyCount)
            << "E=" << int(m_deviceInfo.encoderCount) << "D=" << int(m_deviceInfo.extraKeyCount)
            << "L=" << int(m_deviceInfo.layerCount) << "P=" << int(m_deviceInfo.layoutP)
            << "S=" << int(m_deviceInfo.layoutS) << "B=" << int(m_deviceInfo.reservedB);
    } else if (legacyOk) {
        applyLayout(layoutForDevice(m_deviceInfo));
        updateLayerButtonsVisibility();
        qCDebug(lcWidget).noquote()
            << "Widget: legacy device info" << "K=" << int(m_legacyInfo.keyCount)
            << "E=" << int(m_legacyInfo.encoderCount) << "Ver=" << int(m_legacyInfo.version)
            << "Shape=" << int(m_legacyInfo.shape)
            << "Fmt=" << legacyFamilyName(m_legacyInfo.format);
        showConnectedStatus();
    } else {
        qCDebug(lcWidget).noquote() << "Widget: device info not available, keep current path";
    }

    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected ready" << "infoOk=" << infoOk
                            << "legacyOk=" << legacyOk << "allLayers=" << result.layers.size();
    if (!infoOk && !legacyOk)
        return;

    m_keyboardData.loadLayers(result.layers);
    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected loaded allLayers";
    if (!result.readComplete) {
        qCDebug(lcWidget).noquote() << (infoOk
            ? "readAllConfiguration completed with fallback/default data"
            : "Legacy read layer failed or incomplete");
    }
    loadReadLighting(result.lighting);
    qCDebug(lcWidget).noquote() << "Widget: loaded encoder texts" << knobTextsLine(result.layers);

    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected before restore";
    refreshKeyTexts();
    qCDebug(lcUi).noquote() << "[UI] onDeviceConnected after restore";
    refreshAssignedMarks();
    refreshLightingView();
    refreshSelectionPages();
    showSelectedKeyText();
    qCDebug(lcWidget).noquote() << (infoOk ? "Config loaded from device"
                                           : "Legacy config loaded from device");
}

void Widget::onDeviceDisconnected()
{
    qCDebug(lcWidget).noquote() << "=== onDeviceDisconnected called ===";
    m_deviceConnected = false;
    m_legacyActive = false;
    ++m_connectionSerial;
    m_deviceInfo = DeviceInfo();
    m_legacyInfo = LegacyDeviceInfo();
    m_keyboardData.setUnwritableSlots({});
    if (m_statusResetTimer)
        m_statusResetTimer->stop();

    showDisconnectedStatus();
    m_saveSettingsButton->setEnabled(false);
    m_saveSettingsButton->setText(translateText(QStringLiteral("Save Settings"), m_useChinese));
    m_viewSettingsButton->setEnabled(false);
    m_keyDisplay->clear();
    m_keyDisplay->setPlaceholderText(
        translateText(QStringLiteral("Key Function Display Area"), m_useChinese));

    for (QPushButton *button : m_controlButtons) {
        if (!button)
            continue;
        button->setText(QString());
        button->setChecked(false);
        if (auto *key = qobject_cast<KeyButton *>(button))
            key->setAssigned(false);
        else if (auto *knob = qobject_cast<KnobButton *>(button))
            knob->setAssigned(false);
    }
    resetStoreToEmpty();
    m_selectedButton = nullptr;

    refreshSelectionPages();
    updateLayerButtonsVisibility();
    qCDebug(lcWidget).noquote() << "Device disconnected, UI updated to disconnected state";
}

void Widget::resetStoreToEmpty()
{
    // Nothing of the keypad that went away may look changed or assigned.
    for (KeyLayer &layer : m_keyboardData.layers)
        for (KeyConfig &key : layer)
            key.clear();
    for (LedLayerConfig &lighting : m_keyboardData.ledLayers)
        lighting = LedLayerConfig();
}

// ---- reading ---------------------------------------------------------------

void Widget::startReadTask(ReadPurpose purpose)
{
    const int serial = m_connectionSerial;
    const bool legacy = m_legacyActive;
    ++m_deviceTasksRunning;
    runDeviceTask(
        this,
        [purpose, serial, legacy](HIDManager &link) {
            DeviceReadResult result = purpose == ReadPurpose::Connect
                ? readConnectedKeypad(link)
                : readKeypadConfiguration(link, legacy);
            result.connectionSerial = serial;
            return result;
        },
        [purpose](Widget *window, const DeviceReadResult &result) {
            --window->m_deviceTasksRunning;
            // A keypad pulled out (or replaced) while it was being read: what
            // came back belongs to a connection that is over.
            if (result.connectionSerial != window->m_connectionSerial) {
                qCDebug(lcWidget).noquote() << "Widget: dropped a read of an earlier connection";
                return;
            }
            switch (purpose) {
            case ReadPurpose::Connect:
                window->onConnectResult(result);
                break;
            case ReadPurpose::View:
                window->onViewResult(result);
                break;
            case ReadPurpose::ReadConfig:
                window->onReadConfigResult(result);
                break;
            }
        });
}

void Widget::onViewSettingsClicked()
{
    if (refuseDeviceTask(false))
        return;
    startReadTask(ReadPurpose::View);
}

void Widget::onViewResult(const DeviceReadResult &result)
{
    if (!result.readComplete)
        qCDebug(lcView).noquote() << "View: readAllConfiguration completed with fallback/default data";
    m_keyboardData.loadLayers(result.layers);
    loadReadLighting(result.lighting);
    qCDebug(lcView).noquote() << "View: loaded encoder texts" << knobTextsLine(result.layers);
    refreshAssignedMarks();
    refreshLightingView();
    showSelectedKeyText();
    qCDebug(lcView).noquote() << "View: config reloaded from device";
}

void Widget::readConfigFromDevice()
{
    // The same read as "View Settings", without its checks: the link itself
    // waits for any operation in progress, on the worker thread.
    qCDebug(lcWidget).noquote() << "=== readConfigFromDevice called ===";
    startReadTask(ReadPurpose::ReadConfig);
}

void Widget::onReadConfigResult(const DeviceReadResult &result)
{
    if (result.layers.isEmpty()) {
        qCDebug(lcWidget).noquote() << "readConfigFromDevice failed";
        return;
    }
    m_keyboardData.loadLayers(result.layers);
    loadReadLighting(result.lighting);
    refreshAssignedMarks();
    refreshLightingView();
    showSelectedKeyText();
    qCDebug(lcWidget).noquote() << "Config loaded from device";
    if (!result.readComplete)
        qCDebug(lcWidget).noquote() << "readConfigFromDevice completed with fallback/default data";
}

void Widget::loadReadLighting(const LedLayers &lighting)
{
    // Only a full set replaces the stored lighting; a legacy "Old" keypad
    // brings none back.
    if (lighting.size() != kReadLightingCount)
        return;
    m_keyboardData.ledLayers = lighting;
    for (LedLayerConfig &record : m_keyboardData.ledLayers)
        record.clearMarks();
}

void Widget::showSelectedKeyText()
{
    const int key = m_keyboardData.selectedKey;
    if (key < 0)
        return;
    showKeyDisplayText(fullTextFor(key));
}

// ---- saving ----------------------------------------------------------------

bool Widget::refuseDeviceTask(bool forSave) const
{
    const QLoggingCategory &category = forSave ? lcSave() : lcView();
    const char *prefix = forSave ? "Save:" : "View:";
    if (!m_deviceConnected) {
        qCDebug(category).noquote() << prefix << "device not connected";
        return true;
    }
    // A task of this window that has not reached the link yet counts as
    // busy too: it would otherwise run right after the one in progress.
    if (HIDManager::instance()->busy.load() || m_deviceTasksRunning > 0) {
        qCDebug(category).noquote() << prefix << "device busy";
        return true;
    }
    return false;
}

void Widget::onSaveSettingsClicked()
{
    if (refuseDeviceTask(true))
        return;
    if (SaveSnapshot::ofAll(m_keyboardData).itemCount() == 0) {
        qCDebug(lcSave).noquote() << "Save: nothing to save";
        return;
    }
    startSaveTask(false);
}

void Widget::startKeysOnlySave()
{
    if (refuseDeviceTask(true))
        return;
    startSaveTask(true);
}

void Widget::startSaveTask(bool keysOnly)
{
    // The task writes a copy of what is marked changed; the marks are
    // cleared here afterwards, only where the store still holds what went.
    const SaveSnapshot snapshot =
        keysOnly ? SaveSnapshot::ofKeys(m_keyboardData) : SaveSnapshot::ofAll(m_keyboardData);
    const bool legacy = m_legacyActive;
    const LegacyDeviceInfo legacyInfo = m_legacyInfo;
    ++m_deviceTasksRunning;
    runDeviceTask(
        this,
        [snapshot, legacy, legacyInfo](HIDManager &link) {
            return saveToKeypad(link, legacy, legacyInfo, snapshot);
        },
        [legacy](Widget *window, const SaveResult &result) {
            --window->m_deviceTasksRunning;
            window->onSaveResult(result, legacy);
        });
}

void Widget::onSaveResult(const SaveResult &result, bool legacy)
{
    // What reached the keypad is stored there whatever happened since, so
    // its marks go even when the keypad has been pulled out meanwhile.
    HIDManager::applySaveResult(m_keyboardData, result);
    if (!legacy) {
        // The link reports a save it ran through operationFinished.
        if (!result.started)
            qCDebug(lcSave).noquote() << "Save: device not connected";
        return;
    }
    if (result.started && result.ok)
        showSavedStatus();
    else
        qCDebug(lcSave).noquote() << "Legacy save failed";
}

void Widget::onOperationFinished(bool success, QString msg)
{
    if (!success) {
        qCDebug(lcDevice).noquote() << "HIDManager operation failed:" << msg;
        return;
    }
    showSavedStatus();
}

void Widget::onProgressUpdated(int current, int total, QString msg)
{
    Q_UNUSED(current)
    Q_UNUSED(total)
    qCDebug(lcDevice).noquote() << "HID progress:" << msg;
}

// ---- status line -----------------------------------------------------------

void Widget::showConnectedStatus()
{
    m_tipLabel->setText(translateText(QStringLiteral("Device connected"), m_useChinese));
    m_tipLabel->setStyleSheet(kConnectedStyle);
}

void Widget::showSavedStatus()
{
    // A result that comes in after the keypad went away must not turn the
    // line green again.
    if (!m_deviceConnected)
        return;
    m_tipLabel->setText(translateText(QStringLiteral("Saved successfully"), m_useChinese));
    m_tipLabel->setStyleSheet(kSavedStyle);
    if (!m_statusResetTimer) {
        m_statusResetTimer = new QTimer(this);
        m_statusResetTimer->setSingleShot(true);
        m_statusResetTimer->setInterval(kSavedStatusMs);
        connect(m_statusResetTimer, &QTimer::timeout, this, [this] {
            if (m_deviceConnected)
                showConnectedStatus();
        });
    }
    // One timer, restarted: a second save keeps its message its full time.
    m_statusResetTimer->start();
}

void Widget::showError(QString msg)
{
    qCDebug(lcWidget).noquote() << "Error:" << msg;
}
