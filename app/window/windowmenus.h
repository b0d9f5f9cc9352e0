#pragma once

#include <QList>
#include <QObject>

class EditControls;
class EditHistory;
class FunctionButtons;
class KeyboardData;
class LayerColumn;
class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class QMessageBox;
class QPoint;
class QWidget;

// The window's menus: the menu bar (File, Edit, Help) and the context menu
// of a key or knob part. They hold no commands of their own: each entry is
// the action of the part that does the work (the function buttons, the
// edit controls, the history), so an entry, its button and its shortcut are
// one command with one enabled state.
class WindowMenus : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        FunctionButtons *buttons;
        EditControls *edits;
        EditHistory *history;
        LayerColumn *layers;
        const KeyboardData *store;
    };
    WindowMenus(QWidget *window, const Parts &parts);

    QMenuBar *build();

    // File holds the keypad's commands, then a group for commands on files,
    // then Quit. addToFileMenu puts actions at the end of the files group.
    QMenu *fileMenu() const { return m_fileMenu; }
    void addToFileMenu(const QList<QAction *> &actions);
    QAction *quitAction() const { return m_quit; }

    // A recording keeps every key for itself: no menu opens meanwhile.
    void setRecording(bool recording);

    // The context menu of the selected key or knob part, shown at
    // `globalPos`; it goes away when closed.
    QMenu *popupControlMenu(const QPoint &globalPos);

    // The Help menu's windows, shown without blocking; each goes away when
    // closed.
    QDialog *showShortcuts();
    QMessageBox *showTroubleshooting();
    QMessageBox *showAbout();

private:
    QMenu *buildFileMenu(QMenuBar *bar);
    QMenu *buildEditMenu(QMenuBar *bar);
    QMenu *buildHelpMenu(QMenuBar *bar);
    void refreshEditMenu();

    QWidget *m_window;
    Parts m_parts;
    QMenuBar *m_bar = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_copyLayerMenu = nullptr;
    // The end of File's group of commands on files.
    QAction *m_filesEnd = nullptr;
    QAction *m_quit = nullptr;
    bool m_recording = false;
};
