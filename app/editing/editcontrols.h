#pragma once

#include <QObject>
#include <QPoint>
#include <QVector>
#include <functional>

class EditHistory;
class KeyClipboard;
class KeypadView;
class LayerColumn;
class QAction;
class QWidget;

// The window's keyboard and mouse ways of editing: Undo and Redo, Copy and
// Paste, Delete (as "Clear"), Ctrl+1 to Ctrl+3 for the shown layer buttons,
// and the keypad view's drops (a swap of two functions) and context menus.
// While a macro is recorded none of them acts, so every key reaches the
// recorder.
class EditControls : public QObject
{
    Q_OBJECT
public:
    using Clear = std::function<void()>;
    using LayerSwitch = std::function<void(int layer)>;

    EditControls(QWidget *window, KeypadView &view, const LayerColumn &layers,
                 EditHistory &history, KeyClipboard &clipboard, Clear clear,
                 LayerSwitch layerSwitch);

    QAction *copyAction() const { return m_copy; }
    QAction *pasteAction() const { return m_paste; }
    QAction *deleteAction() const { return m_delete; }
    QAction *layerAction(int layer) const { return m_layerActions.value(layer); }

    void setRecording(bool recording);
    // Copy, Paste and Clear are enabled only when they have a key to work
    // on; the store's selection changes call this, and so does a menu before
    // it shows them.
    void refreshEnabled();
    // Swaps the functions of the controls in two slots (a drop).
    bool swapSlots(int fromSlot, int toSlot);

signals:
    // A control's context menu was asked for, at `globalPos`; the control is
    // the selected one by then.
    void controlMenuRequested(const QPoint &globalPos);

private:
    QAction *addAction(const QList<QKeySequence> &keys, const std::function<void()> &run);

    QWidget *m_window;
    KeypadView &m_view;
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
};
