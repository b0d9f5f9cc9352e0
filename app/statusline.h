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
    StatusLine(bool useChinese, QObject *parent);

    QLabel *build();
    QLabel *label() const { return m_label; }

    void setConnected(bool connected);
    void showDisconnected();
    void showConnected();
    // Ignored once the keypad is gone.
    void showSaved();
    // A passing message (a refused paste): shown for a few seconds, then
    // the line tells the connection again.
    void showNotice(const QString &text);

private:
    QLabel *m_label = nullptr;
    bool m_useChinese;
    bool m_connected = false;
    QTimer *m_resetTimer = nullptr;
    QTimer *m_noticeTimer = nullptr;
};
