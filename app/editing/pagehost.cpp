// The assignment pages in the window's page stack: creating and wiring them,
// which page a function-list row shows, and what follows the selection.

#include "app/editing/pagehost.h"

#include "keypad/devicestate.h"
#include "app/keypadview/functionrows.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadview.h"
#include "app/look/widgetstyle.h"
#include "app/look/windowsize.h"

#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"
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
#include "widgets/buttonpaintwarmup.h"
#include "widgets/macroflowwidget.h"
#include "widgets/rgbcolorpickerwidget.h"
#include "widgets/stylesheetupdate.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

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

constexpr int kPageStackMinHeight = 300;
// Hidden pages are restyled this long after a rescale, when the window has
// painted it and a dragged edge has most likely come to rest.
constexpr int kIdleScaleDelayMs = 100;
constexpr int kFunctionListBuildPadding = 5;

// Function-list rows, in page order.
constexpr const char *kFunctionRowTitles[] = {
    "BaseKeys", "Ext Keys", "MultiMedia", "RGB LED", "Mouse", "Macro Key", "Procreate",
};

} // namespace

PageHost::PageHost(KeyboardData &store, const DeviceState &device, KeypadView &view,
                   KeyDisplay &display, QWidget *window)
    : QObject(window)
    , m_store(store)
    , m_device(device)
    , m_view(view)
    , m_display(display)
    , m_window(window)
{
    connect(&m_view, &KeypadView::ledKeySelected, this, &PageHost::showSelectedLedColor);
    connect(&m_view, &KeypadView::lightingViewStale, this, &PageHost::refreshLightingView);
    connect(&m_view, &KeypadView::selectionPagesStale, this,
            &PageHost::refreshSelectionPages);
    m_idleScaleTimer = new QTimer(this);
    m_idleScaleTimer->setSingleShot(true);
    connect(m_idleScaleTimer, &QTimer::timeout, this, &PageHost::prepareNextHiddenPage);
}

QStackedWidget *PageHost::buildPageStack()
{
    auto *stack = new QStackedWidget;
    // The window's colour; its pages cover it whole.
    showParentBackground(stack);
    stack->setMinimumHeight(kPageStackMinHeight);
    stack->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pageStack = stack;
    createPages(stack);
    return stack;
}

QListWidget *PageHost::buildFunctionList()
{
    auto *list = new QListWidget;
    list->setStyleSheet(functionListStyleSheet(kFunctionListFontPx, kFunctionListRowPx));
    list->setAccessibleName(translateText(QStringLiteral("Function pages")));
    for (const char *title : kFunctionRowTitles) {
        auto *item = new QListWidgetItem(QString::fromLatin1(title), list);
        item->setTextAlignment(Qt::AlignCenter);
    }
    // The width is measured with the list's own font, which its style sheet sets.
    list->ensurePolished();
    list->setFixedWidth(list->sizeHintForColumn(0) + kFunctionListBuildPadding);
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    m_functionList = list;
    connect(list, &QListWidget::currentRowChanged, this, &PageHost::showPage);
    list->setCurrentRow(RowBaseKeys);
    return list;
}

void PageHost::createPages(QStackedWidget *stack)
{
    m_baseKeysPage = new BaseKeysPage;
    m_extKeysPage = new ExtKeysPage;
    m_multiMediaPage = new MultiMediaPage;
    m_lightingPage = new LightingPage;
    m_mousePage = new MousePage;
    m_macroPage = new MacroPage(m_store);
    m_procreatePage = new ProcreatePage;
    m_r20WideDelayPage = new R20WideDelayPage(m_store);
    m_oldDelayPage = new OldDelayPage(m_store);
    m_r20WideLightingPage = new R20WideLightingPage;
    m_oldLightingPage = new OldLightingPage;

    // Stack order: the function-list rows, then the older families' pages.
    m_stackPages = {m_baseKeysPage,     m_extKeysPage,        m_multiMediaPage,
                    m_lightingPage,     m_mousePage,          m_macroPage,
                    m_procreatePage,    m_r20WideDelayPage,   m_oldDelayPage,
                    m_r20WideLightingPage, m_oldLightingPage};
    constexpr const char *kPageNames[] = {
        "baseKeysPage", "extKeysPage",     "multiMediaPage",   "rgbLightingPage",
        "mousePage",    "macroPage",       "procreatePage",    "r20WideDelayPage",
        "oldDelayPage", "r20WideLightingPage", "oldLightingPage"};
    for (int i = 0; i < m_stackPages.size(); ++i) {
        m_stackPages[i]->setObjectName(QString::fromLatin1(kPageNames[i]));
        stack->addWidget(m_stackPages[i]);
        m_stackPages[i]->bind(m_store);
    }

    connect(m_macroPage, &MacroPage::keyChoiceRequested, this, &PageHost::chooseKeyForMacro);
    connect(m_r20WideDelayPage, &R20WideDelayPage::keyChoiceRequested, this,
            &PageHost::chooseKeyForMacro);
    connect(m_baseKeysPage, &BaseKeysPage::baseKeyChosen, this, &PageHost::onBaseKeyChosen);
    connect(m_extKeysPage, &ExtKeysPage::baseKeyChosen, this, &PageHost::onBaseKeyChosen);
    connect(m_multiMediaPage, &MultiMediaPage::mediaChosen, this,
            [this](uint16_t code) { chooseMedia(m_store, code); });
    connect(m_mousePage, &MousePage::mouseChosen, this, [this](uint8_t action) {
        chooseMouseAction(m_store, action, !m_device.capabilities().mouseGestures);
    });
    connect(m_procreatePage, &ProcreatePage::shortcutChosen, this,
            [this](const QVector<uint8_t> &keys) { assignProcreateShortcut(m_store, keys); });

    const LedKeyFilter ledFilter = [this](int key) { return hasLed(key); };
    m_lightingPage->setLedKeyFilter(ledFilter);
    connect(m_lightingPage, &LightingPage::lightingChanged, this, &PageHost::onLightingChanged);

    m_r20WideLightingPage->setLedKeyFilter(ledFilter);
    connect(m_r20WideLightingPage, &R20WideLightingPage::lightingChanged, this,
            &PageHost::onLightingChanged);
    connect(m_oldLightingPage, &OldLightingPage::lightingChanged, this,
            &PageHost::onLightingChanged);

    applyDeviceStateToPages();
}

void PageHost::applyDeviceStateToPages()
{
    const KeypadCapabilities &keypad = m_device.capabilities();
    m_r20WideLightingPage->setDeviceActive(keypad.lighting == LightingKind::R20Wide);
    m_oldLightingPage->setDeviceActive(keypad.lighting == LightingKind::Old);
    m_r20WideDelayPage->setDeviceConnected(keypad.delayPage == DelayPage::R20Wide);
    m_oldDelayPage->setDeviceConnected(keypad.delayPage == DelayPage::Old);
    applyMouseGestureSupport();
    warmPagesLater();
    // The family decides which page rows 3 and 5 show.
    if (m_functionList)
        showPage(m_functionList->currentRow());
}

void PageHost::applyMouseGestureSupport()
{
    m_mousePage->applyMouseGestureSupport(!m_device.capabilities().mouseGestures);
}

void PageHost::onBaseKeyChosen(uint8_t usage)
{
    if (m_choosingKeyForMacro) {
        m_choosingKeyForMacro = false;
        bringRowIntoView(RowMacro);
        // The macro row shows the R20Wide presses while such a keypad is connected.
        if (m_device.capabilities().delayPage == DelayPage::R20Wide)
            m_r20WideDelayPage->insertKey(usage);
        else
            m_macroPage->insertKey(usage);
        return;
    }
    chooseBaseKey(m_store, usage);
}

void PageHost::chooseKeyForMacro()
{
    if (m_store.selectedKey() < 0)
        return;
    bringRowIntoView(RowBaseKeys);
    m_choosingKeyForMacro = true;
    m_display.setHint(translateText(QStringLiteral("Click the key to insert into the macro.")));
}

// ---- page change -----------------------------------------------------------

void PageHost::showPage(int row)
{
    // Any other page, or the key pages chosen again, ends the choice.
    m_choosingKeyForMacro = false;
    m_view.setFunctionRow(row);
    if (!m_pageStack || row < 0 || row > RowProcreate)
        return;
    if (row != RowMacro && m_macroPage)
        m_macroPage->stopMacroRecording();

    const int stackIndex = stackIndexForRow(row);
    AssignmentPage *page = m_stackPages.at(stackIndex);
    applyPendingScaleAtShownSize(page);
    m_pageStack->setCurrentIndex(stackIndex);
    const bool lightingWasShown = m_view.lightingShown();
    m_view.setLightingShown(stackIndex == RowRgbLed || stackIndex == StackR20WideLighting);
    m_lightingPage->setRgbPageActive(stackIndex == RowRgbLed);
    // The lighting page fits a lower window than the key pages.
    m_window->setMinimumHeight(
        (row == RowRgbLed ? kLightingPageMinHeight : kPageMinHeight) + kMenuBarHeight);

    // The lighting page is refreshed with the lighting view, when the keys
    // start or stop showing their colours; every other page when it is
    // shown. Between two key pages only the keys' texts follow the row (the
    // base keys name arrows by their signs, Procreate its shortcuts).
    if (lightingWasShown || m_view.lightingShown())
        refreshLightingView();
    else
        m_view.refreshKeyTexts();
    if (page != m_lightingPage)
        page->refresh();

    // A base key clicked on a key that holds one adds to it; say so where
    // the chain grows.
    m_display.setHint(row == RowBaseKeys
                          ? translateText(QStringLiteral(
                                "Each key you click is added to the selected key; Clear starts again."))
                          : QString());

    const int key = m_store.selectedKey();
    if (m_view.lightingShown()) {
        m_display.clear();
        if (!m_lightingPage->isKnobLedLayout() && hasLed(key))
            showSelectedLedColor(key);
    } else if (key >= 0) {
        m_display.showText(m_view.controlTitleFor(key), m_view.fullTextFor(key));
    }
}

int PageHost::stackIndexForRow(int row) const
{
    const KeypadCapabilities &keypad = m_device.capabilities();
    if (row == RowRgbLed)
        return keypad.lighting == LightingKind::R20Wide ? StackR20WideLighting
             : keypad.lighting == LightingKind::Old     ? StackOldLighting
                                                        : int(RowRgbLed);
    if (row == RowMacro)
        return keypad.delayPage == DelayPage::R20Wide ? StackR20WideDelay
             : keypad.delayPage == DelayPage::Old     ? StackOldDelay
                                                      : int(RowMacro);
    return row;
}

void PageHost::bringRowIntoView(int row)
{
    // The list's row change shows the page, as a click on the row does.
    if (m_functionList && m_functionList->currentRow() != row)
        m_functionList->setCurrentRow(row);
}

// ---- lighting --------------------------------------------------------------

bool PageHost::lightingShown() const
{
    return m_view.lightingShown();
}

bool PageHost::hasLed(int key) const
{
    if (key < 0 || key >= kKeyLedCount)
        return false;
    return m_view.keyShownOnKey(key);
}

void PageHost::showSelectedLedColor(int key)
{
    if (m_pageStack->currentWidget() == m_lightingPage)
        m_lightingPage->showKeyColor(key);
}

void PageHost::refreshLightingView()
{
    m_lightingPage->setKnobLedLayout(m_view.layout().name == QLatin1String("Layout_0K_1E_P1_S1"));
    // The page answers with lightingChanged, which redraws the keys.
    m_lightingPage->refresh();
}

void PageHost::onLightingChanged()
{
    if (m_view.lightingShown())
        showLedSwatches();
    else
        m_view.refreshKeyTexts();
}

void PageHost::showLedSwatches()
{
    for (int i = 0; i < kKeySlotCount; ++i)
        m_view.showLedSwatch(i);
}

void PageHost::refreshSelectionPages()
{
    m_oldDelayPage->refresh();
    m_r20WideLightingPage->refreshModeButtons();
    m_oldLightingPage->refresh();
}

// ---- scaling ---------------------------------------------------------------

void PageHost::scalePages(double ratio)
{
    for (AssignmentPage *page : qAsConst(m_stackPages))
        page->scaleLater(ratio);
    if (auto *shown = qobject_cast<AssignmentPage *>(m_pageStack->currentWidget()))
        shown->applyPendingScale();
    warmPagesLater();
}

void PageHost::warmPagesLater()
{
    m_paintWarmed.fill(false, m_stackPages.size());
    // Before the window is shown its first paint comes first: the show
    // starts this again.
    if (m_window->isVisible())
        m_idleScaleTimer->start(kIdleScaleDelayMs);
}

void PageHost::applyPendingScaleAtShownSize(AssignmentPage *page)
{
    // The stack sizes only the page it shows. A page that fits itself to its
    // width would otherwise be restyled at the width it had when last shown.
    const QRect room = m_pageStack->contentsRect();
    if (page->scalePending() && !room.isEmpty())
        page->setGeometry(room);
    page->applyPendingScale();
}

void PageHost::layOutAtShownSize(AssignmentPage *page)
{
    // A hidden page keeps the layout of its last show. Laid out at the size
    // it will be shown at, its wrapped hints are as tall as they will be and
    // its first show after a rescale does not first ask the window for room
    // it then gives back (moving the keypad picture on the way). Only pages
    // restyled for a new scale are laid out ahead: the text measured here
    // changes which outline the font face gives the keypad's numbers, and
    // the window at its first size keeps its pixels.
    const QRect room = m_pageStack->contentsRect();
    if (room.isEmpty())
        return;
    if (page->geometry() != room)
        page->setGeometry(room);
    // Hidden widgets are not told of their new sizes, so each layout of the
    // page is run here, a parent's before its children's.
    QList<QWidget *> widgets{page};
    widgets += page->findChildren<QWidget *>();
    for (QWidget *widget : qAsConst(widgets)) {
        if (QLayout *layout = widget->layout()) {
            layout->invalidate();
            layout->activate();
        }
    }
}

void PageHost::prepareNextHiddenPage()
{
    // A page restyled now is not restyled on its first show, and its
    // buttons drawn now paint at their later speed then. One step per pass
    // of the event loop: each takes a millisecond or two. Nothing is drawn
    // ahead before the window is shown (which starts this again).
    if (!m_window->isVisible())
        return;
    for (int row = 0; row <= RowProcreate; ++row) {
        const int index = stackIndexForRow(row);
        AssignmentPage *page = m_stackPages.at(index);
        if (page == m_pageStack->currentWidget())
            continue;
        if (page->scalePending()) {
            applyPendingScaleAtShownSize(page);
            layOutAtShownSize(page);
        } else if (index < m_paintWarmed.size() && !m_paintWarmed.at(index)) {
            warmButtonPaint(page);
            m_paintWarmed[index] = true;
        } else {
            continue;
        }
        m_idleScaleTimer->start(0);
        return;
    }
}

void PageHost::retranslatePages()
{
    for (AssignmentPage *page : qAsConst(m_stackPages))
        page->retranslate();
}

void PageHost::updateMacroPageTitle()
{
    // The older keypad families have no macro recorder; their row 5 page
    // sets press delays instead.
    const bool delayPage = m_device.lastFamily().capabilities().delayPage != DelayPage::None;
    if (QListWidgetItem *item = m_functionList->item(RowMacro))
        item->setText(translateText(
            delayPage ? QStringLiteral("DelaySetting") : QStringLiteral("Macro Key")));
    // The connected family decides the pages of rows 3 and 5.
    applyDeviceStateToPages();
}
