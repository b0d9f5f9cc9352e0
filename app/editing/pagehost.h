#pragma once

#include <QObject>
#include <QVector>
#include <cstdint>

class AssignmentPage;
class BaseKeysPage;
class ExtKeysPage;
class KeyboardData;
class KeyDisplay;
class KeypadView;
class LightingPage;
class MacroPage;
class MousePage;
class MultiMediaPage;
class OldDelayPage;
class OldLightingPage;
class ProcreatePage;
class QListWidget;
class QStackedWidget;
class QTimer;
class QWidget;
class R20WideDelayPage;
class R20WideLightingPage;
struct DeviceState;

// The function list and the stack of assignment pages: which page a row
// shows for the connected family, the pages' clicks into the key store, and
// the pages' scale, which is applied to a page when it is shown or, for the
// pages the keypad can show, while the window is idle. While idle a page
// restyled for a new scale is also laid out at the size it will be shown
// at, and those pages' buttons are drawn off screen once, so their first
// show pays for neither.
class PageHost : public QObject
{
    Q_OBJECT
public:
    PageHost(KeyboardData &store, const DeviceState &device, KeypadView &view,
             KeyDisplay &display, QWidget *window);

    // The stack first: the list's row changes switch its pages.
    QStackedWidget *buildPageStack();
    QListWidget *buildFunctionList();
    // The window is going: the list's last signals must not reach pages that
    // may already be gone.
    void stopFollowingFunctionList();

    // The page area's sizes at the window's ratio: the function list's width,
    // rows and font, the pages' heights and their labels' font.
    void scaleArea(double ratio);
    // The list's rows in the window's language; the list fits their width.
    void translateFunctionList();
    // While a macro is recorded only the macro page takes input.
    void setRecording(bool recording);

    void showPage(int row);
    // Selects the function list's row, so its page is shown as after a click.
    void bringRowIntoView(int row);
    // Whether the shown page makes the keys stand for their LEDs.
    bool lightingShown() const;
    // Follows the connected family: mouse gestures, delay and lighting pages.
    void applyDeviceStateToPages();
    void applyMouseGestureSupport();
    void updateMacroPageTitle();
    void refreshLightingView();
    void refreshSelectionPages();
    // Every page takes the ratio; only the page on screen is restyled now,
    // the others one by one once the window is idle.
    void scalePages(double ratio);
    // The hidden pages' buttons are drawn off screen once the window is idle
    // (again after a rescale or a keypad's change).
    void warmPagesLater();
    // Words the texts each page set itself in the interface's language.
    void retranslatePages();

    QStackedWidget *pageStack() const { return m_pageStack; }
    BaseKeysPage *baseKeysPage() const { return m_baseKeysPage; }
    ExtKeysPage *extKeysPage() const { return m_extKeysPage; }
    MultiMediaPage *multiMediaPage() const { return m_multiMediaPage; }
    LightingPage *lightingPage() const { return m_lightingPage; }
    MousePage *mousePage() const { return m_mousePage; }
    MacroPage *macroPage() const { return m_macroPage; }
    ProcreatePage *procreatePage() const { return m_procreatePage; }
    R20WideDelayPage *r20WideDelayPage() const { return m_r20WideDelayPage; }
    OldDelayPage *oldDelayPage() const { return m_oldDelayPage; }
    R20WideLightingPage *r20WideLightingPage() const { return m_r20WideLightingPage; }
    OldLightingPage *oldLightingPage() const { return m_oldLightingPage; }

private slots:
    // A key of the base or Ext Keys page: into the selected key, or into the
    // macro that asked for a key.
    void onBaseKeyChosen(uint8_t usage);
    void onLightingChanged();

private:
    // "Insert key…" of the macro page: the base keys page is shown, and the
    // key clicked there goes into the macro instead of the key.
    void chooseKeyForMacro();

    void createPages(QStackedWidget *stack);
    // The stack page a function-list row shows for the connected family.
    int stackIndexForRow(int row) const;
    void applyPendingScaleAtShownSize(AssignmentPage *page);
    void layOutAtShownSize(AssignmentPage *page);
    // One step of the idle work on hidden pages: a restyle and layout at the
    // new scale, else the buttons drawn ahead.
    void prepareNextHiddenPage();
    void showSelectedLedColor(int key);
    bool hasLed(int key) const;
    void showLedSwatches();

    KeyboardData &m_store;
    const DeviceState &m_device;
    KeypadView &m_view;
    KeyDisplay &m_display;
    QWidget *m_window;
    QListWidget *m_functionList = nullptr;
    QStackedWidget *m_pageStack = nullptr;
    // In stack order.
    QVector<AssignmentPage *> m_stackPages;
    QTimer *m_idleScaleTimer = nullptr;
    // In stack order: whose buttons were drawn off screen since the last
    // rescale, keypad change or show of the window.
    QVector<bool> m_paintWarmed;
    // What scaleArea last applied, so a rescale restyles only what changed.
    int m_appliedListFontPx = -1;
    int m_appliedListRowPx = -1;
    int m_appliedPageLabelPoints = -1;

    BaseKeysPage *m_baseKeysPage = nullptr;
    ExtKeysPage *m_extKeysPage = nullptr;
    MultiMediaPage *m_multiMediaPage = nullptr;
    LightingPage *m_lightingPage = nullptr;
    MousePage *m_mousePage = nullptr;
    MacroPage *m_macroPage = nullptr;
    bool m_choosingKeyForMacro = false;
    ProcreatePage *m_procreatePage = nullptr;
    R20WideDelayPage *m_r20WideDelayPage = nullptr;
    OldDelayPage *m_oldDelayPage = nullptr;
    R20WideLightingPage *m_r20WideLightingPage = nullptr;
    OldLightingPage *m_oldLightingPage = nullptr;
};
