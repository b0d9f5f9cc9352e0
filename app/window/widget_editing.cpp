// The editing aids of the window: the history of edits, the key clipboard,
// the layer copy and the keyboard's shortcuts, wired to the parts they use.

#include "app/window/widget.h"

#include "app/connection/connectionflows.h"
#include "app/editing/editcontrols.h"
#include "app/editing/edithistory.h"
#include "app/editing/editsteptext.h"
#include "app/look/functionbuttons.h"
#include "app/editing/keyclipboard.h"
#include "app/files/keypadfilecommands.h"
#include "app/keypadview/keypadview.h"
#include "app/editing/layercopy.h"
#include "app/editing/pagehost.h"
#include "app/look/statusline.h"
#include "app/window/windowmenus.h"
#include "widgets/macroflowwidget.h"
#include "pages/macropage.h"

#include <QAction>
#include <QLayout>
#include <QMenuBar>

void Widget::connectEditing()
{
    const auto switchLayer = [this](int layer) { onLayerButtonClicked(layer); };
    const ControlOfKey controlOfKey = [this](int key) { return m_view->controlOfKey(key); };
    m_history = new EditHistory(m_keyboardData, this);
    m_history->setReveal([this](EditKind kind, const StoreChanges &changes, bool forward) {
        revealStep(kind, changes, forward);
    });
    m_history->setControlOfKey(controlOfKey);
    m_clipboard = new KeyClipboard(m_keyboardData, m_flows->state(), *m_history, *m_status, this);
    m_layerCopy = new LayerCopy(m_keyboardData, *m_history, this, switchLayer);
    m_editControls = new EditControls(
        this, *m_view, *m_layers, *m_history, *m_clipboard,
        [this] { m_functionButtons->clickClear(); }, switchLayer);

    // Whatever record the store announces as changed becomes a step.
    EditHistory *history = m_history;
    connect(&m_keyboardData, &KeyboardData::keyChanged, history, &EditHistory::noteChange);
    connect(&m_keyboardData, &KeyboardData::ledLayerChanged, history, &EditHistory::noteChange);
    connect(m_pages->macroPage()->flow(), &MacroFlowWidget::delayEdited, history,
            &EditHistory::noteDelayChange);
    // Lighting put back by undo or laid by an import is shown again.
    const auto showRestoredRecords = [this] {
        m_pages->refreshLightingView();
        m_pages->refreshSelectionPages();
    };
    connect(history, &EditHistory::lightingRestored, m_pages, showRestoredRecords);

    // A read or an emptied store starts the history afresh.
    connect(m_flows, &ConnectionFlows::configurationLoaded, history, &EditHistory::reset);
    connect(m_flows, &ConnectionFlows::keypadDisconnected, history, &EditHistory::reset);
    connect(m_flows, &ConnectionFlows::saveRunningChanged, history, &EditHistory::setSaving);
    connect(m_pages->macroPage(), &MacroPage::recordingChanged, m_editControls,
            &EditControls::setRecording);

    connect(m_layers, &LayerColumn::copyLayerRequested, m_layerCopy, &LayerCopy::copy);

    // Export and import of the keypad's whole configuration.
    m_fileCommands = new KeypadFileCommands(
        this, m_keyboardData, *m_flows, *history,
        [this]() -> const ControlMap & { return m_view->controlMap(); });
    const QList<QAction *> fileActions = addKeypadFileActions(this, m_fileCommands);
    connect(m_fileCommands, &KeypadFileCommands::imported, m_pages, showRestoredRecords);
    connect(&m_keyboardData, &KeyboardData::selectedKeyChanged, m_editControls,
            &EditControls::refreshEnabled);

    // The status line says what an edit, an undo or a redo just did.
    connect(history, &EditHistory::stepRecorded, m_status,
            [this, controlOfKey](EditKind kind, const StoreChanges &changes) {
                const QString undoKeys =
                    m_history->undoAction()->shortcut().toString(QKeySequence::NativeText);
                const QString said = recordedFeedback(kind, changes, controlOfKey, undoKeys);
                if (!said.isEmpty())
                    m_status->showDone(said);
            });
    connect(history, &EditHistory::undone, m_status,
            [this](const QString &step) { m_status->showDone(undoneFeedback(step)); });
    connect(history, &EditHistory::redone, m_status,
            [this](const QString &step) { m_status->showDone(redoneFeedback(step)); });

    buildMenus();
    m_menus->addToFileMenu(fileActions);
}

void Widget::buildMenus()
{
    m_menus = new WindowMenus(this, {m_functionButtons, m_editControls, m_history, m_layers,
                                     &m_keyboardData});
    layout()->setMenuBar(m_menus->build());
    connect(m_editControls, &EditControls::controlMenuRequested, m_menus,
            [this](const QPoint &globalPos) {
                m_menus->popupControlMenu(globalPos);
            });
}

namespace {

// The page a step's records are seen on; -1 when the shown page will do.
int pageRowOfStep(EditKind kind, const StoreChanges &changes, bool forward, bool lightingShown)
{
    switch (kind) {
    case EditKind::Lighting:
        return RowRgbLed;
    case EditKind::Delay:
    case EditKind::MacroRecording:
        return RowMacro;
    case EditKind::LayerCopy:
        return -1;
    default:
        break;
    }
    // Key functions are drawn on the controls, which the lighting page
    // gives to the LEDs: the page of the function that comes back is shown.
    if (!lightingShown || changes.keys.isEmpty())
        return -1;
    const KeyChange &change = changes.keys.first();
    switch ((forward ? change.after : change.before).type) {
    case KeyTypeMedia: return RowMultiMedia;
    case KeyTypeMouse: return RowMouse;
    case KeyTypeMacro: return RowMacro;
    default: return RowBaseKeys;
    }
}

} // namespace

void Widget::revealStep(EditKind kind, const StoreChanges &changes, bool forward)
{
    const int layer = changes.layer();
    if (layer >= 0 && layer != m_keyboardData.currentLayer())
        onLayerButtonClicked(layer);
    const int row = pageRowOfStep(kind, changes, forward, m_view->lightingShown());
    if (row >= 0)
        m_pages->bringRowIntoView(row);
}
