// The editing aids of the window: the history of edits, the key clipboard,
// the layer copy and the keyboard's shortcuts, wired to the parts they use.

#include "app/widget.h"

#include "app/connectionflows.h"
#include "app/editcontrols.h"
#include "app/edithistory.h"
#include "app/functionbuttons.h"
#include "app/keyclipboard.h"
#include "app/keypadfilecommands.h"
#include "app/keyselection.h"
#include "app/layercopy.h"
#include "app/pagehost.h"
#include "app/statusline.h"
#include "widgets/macroflowwidget.h"
#include "pages/macropage.h"

#include <QPushButton>

void Widget::connectEditing()
{
    const auto switchLayer = [this](int layer) { onLayerButtonClicked(layer); };
    m_history = new EditHistory(m_keyboardData, this);
    m_history->setLayerSwitch(switchLayer);
    m_clipboard = new KeyClipboard(m_keyboardData, m_flows->state(), *m_history, *m_status, this);
    m_layerCopy = new LayerCopy(m_keyboardData, *m_history, this, switchLayer);
    m_editControls = new EditControls(
        this, *m_panel, *m_selection, *m_layers, *m_history, *m_clipboard,
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
    m_fileCommands = new KeypadFileCommands(this, m_keyboardData, *m_flows, *history);
    addKeypadFileActions(this, nullptr, m_fileCommands);
    connect(m_fileCommands, &KeypadFileCommands::imported, m_pages, showRestoredRecords);
}
