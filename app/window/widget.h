#pragma once

#include "app/editing/editcommands.h"
#include "app/keypadview/functionrows.h"
#include "app/keypadview/layercolumn.h"
#include "keypad/layoutcatalogue.h"
#include "model/keyboarddata.h"

#include <QWidget>

class ConnectionFlows;
class EditControls;
class EditHistory;
class KeyClipboard;
class KeypadFileCommands;
class LayerCopy;
class FunctionButtons;
class HIDManager;
class KeyDisplay;
class KeypadView;
class PageHost;
class QDBusConnection;
class ScriptGate;
class StatusLine;
class WindowMenus;
class WindowScaler;
struct AppSettings;

// The one window of Zentrik. It builds the window from its parts (the
// keypad picture, the layer column, the key display, the function buttons,
// the page host, the status line) and wires them to the key store and the
// connection flows; each part owns its own state and job. The entries below
// hand over to the part that does the work. `settings` chooses the language,
// the layer buttons and the history for the life of the window; `link` is
// the keypad link, which outlives the window.
class Widget : public QWidget
{
    Q_OBJECT
public:
    Widget(const AppSettings &settings, HIDManager &link, QWidget *parent = nullptr);
    ~Widget() override;

    KeyboardData &keyboardData() { return m_keyboardData; }

    // Layers (LayerColumn).
    int effectiveLayerDisplayCount() const;
    void setForcedLayerDisplayCount(int count);

    // Answers zentrikctl's commands on `bus`, as an interface of `busObject`,
    // and reads a keypad only once a zentrikctl holding `scriptBusName` is done.
    void answerScriptsOn(QObject *busObject, const QDBusConnection &bus,
                         const QString &scriptBusName);

    // The keypad picture (KeypadView).
    LayoutSpec layoutForDevice(const DeviceInfo &info) const;
    void applyLayout(const LayoutSpec &layoutSpec);
    const LayoutSpec &currentLayout() const;
    double panelScale() const;

    // Scaling (WindowScaler).
    double scaleRatio() const;
    double targetScaleRatio() const;
    void applyScale(double ratio);

    // Selection and key texts (KeypadView).
    void selectButton(int buttonIndex);
    QString buttonTextFor(int key) const;
    QString fullTextFor(int key) const;
    void refreshKeyTexts();
    int keyIndexForButton(int button) const;

    // The pages (PageHost).
    void applyMouseGestureSupport();

public slots:
    // Connection flows (ConnectionFlows).
    void onSaveSettingsClicked();
    void onViewSettingsClicked();
    // The keys-only save that follows a macro recording.
    void startKeysOnlySave();

    void setStartupDisplayLayoutPreset(StartupLayoutPreset preset);
    StartupLayoutPreset startupDisplayLayoutPreset() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // With unsaved changes the window asks first.
    void closeEvent(QCloseEvent *event) override;

private:
    // Translates every text of the finished window into the chosen language.
    void applyLanguage();
    void updateLayerButtonsVisibility();
    void refreshAssignedMarks();
    // The keypad link's reports.
    void initHIDCommunication();
    void onDeviceConnected();
    void onDeviceDisconnected();
    // After a recording: the recorded (selected) key alone goes to the keypad.
    void saveRecordedKey();
    void onClearSelectedClicked();
    void onClearAllClicked();
    void buildWidgetTree();
    QWidget *buildTopBar();
    QWidget *buildContentRow();
    QWidget *buildLowerRow();
    void connectParts();
    // Undo and redo, copy, paste and swap, layer copy, keyboard control.
    void connectEditing();
    // File › History… and what each save keeps before it writes.
    void connectHistory(bool keepHistory);
    // The menu bar and the controls' context menu.
    void buildMenus();
    // Before an undo or redo: its layer and its page come into view.
    void revealStep(EditKind kind, const StoreChanges &changes, bool forward);
    void onLayerButtonClicked(int id);
    void onMacroRecordingChanged(bool recording);
    void onKeypadDescribed();
    void onConfigurationLoaded(bool afterConnect);
    void onSaveFinished(bool ok);
    void enableWritableControls();
    void showOpenFailure();
    // The title's modified marker and the controls' unsaved marks.
    void showUnsavedState(bool unsaved);
    // Changes in the store, or set aside for a keypad that was pulled out.
    bool hasUnsavedWork() const;

    // Settings, fixed for the life of the window.
    StartupLayoutPreset m_startupPreset = Preset6K1E;
    // Close once the save started from the close question has succeeded.
    bool m_closeAfterSave = false;

    HIDManager &m_link;
    KeyboardData m_keyboardData;

    // The parts, children of the window.
    StatusLine *m_status = nullptr;
    ConnectionFlows *m_flows = nullptr;
    KeypadView *m_view = nullptr;
    LayerColumn *m_layers = nullptr;
    KeyDisplay *m_display = nullptr;
    FunctionButtons *m_functionButtons = nullptr;
    PageHost *m_pages = nullptr;
    WindowScaler *m_scaler = nullptr;
    QWidget *m_lowerRow = nullptr;
    EditHistory *m_history = nullptr;
    KeyClipboard *m_clipboard = nullptr;
    LayerCopy *m_layerCopy = nullptr;
    EditControls *m_editControls = nullptr;
    KeypadFileCommands *m_fileCommands = nullptr;
    ScriptGate *m_scriptGate = nullptr;
    WindowMenus *m_menus = nullptr;
};
