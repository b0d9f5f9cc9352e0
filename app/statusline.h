#pragma once

#include <QObject>

class QLabel;
class QTimer;

// The one status line at the top of the window: red while no keypad is
// there, green once one is, and "Saved successfully" for a moment after a
// save.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    explicit StatusLine(QObject *parent);

    QLabel *build();

    // Greyed out while a macro recording holds the window.
    void setEnabled(bool enabled);
    void setConnected(bool connected);
    void showDisconnected();
    void showConnected();
    // Ignored once the keypad is gone.
    void showSaved();
    // Red, until the next status: a save that did not reach the keypad.
    void showFailure(const QString &text);
    // A passing note; the line returns to the keypad's state after a while.
    void showNotice(const QString &text);

private:
    QLabel *m_label = nullptr;
    bool m_connected = false;
    QTimer *m_resetTimer = nullptr;

    void showFor(int ms);
};
