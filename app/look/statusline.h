#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
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
    // Ignored once the keypad is gone. `text` says what was stored when it
    // is more than "Saved successfully"; `toolTip` explains it.
    void showSaved(const QString &text = QString(), const QString &toolTip = QString());
    // A save under way: `done` of `total` items, or busy while `total` is 0.
    void showProgress(int done, int total);
    void hideProgress();
    // Red, until the next status: a save that did not reach the keypad.
    void showFailure(const QString &text);
    // Red, with "Allow access…" beside it: a keypad is there but the user
    // may not open it. `toolTip` says how to mend it by hand.
    void showNoAccess(const QString &text, const QString &toolTip);
    // Greyed out while a request for access is under way.
    void setAccessRequestEnabled(bool enabled);
    // A passing note; the line returns to the keypad's state after a while.
    void showNotice(const QString &text);
    // What an edit just did ("Pasted on key 6"), for a moment; then the line
    // returns to the keypad's state.
    void showDone(const QString &text);

signals:
    // "Allow access…" was clicked.
    void accessRequested();

private:
    // What the line shows: text, style sheet and the tooltip with the whole
    // text when it was cut.
    struct Shown {
        QString text;
        QString style;
        QString toolTip;
        bool offersAccess = false;
    };

    QLabel *m_label = nullptr;
    // At the line's right end while a save runs.
    QProgressBar *m_progress = nullptr;
    // At the right end while the user may not open the keypad.
    QPushButton *m_allowAccess = nullptr;
    bool m_connected = false;
    QTimer *m_resetTimer = nullptr;
    // The keypad's state, which passing texts return to.
    Shown m_resting;

    void present(const Shown &shown);
    void rest(const Shown &shown);
    void showFor(int ms);
};
