// The window: it creates its parts, builds the widget tree from them and
// wires them to the key store and the keypad link. The work itself is done
// by the parts; the entries here hand over.

#include "app/window/widget.h"

#include "app/connection/connectionflows.h"
#include "app/editing/edithistory.h"
#include "app/look/firstwindow.h"
#include "app/look/functionbuttons.h"
#include "app/keypadview/keydisplay.h"
#include "app/files/keypadprint.h"
#include "app/keypadview/keypadview.h"
#include "app/editing/pagehost.h"
#include "keypad/settingsfile.h"
#include "app/look/statusline.h"
#include "app/look/widgetstyle.h"
#include "app/window/windowmenus.h"
#include "app/window/windowscaler.h"
#include "app/look/windowsize.h"
#include "pages/macropage.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyleOption>

Widget::Widget(const AppSettings &settings, HIDManager &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    // The style sheet comes first so every child is polished with it.
    setStyleSheet(windowStyleSheet());
    // The window paints its sheet's background itself (paintEvent), once:
    // Qt would first fill it with the palette's colour.
    setAttribute(Qt::WA_OpaquePaintEvent);

    setInterfaceChinese(settings.useChinese);

    m_status = new StatusLine(this);
    m_flows = new ConnectionFlows(m_keyboardData, *m_status, m_link, this);
    m_layers = new LayerColumn(m_keyboardData, m_flows->state(), this);
    m_display = new KeyDisplay(this);
    m_functionButtons = new FunctionButtons(this);
    m_view = new KeypadView(m_keyboardData, m_flows->state(), *m_display,
                            [this] { return scaleRatio(); }, this);
    m_pages = new PageHost(m_keyboardData, m_flows->state(), *m_view, *m_display, this);

    if (settings.layerNum) {
        m_layers->setStartupDefaultCount(*settings.layerNum);
        setForcedLayerDisplayCount(*settings.layerNum);
    }

    setWindowTitle(QStringLiteral("Zentrik"));
    resize(windowSizeForContent(QSize(kDesignWidth, kDesignHeight)));
    setMinimumSize(windowSizeForContent(QSize(kMinimumWidth, kMinimumHeight)));
    // A screen smaller than the design gets a window that fits it.
    fitFirstWindowToScreen(*this);

    buildWidgetTree();
    m_scaler = new WindowScaler(this, {m_view, m_layers, m_pages, m_functionButtons, m_display,
                                       m_lowerRow});
    m_layers->createButtonGroup();

    applyLayout(layoutForPreset(m_startupPreset));

    qCDebug(lcLayer).noquote() << "[Layer] ctor startup forced count=" << m_layers->forcedCount()
                               << "effective=" << effectiveLayerDisplayCount();
    updateLayerButtonsVisibility();

    connectParts();
    connectEditing();
    connectHistory(settings.keepHistory);
    // Print and PDF export of the layers shown.
    const KeypadPrintActions printing = addKeypadPrintActions(this, [this] {
        return keypadPrintContents(m_keyboardData, m_flows->state(), currentLayout(),
                                   effectiveLayerDisplayCount(), m_view->controlMap());
    });
    m_menus->addToFileMenu({printing.print, printing.exportPdf});
    // Every text of the finished tree is translated in one pass.
    applyLanguage();

    // No keypad yet.
    m_status->showDisconnected();
    m_functionButtons->setKeypadState(false);

    // The keypad link comes last: it may report a keypad at once.
    updateLayerButtonsVisibility();
    initHIDCommunication();
}

Widget::~Widget()
{
    // The store goes before the parts that hold it, and children are
    // destroyed after this body, when the window is no longer a Widget: none
    // of their last signals may reach a slot.
    m_pages->stopFollowingFunctionList();
    m_keyboardData.disconnect();
}

void Widget::connectParts()
{
    connect(m_layers, &LayerColumn::layerClicked, this, &Widget::onLayerButtonClicked);

    FunctionButtons *buttons = m_functionButtons;
    connect(buttons, &FunctionButtons::viewClicked, this,
            [] { qCDebug(lcView).noquote() << "View Settings clicked"; });

    connect(&m_keyboardData, &KeyboardData::unsavedChanged, this, &Widget::showUnsavedState);
    connect(m_flows, &ConnectionFlows::setAsideEditsChanged, this,
            [this] { showUnsavedState(hasUnsavedWork()); });

    connect(buttons, &FunctionButtons::clearClicked, this, &Widget::onClearSelectedClicked);
    connect(buttons, &FunctionButtons::clearAllClicked, this, &Widget::onClearAllClicked);
    connect(buttons, &FunctionButtons::saveClicked, this, &Widget::onSaveSettingsClicked);
    connect(buttons, &FunctionButtons::viewClicked, this, &Widget::onViewSettingsClicked);

    connect(m_flows, &ConnectionFlows::keypadIdentified, m_pages,
            &PageHost::updateMacroPageTitle);
    connect(m_flows, &ConnectionFlows::keypadDescribed, this, &Widget::onKeypadDescribed);
    connect(m_flows, &ConnectionFlows::configurationLoaded, this,
            &Widget::onConfigurationLoaded);
    connect(m_flows, &ConnectionFlows::saveFinished, this, &Widget::onSaveFinished);
}

// ---- layers ----------------------------------------------------------------

int Widget::effectiveLayerDisplayCount() const { return m_layers->effectiveCount(); }
void Widget::setForcedLayerDisplayCount(int count) { m_layers->setForcedCount(count); }
void Widget::updateLayerButtonsVisibility() { m_layers->updateVisibility(); }

void Widget::onLayerButtonClicked(int id)
{
    if (id < 0 || id > 3)
        return;
    // The store re-sends every key text of the new layer and drops the
    // selection, so the picture and the display follow.
    m_keyboardData.setCurrentLayer(id);
    refreshAssignedMarks();
    updateLayerButtonsVisibility();
    m_display->clear();
    m_view->dropSelection();
    qCDebug(lcLayer).noquote() << "Switched to Layer" << id + 1;
}

// ---- the keypad picture ----------------------------------------------------

LayoutSpec Widget::layoutForDevice(const DeviceInfo &info) const
{
    return ::layoutForDevice(info, m_flows->state().capabilities().layoutFromCounts);
}

void Widget::applyLayout(const LayoutSpec &layoutSpec)
{
    m_view->applyLayout(layoutSpec, scaleRatio());
}

const LayoutSpec &Widget::currentLayout() const { return m_view->layout(); }
double Widget::panelScale() const { return m_view->scale(); }

void Widget::setStartupDisplayLayoutPreset(StartupLayoutPreset preset)
{
    m_startupPreset = preset;
    qCDebug(lcLayout).noquote() << "[Layout] setStartupDisplayLayoutPreset" << int(preset);
    // A connected keypad's own picture wins; the preset waits for the next
    // time no keypad is there.
    if (m_flows->state().connected)
        return;
    applyLayout(layoutForPreset(preset));
    updateLayerButtonsVisibility();
}

StartupLayoutPreset Widget::startupDisplayLayoutPreset() const { return m_startupPreset; }

// ---- scaling ---------------------------------------------------------------

double Widget::scaleRatio() const { return m_scaler ? m_scaler->scaleRatio() : 1.0; }
double Widget::targetScaleRatio() const { return m_scaler ? m_scaler->targetScaleRatio() : 1.0; }
void Widget::applyScale(double ratio) { m_scaler->applyScale(ratio); }

void Widget::resizeEvent(QResizeEvent *event)
{
    if (m_scaler)
        m_scaler->onResize(event->size());
    QWidget::resizeEvent(event);
}

void Widget::paintEvent(QPaintEvent *)
{
    // The sheet's background, as Qt draws it for a styled widget.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void Widget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_scaler->onShow();
    if (!event->spontaneous())
        m_pages->warmPagesLater();
}

// ---- selection and key texts -----------------------------------------------

void Widget::selectButton(int buttonIndex) { m_view->selectButton(buttonIndex); }
QString Widget::buttonTextFor(int key) const { return m_view->buttonTextFor(key); }
QString Widget::fullTextFor(int key) const { return m_view->fullTextFor(key); }
void Widget::refreshKeyTexts() { m_view->refreshKeyTexts(); }
void Widget::refreshAssignedMarks() { m_view->refreshAssignedMarks(); }
int Widget::keyIndexForButton(int button) const { return m_view->keyIndexForButton(button); }

void Widget::onClearSelectedClicked() { m_view->clearSelected(); }
void Widget::onClearAllClicked()
{
    // One step of its own, whatever the layer held.
    if (m_history)
        m_history->perform(EditKind::ClearAll, [this] { m_view->clearAll(); });
    else
        m_view->clearAll();
}

bool Widget::hasUnsavedWork() const
{
    return m_keyboardData.hasUnsavedChanges() || m_flows->hasSetAsideEdits();
}

void Widget::showUnsavedState(bool unsaved)
{
    // Edits kept aside for a keypad that was pulled out wait for a save too.
    unsaved = unsaved || m_flows->hasSetAsideEdits();
    // The title carries the marker only while something waits for a save,
    // so a saved window's title is the plain name.
    setWindowTitle(unsaved ? QStringLiteral("Zentrik[*]") : QStringLiteral("Zentrik"));
    setWindowModified(unsaved);
}

// ---- the pages -------------------------------------------------------------

void Widget::applyMouseGestureSupport() { m_pages->applyMouseGestureSupport(); }

void Widget::onMacroRecordingChanged(bool recording)
{
    // While a macro is recorded every key goes to the recorder: the rest of
    // the window waits.
    const bool enabled = !recording;
    m_status->setEnabled(enabled);
    m_view->setEnabled(enabled);
    m_layers->setEnabled(enabled);
    m_pages->setRecording(recording);
    m_functionButtons->setRecording(recording);
    if (m_menus)
        m_menus->setRecording(recording);
    if (enabled)
        updateLayerButtonsVisibility();
}
