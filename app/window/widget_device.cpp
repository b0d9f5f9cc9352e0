// The window's reactions to the keypad: the link's signals go to the
// connection flows, and what the flows load is drawn by the other parts.

#include "app/window/widget.h"

#include "app/connection/connectionflows.h"
#include "app/look/functionbuttons.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadview.h"
#include "app/editing/pagehost.h"
#include "app/connection/unsavedprompt.h"
#include "app/look/statusline.h"
#include "device/hidmanager.h"
#include "keypad/failuretexts.h"
#include "model/logging.h"
#include "model/translation.h"
#include "pages/macropage.h"
#include "widgets/controlbutton.h"

#ifndef ZENTRIK_PORTABLE
#include "app/connection/accessdoctor.h"
#include "app/connection/scriptgate.h"
#endif

#include <QCloseEvent>

void Widget::initHIDCommunication()
{
    HIDManager *link = &m_link;
    // The window and its flows are the receivers, so what the link emits on
    // a worker thread arrives here queued.
    connect(link, &HIDManager::deviceConnected, this, &Widget::onDeviceConnected);
    connect(link, &HIDManager::deviceDisconnected, this, &Widget::onDeviceDisconnected);
    // Queued after the window's own handling: the pages then see the keypad
    // gone.
    connect(link, &HIDManager::deviceDisconnected, m_pages, &PageHost::applyDeviceStateToPages,
            Qt::QueuedConnection);
    connect(link, &HIDManager::operationFinished, m_flows,
            [this](bool success, QString msg) { m_flows->onOperationFinished(success, msg); });
    // A keypad that is there but cannot be opened says why on the status line.
    connect(link, &HIDManager::openFailureChanged, this, &Widget::showOpenFailure);
#ifndef ZENTRIK_PORTABLE
    // ... and, when it is the permission, offers to mend it; once mended the
    // keypad is opened without a replug.
    auto *doctor = new AccessDoctor(this);
    connect(m_status, &StatusLine::accessRequested, doctor, &AccessDoctor::allowAccess);
    connect(doctor, &AccessDoctor::runningChanged, m_status,
            [this](bool running) { m_status->setAccessRequestEnabled(!running); });
    connect(doctor, &AccessDoctor::accessGranted, link, &HIDManager::searchNow);
#endif
    connect(link, &HIDManager::progressUpdated, m_flows,
            [this](int done, int total, QString msg) { m_flows->onProgressUpdated(done, total, msg); });
    link->startMonitoring();
}

void Widget::onDeviceConnected()
{
    qCDebug(lcWidget).noquote() << "=== onDeviceConnected called ===";
    // A recording meant for no keypad or another one ends here, unsaved;
    // the read that follows leaves every control usable.
    m_pages->macroPage()->abandonRecording();
    m_functionButtons->setKeypadState(true);
    m_display->showPlaceholder();
#ifndef ZENTRIK_PORTABLE
    // A zentrikctl that has the keypad open finishes first.
    if (m_scriptGate) {
        m_scriptGate->whenFree([this] { m_flows->onKeypadConnected(); });
        return;
    }
#endif
    m_flows->onKeypadConnected();
}

void Widget::onKeypadDescribed()
{
    applyLayout(layoutForDevice(m_flows->state().info));
    enableWritableControls();
    updateLayerButtonsVisibility();
}

void Widget::enableWritableControls()
{
    // A fallback picture can show more controls than the keypad has; those
    // cannot be edited while it is connected. The older families keep their
    // controls: the store refuses their unwritable slots with a log line.
    const bool slotsDescribed = m_flows->state().capabilities().slotsDescribed;
    m_view->enableControls(
        [&](int key) { return !slotsDescribed || m_keyboardData.isWritableSlot(key); });
}

void Widget::onConfigurationLoaded(bool afterConnect)
{
    if (afterConnect) {
        qCDebug(lcUi).noquote() << "[UI] onDeviceConnected before restore";
        refreshKeyTexts();
        qCDebug(lcUi).noquote() << "[UI] onDeviceConnected after restore";
    }
    refreshAssignedMarks();
    m_pages->refreshLightingView();
    if (afterConnect)
        m_pages->refreshSelectionPages();
    m_view->showSelectedKeyText();
}

void Widget::onSaveFinished(bool ok)
{
    if (!m_closeAfterSave)
        return;
    m_closeAfterSave = false;
    // A failed save keeps the window open with its failure on the status line.
    if (ok && !m_keyboardData.hasUnsavedChanges())
        close();  // asks again when edits of another keypad are still kept aside
}

void Widget::closeEvent(QCloseEvent *event)
{
    if (m_closeAfterSave) {
        // The save the user asked for is still running.
        event->ignore();
        return;
    }
    if (!hasUnsavedWork()) {
        event->accept();
        return;
    }
    // Edits kept aside can only go to their own keypad, which is not here.
    const bool canSave = m_flows->canStartTask() && m_keyboardData.hasUnsavedChanges();
    switch (UnsavedPrompt::askBeforeClose(this, canSave)) {
    case UnsavedPrompt::Choice::Discard:
        event->accept();
        return;
    case UnsavedPrompt::Choice::Save:
        m_closeAfterSave = m_flows->save();
        break;
    case UnsavedPrompt::Choice::Cancel:
        break;
    }
    event->ignore();
}

void Widget::onDeviceDisconnected()
{
    qCDebug(lcWidget).noquote() << "=== onDeviceDisconnected called ===";
    // The steps recorded so far stay with the key's other unsaved changes.
    m_pages->macroPage()->abandonRecording();
#ifndef ZENTRIK_PORTABLE
    if (m_scriptGate)
        m_scriptGate->cancel();
#endif
    m_flows->onKeypadDisconnected();

    m_functionButtons->setKeypadState(false);
    m_display->clear();
    m_display->showPlaceholder();

    m_view->blankControls();
    enableWritableControls();

    m_pages->refreshSelectionPages();
    updateLayerButtonsVisibility();
    qCDebug(lcWidget).noquote() << "Device disconnected, UI updated to disconnected state";
}

void Widget::showOpenFailure()
{
    if (m_flows->state().connected)
        return;
    const OpenFailure failure = m_link.lastOpenFailure();
    const QString text = openFailureStatusText(failure);
    if (text.isEmpty())
        m_status->showDisconnected();
#ifndef ZENTRIK_PORTABLE
    // Only udev's rule gives access, and only here can Zentrik install it;
    // elsewhere the status says what is wrong and Help tells the rest.
    else if (failure.noPermission)
        m_status->showNoAccess(translateText(QStringLiteral("No access to the keypad")), text);
#endif
    else
        m_status->showFailure(text);
}

void Widget::onViewSettingsClicked()
{
    // Reading again replaces the store: unsaved changes go only when the
    // user says so.
    if (m_flows->canStartTask() && m_keyboardData.hasUnsavedChanges()
        && !UnsavedPrompt::askBeforeReread(this))
        return;
    m_flows->view();
}

void Widget::onSaveSettingsClicked() { m_flows->save(); }
void Widget::startKeysOnlySave() { m_flows->saveKeysOnly(); }

void Widget::saveRecordedKey()
{
    const int key = m_keyboardData.selectedKey();
    m_flows->saveKeysOnly(m_keyboardData.currentLayer(), key, m_view->controlTitleFor(key));
}
