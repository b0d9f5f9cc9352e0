#pragma once

#include <QObject>

class QAction;
class QPushButton;
class QWidget;

// The column of "Clear", "Clear All", "View Settings" and "Save Settings".
// Their texts shrink together to fit the narrowest button, and the buttons
// grow lower with a low window. Which of them can be pressed follows the
// keypad and a running macro recording.
class FunctionButtons : public QObject
{
    Q_OBJECT
public:
    explicit FunctionButtons(QObject *parent);

    QWidget *build();

    // "View Settings" and "Save Settings" need a keypad.
    void setKeypadState(bool connected);
    // A recording keeps every key for itself: only "Clear" stays usable.
    void setRecording(bool recording);
    // The keyboard's Delete does what a click on "Clear" does.
    void clickClear();

    // The buttons' commands for the menus: triggering one clicks its button,
    // and each is enabled exactly while its button is.
    QAction *clearAllAction() const { return m_clearAllAction; }
    QAction *viewAction() const { return m_viewAction; }
    QAction *saveAction() const { return m_saveAction; }

    void fitTexts();
    void fitHeights(int windowHeight);

signals:
    void clearClicked();
    void clearAllClicked();
    void viewClicked();
    void saveClicked();

private:
    bool m_connected = false;
    QPushButton *m_clear = nullptr;
    QPushButton *m_clearAll = nullptr;
    QPushButton *m_view = nullptr;
    QPushButton *m_save = nullptr;
    QAction *m_clearAllAction = nullptr;
    QAction *m_viewAction = nullptr;
    QAction *m_saveAction = nullptr;
    int m_appliedFontPx = -1;

    QAction *commandOf(QPushButton *button);
    void followButtons();
};
