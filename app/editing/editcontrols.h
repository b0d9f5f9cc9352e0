#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QVector>
#include <functional>

class EditHistory;
class KeyClipboard;
class KeypadPanel;
class KeySelection;
class LayerColumn;
class QAction;
class QPushButton;
class QWidget;
enum class NavDirection;

// The window's keyboard and mouse ways of editing: Undo and Redo, Copy and
// Paste, Delete (as "Clear"), Ctrl+1 to Ctrl+3 for the shown layer buttons, the
// arrow keys across the keypad picture, and dragging one control onto
// another to swap their functions. The Menu key, Shift+F10 and a right
// click ask for a control's context menu. While a macro is recorded none of
// them acts, so every key reaches the recorder.
class EditControls : public QObject
{
    Q_OBJECT
public:
    using Clear = std::function<void()>;
    using LayerSwitch = std::function<void(int layer)>;

    EditControls(QWidget *window, KeypadPanel &panel, KeySelection &selection,
                 const LayerColumn &layers, EditHistory &history, KeyClipboard &clipboard,
                 Clear clear, LayerSwitch layerSwitch);

    QAction *copyAction() const { return m_copy; }
    QAction *pasteAction() const { return m_paste; }
    QAction *deleteAction() const { return m_delete; }
    QAction *layerAction(int layer) const { return m_layerActions.value(layer); }

    void setRecording(bool recording);
    // Copy, Paste and Clear are enabled only when they have a key to work
    // on; the store's selection changes call this, and so does a menu before
    // it shows them.
    void refreshEnabled();
    // Moves the selection one control in `direction`; false when it stays.
    bool moveSelection(NavDirection direction);
    // Swaps the functions of the controls in two slots (a drop).
    bool swapSlots(int fromSlot, int toSlot);

signals:
    // A control's context menu was asked for, at `globalPos`; the control is
    // the selected one by then.
    void controlMenuRequested(QPushButton *control, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(const QList<QKeySequence> &keys, const std::function<void()> &run);
    int slotOf(const QObject *button) const;
    bool selectable(int slot) const;
    bool startDrag(QPushButton *button);
    bool requestMenu(QObject *watched, const QPoint &globalPos);

    QWidget *m_window;
    const KeypadPanel &m_panel;
    KeySelection &m_selection;
    const LayerColumn &m_layers;
    EditHistory &m_history;
    KeyClipboard &m_clipboard;
    Clear m_clear;
    LayerSwitch m_layerSwitch;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_delete = nullptr;
    QVector<QAction *> m_layerActions;
    QVector<QAction *> m_actions;
    bool m_recording = false;
    QPointer<QPushButton> m_pressed;
    QPoint m_pressPos;
};
