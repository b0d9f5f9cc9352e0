#include "app/editing/editcontrols.h"

#include "app/editing/edithistory.h"
#include "app/editing/keyclipboard.h"
#include "app/keypadview/keypadview.h"
#include "app/keypadview/layercolumn.h"
#include "model/keyboarddata.h"
#include "model/translation.h"

#include <QAction>
#include <QWidget>

EditControls::EditControls(QWidget *window, KeypadView &view, const LayerColumn &layers,
                           EditHistory &history, KeyClipboard &clipboard, Clear clear,
                           LayerSwitch layerSwitch)
    : QObject(window)
    , m_window(window)
    , m_view(view)
    , m_layers(layers)
    , m_history(history)
    , m_clipboard(clipboard)
    , m_clear(std::move(clear))
    , m_layerSwitch(std::move(layerSwitch))
{
    window->addAction(history.undoAction());
    window->addAction(history.redoAction());
    m_copy = addAction(QKeySequence::keyBindings(QKeySequence::Copy), [this] {
        m_clipboard.copySelected();
        refreshEnabled();
    });
    m_paste = addAction(QKeySequence::keyBindings(QKeySequence::Paste),
                        [this] { m_clipboard.pasteToSelected(); });
    m_delete = addAction(QKeySequence::keyBindings(QKeySequence::Delete), [this] {
        const int selected = m_view.selectedSlot();
        if (selected < 0)
            return;
        m_clear();
        // "Clear" drops the selection; Delete keeps working on the same key,
        // so the next key press or page click still has a target.
        m_view.clickControl(selected);
    });
    m_copy->setText(translateText(QStringLiteral("Copy")));
    m_paste->setText(translateText(QStringLiteral("Paste")));
    m_delete->setText(translateText(QStringLiteral("Clear")));
    for (int layer = 0; layer < kLayerButtonCount; ++layer) {
        const QKeySequence keys(Qt::CTRL | Qt::Key(Qt::Key_1 + layer));
        m_layerActions << addAction({keys}, [this, layer] {
            if (layer < m_layers.effectiveCount())
                m_layerSwitch(layer);
        });
    }

    refreshEnabled();

    connect(&view, &KeypadView::swapRequested, this, &EditControls::swapSlots);
    connect(&view, &KeypadView::menuRequested, this, [this](const QPoint &globalPos) {
        refreshEnabled();
        emit controlMenuRequested(globalPos);
    });
}

QAction *EditControls::addAction(const QList<QKeySequence> &keys,
                                 const std::function<void()> &run)
{
    auto *action = new QAction(this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run] {
        if (!m_recording)
            run();
    });
    m_window->addAction(action);
    m_actions << action;
    return action;
}

void EditControls::setRecording(bool recording)
{
    m_recording = recording;
    // A disabled action leaves its keys alone, so they reach the recorder.
    for (QAction *action : m_actions)
        action->setEnabled(!recording);
    m_history.setRecording(recording);
    m_view.setGesturesEnabled(!recording);
    refreshEnabled();
}

void EditControls::refreshEnabled()
{
    // Greyed rather than silent: a disabled action also leaves its keys to
    // the focused field.
    m_copy->setEnabled(!m_recording && m_clipboard.canCopy());
    m_paste->setEnabled(!m_recording && m_clipboard.canPaste());
    m_delete->setEnabled(!m_recording && m_view.selectedSlot() >= 0);
}

bool EditControls::swapSlots(int fromSlot, int toSlot)
{
    if (m_recording || fromSlot < 0 || toSlot < 0 || fromSlot == toSlot)
        return false;
    return m_clipboard.swap(m_view.keyIndexForButton(fromSlot),
                            m_view.keyIndexForButton(toSlot));
}
