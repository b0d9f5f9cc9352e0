#pragma once

#include "app/layoutcatalogue.h"
#include "device/deviceinfo.h"
#include "legacy/legacydeviceinfo.h"
#include "model/keyboarddata.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>
#include <array>

class BaseKeysPage;
class ExtKeysPage;
class KeyButton;
class LightingPage;
class MacroPage;
class MousePage;
class MultiMediaPage;
class OldDelayPage;
class OldLightingPage;
class ProcreatePage;
class R20WideDelayPage;
class R20WideLightingPage;
class KnobButton;
class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class QTimer;
struct DeviceReadResult;
struct SaveResult;

// Rows of the function list; each row shows the stack page of the same index.
enum FunctionRow {
    RowBaseKeys = 0,
    RowExtKeys = 1,
    RowMultiMedia = 2,
    RowRgbLed = 3,
    RowMouse = 4,
    RowMacro = 5,
    RowProcreate = 6,
};

constexpr int kLayerButtonCount = 3;
constexpr int kGridKeyCount = 16;
constexpr int kKnobCount = 3;
constexpr int kKnobPartCount = 3;
constexpr int kSingleKnobPartCount = 5;
constexpr int kExtraTurnButtonCount = 4;

// The one window of Zentrik: the picture of the keypad, the key display,
// the function buttons, the layer buttons and the assignment pages.
class Widget : public QWidget
{
    Q_OBJECT
public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // How many layer buttons are shown (0..3), and where that number comes
    // from: the settings file, the keypad, or the start-up default.
    int effectiveLayerDisplayCount() const;
    void setForcedLayerDisplayCount(int count);
    void updateLayerButtonsVisibility();

    // Translates every text of the finished window into the chosen language.
    void applyLanguage();

    KeyboardData &keyboardData() { return m_keyboardData; }

    // The picture of the keypad: chosen from the keypad's description after
    // a connect, and applied to the panel (slots, visibility, geometry).
    LayoutSpec layoutForDevice(const DeviceInfo &info) const;
    void applyLayout(const LayoutSpec &layoutSpec);
    const LayoutSpec &currentLayout() const { return m_layout; }

    // The control button in a slot (0..24), or null.
    QPushButton *controlButton(int slot) const;

    // Scale the panel is drawn at: the window's ratio, or less when the
    // window is too small to hold the picture at that ratio.
    double panelScale() const { return m_panelScale; }
    double scaleRatio() const { return m_scaleRatio; }
    double targetScaleRatio() const { return m_targetScaleRatio; }

    // Sets each control button's mark from whether its key in the current
    // layer holds an assignment.
    void refreshAssignedMarks();

public slots:
    void initHIDCommunication();
    void onSaveSettingsClicked();
    void onViewSettingsClicked();
    void showError(QString msg);

    void onButtonClicked();
    void onKeyButtonTextChanged(int index, QString text);
    void onKeyFullTextChanged(int index, QString text);
    void onSelectedKeyChanged(int index);
    void onClearSelectedClicked();
    void onClearAllClicked();
    void showPage(int row);

    void setStartupDisplayLayoutPreset(StartupLayoutPreset preset);
    StartupLayoutPreset startupDisplayLayoutPreset() const;

    // Device connection flows (widget_device.cpp): the keypad plugged in or
    // pulled out, and the background reads and saves the window starts.
public slots:
    void onDeviceConnected();
    void onDeviceDisconnected();
    void readConfigFromDevice();
    // The keys-only save that follows a macro recording.
    void startKeysOnlySave();

private slots:
    void onOperationFinished(bool success, QString msg);
    void onProgressUpdated(int current, int total, QString msg);

private:
    enum class ReadPurpose { Connect, View, ReadConfig };
    void startReadTask(ReadPurpose purpose);
    void startSaveTask(bool keysOnly);
    // Whether a view or save must not start now; logs why.
    bool refuseDeviceTask(bool forSave) const;
    void onConnectResult(const DeviceReadResult &result);
    void onViewResult(const DeviceReadResult &result);
    void onReadConfigResult(const DeviceReadResult &result);
    void onSaveResult(const SaveResult &result, bool legacy);
    void loadReadLighting(const LedLayers &lighting);
    void showSelectedKeyText();
    void showConnectedStatus();
    void showSavedStatus();
    void resetStoreToEmpty();

    // Changes on every connect and disconnect, so a result read from an
    // earlier connection is recognised and dropped.
    int m_connectionSerial = 0;
    // Reads and saves this window has started and not yet seen the end of.
    int m_deviceTasksRunning = 0;
    QTimer *m_statusResetTimer = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void onLayerButtonClicked(int id);
    void onResizeTimeout();

private:
    // Construction of the widget tree.
    void buildWidgetTree();
    QWidget *buildTopBar();
    QWidget *buildContentRow();
    QWidget *buildLayerColumn();
    QWidget *buildKeyKnobGroup();
    QWidget *buildInputFrame();
    QWidget *buildFunctionButtonColumn();
    QWidget *buildLowerRow();
    QListWidget *buildFunctionList();
    QStackedWidget *buildPageStack();

    // The keypad picture, built once; layouts only show, hide and place.
    void buildPhysicalPanel();
    QWidget *buildKeyMatrix();
    QWidget *buildKnobArea();
    void createExtraTurnButtons();
    void assignControlSlots();
    void showLayoutParts();
    void placePanel(double panelRatio);
    void fitPanel();
    double fittingPanelScale(double ratio) const;
    void logButtonMap() const;

    // Rescaling with the window.
    void applyScale(double ratio);
    void rescaleShell(double ratio);
    void scaleFunctionList(double ratio);
    void scaleLayerColumn();
    void scaleInputFrame();
    void fitFunctionButtonTexts();
    void fitFunctionButtonHeights(int windowHeight);

    void setupFunctionButtons();
    void createLayerButtonGroup();
    void applyStartupLayout();
    void connectControlButtons();
    // Numbers each placed control by its slot and routes its clicks to
    // onButtonClicked (once, however often a layout is applied).
    void wireControlSlots();
    void connectKeyboardData();
    void connectFunctionButtons();
    void clearDeviceState();
    void showDisconnectedStatus();

    // Language and texts.
    void updateMacroPageTitle();
    void showKeyDisplayText(const QString &text);
    void forgetSelectedButton();

    // Settings, fixed for the life of the window.
    bool m_useChinese = false;
    int m_startupDefaultLayerCount = 3;
    int m_forcedLayerDisplayCount = 0;
    int m_lastConnectedLayerCount = 0;

    KeyboardData m_keyboardData;

    // Keypad state; cleared until a keypad connects.
    bool m_deviceConnected = false;
    bool m_legacyActive = false;
    bool m_legacyR20Wide = false;
    bool m_legacyOld = false;
    DeviceInfo m_deviceInfo;
    LegacyDeviceInfo m_legacyInfo;

    // Scaling: the window is designed for 1500 x 1100 and follows its size.
    double m_scaleRatio = 1.0;
    double m_targetScaleRatio = 1.0;
    bool m_scalePending = false;
    bool m_wasMaximizedOnLightingPage = false;
    QTimer *m_resizeTimer = nullptr;
    // What was last applied, so a rescale restyles only what changed.
    int m_appliedListFontPx = -1;
    int m_appliedListRowPx = -1;
    int m_appliedPageLabelPoints = -1;
    int m_appliedLayerColumnWidth = -1;
    int m_appliedFunctionFontPx = -1;

    // The keypad picture.
    StartupLayoutPreset m_startupPreset = Preset6K1E;
    LayoutSpec m_layout;
    double m_panelScale = 1.0;      // scale the panel is drawn at
    double m_panelPlacedScale = -1; // scale of the last placement; -1 forces one
    QString m_appliedPanelFaceStyle;
    int m_appliedKeyNumberPx = -1;
    QWidget *m_keyMatrix = nullptr;
    QWidget *m_knobArea = nullptr;
    std::array<QWidget *, kGridKeyCount> m_keyCells{};
    std::array<QLabel *, kGridKeyCount> m_keyNumberLabels{};
    std::array<QWidget *, kKnobCount> m_knobGroups{};
    std::array<std::array<KnobButton *, kKnobPartCount>, kKnobCount> m_knobButtons{};
    QWidget *m_singleKnobContainer = nullptr;
    std::array<KnobButton *, kSingleKnobPartCount> m_singleKnobButtons{};
    QWidget *m_extraTurnContainer = nullptr;
    std::array<KnobButton *, kExtraTurnButtonCount> m_extraTurnButtons{};

    // Control buttons by slot (keys and knob parts) and the key buttons by
    // grid position; empty until the keypad picture is built.
    std::array<QPushButton *, kKeySlotCount> m_controlButtons{};
    std::array<QPushButton *, kGridKeyCount> m_gridKeyButtons{};
    QPushButton *m_selectedButton = nullptr;
    bool m_rgbPageShown = false;

    // Widgets of the tree the window talks to.
    QLabel *m_tipLabel = nullptr;
    QWidget *m_layerColumn = nullptr;
    std::array<QPushButton *, kLayerButtonCount> m_layerButtons{};
    QButtonGroup *m_layerButtonGroup = nullptr;
    QWidget *m_keyKnobGroup = nullptr;
    QWidget *m_physicalPanelFrame = nullptr;
    // The frame's fill and rounded border, beneath the keys and knobs.
    QWidget *m_panelFace = nullptr;
    QWidget *m_inputFrame = nullptr;
    QTextEdit *m_keyDisplay = nullptr;
    QPushButton *m_clearButton = nullptr;
    QPushButton *m_clearAllButton = nullptr;
    QPushButton *m_viewSettingsButton = nullptr;
    QPushButton *m_saveSettingsButton = nullptr;
    QList<QPushButton *> m_functionButtons;
    QWidget *m_lowerRow = nullptr;
    QListWidget *m_functionList = nullptr;
    QStackedWidget *m_pageStack = nullptr;

    // ---- Selection, key texts and the assignment pages
    // (widget_selection.cpp, widget_pages.cpp) ----
public:
    void selectButton(int buttonIndex);
    QString buttonTextFor(int key) const;
    QString fullTextFor(int key) const;
    void refreshKeyTexts();
    // Which key a control edits and which control shows a key; they differ
    // only on two layouts of the older keypad families.
    int keyIndexForButton(int button) const;
    int buttonIndexForKey(int key) const;
    // Follows the connected family: mouse gestures, delay and lighting pages.
    void applyDeviceStateToPages();
    void applyMouseGestureSupport();

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
    void onBaseKeyClicked();
    void onMultiMediaClicked();
    void onMouseClicked();
    void onLightingChanged();
    void onMacroRecordingChanged(bool recording);

private:
    void createPages(QStackedWidget *stack);
    void scalePages(double ratio);
    void scaleStackPage(int stackIndex);
    // Restyling a page costs several milliseconds, so a rescale restyles only
    // the page on screen; the others take the ratio when they are shown.
    double m_pageScale = 1.0;
    std::array<bool, 11> m_pageScaleStale{};
    void refreshSelectionPages();
    void refreshLightingView();
    void showSelectedLedColor(int key);
    QColor ledColorOf(int key) const;
    bool hasLed(int key) const;
    void showLedSwatches();
    KeyConfig currentKey(int key) const;
    QString keyText(int key, bool full) const;
    QPushButton *buttonForKey(int key) const;
    bool legacyKnobLayoutActive() const;
    bool legacySixKeyLayoutActive() const;

    BaseKeysPage *m_baseKeysPage = nullptr;
    ExtKeysPage *m_extKeysPage = nullptr;
    MultiMediaPage *m_multiMediaPage = nullptr;
    LightingPage *m_lightingPage = nullptr;
    MousePage *m_mousePage = nullptr;
    MacroPage *m_macroPage = nullptr;
    ProcreatePage *m_procreatePage = nullptr;
    R20WideDelayPage *m_r20WideDelayPage = nullptr;
    OldDelayPage *m_oldDelayPage = nullptr;
    R20WideLightingPage *m_r20WideLightingPage = nullptr;
    OldLightingPage *m_oldLightingPage = nullptr;
    // ---- end of selection and pages ----
};
