// The window's side of the keypad link: monitoring, reading and saving.

#include "app/widget.h"

#include "model/logging.h"

void Widget::initHIDCommunication()
{
    // The keypad link is attached here once the device code is in place:
    // its four signals reach this window queued, then monitoring starts.
}

void Widget::onSaveSettingsClicked()
{
    if (!m_deviceConnected) {
        qCDebug(lcSave).noquote() << "Save: device not connected";
        return;
    }
}

void Widget::onViewSettingsClicked()
{
    if (!m_deviceConnected) {
        qCDebug(lcView).noquote() << "View: device not connected";
        return;
    }
}

void Widget::showError(QString msg)
{
    qCDebug(lcWidget).noquote() << "Error:" << msg;
}
