// The assignment pages in the window's page stack: creating and wiring them,
// which page a function-list row shows, and what follows the selection.

#include "app/widget.h"

#include "model/logging.h"
#include "pages/basekeyspage.h"
#include "pages/extkeyspage.h"
#include "pages/lightingcommon.h"
#include "pages/lightingpage.h"
#include "pages/macropage.h"
#include "pages/mousepage.h"
#include "pages/multimediapage.h"
#include "pages/olddelaypage.h"
#include "pages/oldlightingpage.h"
#include "pages/pageclicks.h"
#include "pages/procreatepage.h"
#include "pages/r20widedelaypage.h"
#include "pages/r20widelightingpage.h"
#include "widgets/keybutton.h"
#include "widgets/rgbcolorpickerwidget.h"

#include "device/hidmanager.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>

namespace {

// Stack pages after the seven function-list rows: the older families' delay
// pages (shown for row 5) and lighting pages (shown for row 3).
constexpr int StackR20WideDelay = 7;
constexpr int StackOldDelay = 8;
constexpr int StackR20WideLighting = 9;
constexpr int StackOldLighting = 10;

constexpr int kLightingPageMinHeight = 300;
constexpr int kPageMinHeight = 600;
constexpr int kKeyLedCount = 16;

} // namespace

void Widget::createPages(QStackedWidget *stack)
{
    m_baseKeysPage = new BaseKeysPage;
    m_extKeysPage = new ExtKeysPage;
    m_multiMediaPage = new MultiMediaPage;
    m_lightingPage = new LightingPage;
    m_mousePage = new MousePage;
    m_macroPage = new MacroPage(m_keyboardData);
    m_procreatePage = new ProcreatePage;
    m_r20WideDelayPage = new R20WideDelayPage(m_keyboardData);
    m_oldDelayPage = new OldDelayPage(m_keyboardData);
    m_r20WideLightingPage = new R20WideLightingPage;
    m_oldLightingPage = new OldLightingPage;

    // Stack order: the function-list rows, then the older families' pages.
    QWidget *const pages[] = {m_baseKeysPage,     m_extKeysPage,        m_multiMediaPage,
                              m_lightingPage,     m_mousePage,          m_macroPage,
                              m_procreatePage,    m_r20WideDelayPage,   m_oldDelayPage,
                              m_r20WideLightingPage, m_oldLightingPage};
    constexpr const char *kPageNames[] = {
        "baseKeysPage", "extKeysPage",     "multiMediaPage",   "rgbLightingPage",
        "mousePage",    "macroPage",       "procreatePage",    "r20WideDelayPage",
        "oldDelayPage", "r20WideLightingPage", "oldLightingPage"};
    for (size_t i = 0; i < std::size(pages); ++i) {
        pages[i]->setObjectName(QString::fromLatin1(kPageNames[i]));
        stack->addWidget(pages[i]);
    }

    for (QPushButton *key : m_baseKeysPage->keyButtons() + m_extKeysPage->keyButtons())
        connect(key, &QPushButton::clicked, this, &Widget::onBaseKeyClicked);
    for (QPushButton *button : m_multiMediaPage->mediaButtons())
        connect(button, &QPushButton::clicked, this, &Widget::onMultiMediaClicked);
    for (QPushButton *button : m_mousePage->actionButtons())
        connect(button, &QPushButton::clicked, this, &Widget::onMouseClicked);

    m_procreatePage->bind(m_keyboardData);

    const LedKeyFilter ledFilter = [this](int key) { return hasLed(key); };
    m_lightingPage->bind(m_keyboardData);
    m_lightingPage->setUseChinese(m_useChinese);
    m_lightingPage->setLedKeyFilter(ledFilter);
    connect(m_lightingPage, &LightingPage::lightingChanged, this, &Widget::onLightingChanged);

    m_r20WideLightingPage->bind(m_keyboardData);
    m_r20WideLightingPage->setLedKeyFilter(ledFilter);
    connect(m_r20WideLightingPage, &R20WideLightingPage::lightingChanged, this,
            &Widget::onLightingChanged);
    m_oldLightingPage->bind(m_keyboardData);
    connect(m_oldLightingPage, &OldLightingPage::lightingChanged, this,
            &Widget::onLightingChanged);

    m_macroPage->setUseChinese(m_useChinese);
    connect(m_macroPage, &MacroPage::recordingChanged, this, &Widget::onMacroRecordingChanged);
    connect(m_macroPage, &MacroPage::saveKeysRequested, this, &Widget::startKeysOnlySave);

    // Runs after the window's own disconnect handling, which was connected
    // earlier: the pages then see the keypad gone.
    connect(HIDManager::instance(), &HIDManager::deviceDisconnected, this,
            &Widget::applyDeviceStateToPages, Qt::QueuedConnection);
    applyDeviceStateToPages();
}

void Widget::applyDeviceStateToPages()
{
    const bool r20Wide = m_deviceConnected && m_legacyActive && m_legacyR20Wide;
    const bool old = m_deviceConnected && m_legacyActive && m_legacyOld;
    m_r20WideLightingPage->setDeviceActive(r20Wide);
    m_oldLightingPage->setDeviceActive(old);
    m_r20WideDelayPage->setDeviceConnected(r20Wide);
    m_oldDelayPage->setDeviceConnected(old);
    applyMouseGestureSupport();
    // The family decides which page rows 3 and 5 show.
    if (m_functionList)
        showPage(m_functionList->currentRow());
}

void Widget::applyMouseGestureSupport()
{
    m_mousePage->applyMouseGestureSupport(m_deviceConnected && m_legacyActive && m_legacyOld);
}

void Widget::onBaseKeyClicked()
{
    handleBaseKeyClick(m_keyboardData, sender());
}

void Widget::onMultiMediaClicked()
{
    handleMediaClick(m_keyboardData, sender());
}

void Widget::onMouseClicked()
{
    handleMouseClick(m_keyboardData, sender(), m_legacyActive && m_legacyOld);
}

// ---- page change -----------------------------------------------------------

void Widget::showPage(int row)
{
    if (!m_pageStack || row < 0 || row > RowProcreate)
        return;
    if (row != RowMacro && m_macroPage)
        m_macroPage->stopMacroRecording();

    const bool r20Wide = m_legacyActive && m_legacyR20Wide;
    const bool old = m_legacyActive && m_legacyOld;
    int stackIndex = row;
    const int lightingRow = RowRgbLed;
    const int macroRow = RowMacro;
    if (row == RowRgbLed)
        stackIndex = r20Wide ? StackR20WideLighting : old ? StackOldLighting : lightingRow;
    else if (row == RowMacro)
        stackIndex = r20Wide ? StackR20WideDelay : old ? StackOldDelay : macroRow;
    scaleStackPage(stackIndex);
    m_pageStack->setCurrentIndex(stackIndex);
    m_rgbPageShown = stackIndex == RowRgbLed || stackIndex == StackR20WideLighting;
    m_lightingPage->setRgbPageActive(stackIndex == RowRgbLed);
    // The lighting page fits a lower window than the key pages.
    setMinimumHeight(row == RowRgbLed ? kLightingPageMinHeight : kPageMinHeight);

    refreshLightingView();
    switch (stackIndex) {
    case RowMacro: m_macroPage->rebuildFlow(); break;
    case StackR20WideDelay: m_r20WideDelayPage->refresh(); break;
    case StackOldDelay: m_oldDelayPage->refresh(); break;
    case StackR20WideLighting: m_r20WideLightingPage->refreshModeButtons(); break;
    case StackOldLighting: m_oldLightingPage->refresh(); break;
    default: break;
    }

    const int key = m_keyboardData.selectedKey;
    if (m_rgbPageShown) {
        m_keyDisplay->clear();
        if (!m_lightingPage->isKnobLedLayout() && hasLed(key))
            showSelectedLedColor(key);
    } else if (key >= 0) {
        showKeyDisplayText(fullTextFor(key));
    }
}

// ---- lighting --------------------------------------------------------------

bool Widget::hasLed(int key) const
{
    if (key < 0 || key >= kKeyLedCount)
        return false;
    return qobject_cast<KeyButton *>(buttonForKey(key)) != nullptr;
}

QColor Widget::ledColorOf(int key) const
{
    return toQColor(currentLedColor(m_keyboardData, key));
}

void Widget::showSelectedLedColor(int key)
{
    if (m_pageStack->currentWidget() == m_lightingPage)
        m_lightingPage->showKeyColor(key);
}

void Widget::refreshLightingView()
{
    m_lightingPage->setKnobLedLayout(m_layout.name == QLatin1String("Layout_0K_1E_P1_S1"));
    // The page answers with lightingChanged, which redraws the keys.
    m_lightingPage->refresh();
}

void Widget::onLightingChanged()
{
    if (m_rgbPageShown)
        showLedSwatches();
    else
        refreshKeyTexts();
}

void Widget::showLedSwatches()
{
    for (int i = 0; i < kKeySlotCount; ++i) {
        auto *key = qobject_cast<KeyButton *>(m_controlButtons[size_t(i)]);
        if (!key)
            continue;
        key->setText(QString());
        key->setSwatch(ledColorOf(keyIndexForButton(i)));
    }
}

void Widget::refreshSelectionPages()
{
    m_oldDelayPage->refresh();
    m_r20WideLightingPage->refreshModeButtons();
    m_oldLightingPage->refresh();
}

// ---- macro recording -------------------------------------------------------

void Widget::onMacroRecordingChanged(bool recording)
{
    const bool enabled = !recording;
    m_tipLabel->setEnabled(enabled);
    m_keyKnobGroup->setEnabled(enabled);
    m_layerColumn->setEnabled(enabled);
    m_functionList->setEnabled(enabled);
    m_clearAllButton->setEnabled(enabled);
    m_viewSettingsButton->setEnabled(enabled && m_deviceConnected);
    m_saveSettingsButton->setEnabled(enabled && m_deviceConnected);
    for (int i = 0; i < m_pageStack->count(); ++i)
        if (m_pageStack->widget(i) != m_macroPage)
            m_pageStack->widget(i)->setEnabled(enabled);
    if (enabled)
        updateLayerButtonsVisibility();
}

// ---- scaling ---------------------------------------------------------------

void Widget::scalePages(double ratio)
{
    m_pageScale = ratio;
    m_pageScaleStale.fill(true);
    scaleStackPage(m_pageStack->currentIndex());
}

void Widget::scaleStackPage(int stackIndex)
{
    if (stackIndex < 0 || stackIndex >= int(m_pageScaleStale.size())
        || !m_pageScaleStale[size_t(stackIndex)])
        return;
    m_pageScaleStale[size_t(stackIndex)] = false;
    const double ratio = m_pageScale;
    switch (stackIndex) {
    case RowBaseKeys: m_baseKeysPage->setScale(ratio); break;
    case RowExtKeys: m_extKeysPage->setScale(ratio); break;
    case RowMultiMedia: m_multiMediaPage->setScale(ratio); break;
    case RowRgbLed: m_lightingPage->setScale(ratio); break;
    case RowMouse: m_mousePage->setScale(ratio); break;
    // After the pass that gave every page label the bold page font.
    case RowMacro: m_macroPage->applyScale(ratio); break;
    case RowProcreate: m_procreatePage->setScale(ratio); break;
    case StackR20WideLighting: m_r20WideLightingPage->setScale(ratio); break;
    case StackOldLighting: m_oldLightingPage->setScale(ratio); break;
    default: break;
    }
}
