#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/controlmap.h"
#include "keypad/layoutcatalogue.h"
#include "model/keyconfig.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class ControlGestures;
class KeyboardData;
class KeyDisplay;
class KeypadPanel;
class QColor;
class QPushButton;
class QWidget;
struct DeviceState;
enum class NavDirection;

// The knob-only keypads keep some media usages in a single key's keycode
// byte: such a key is named by its media label.
bool keepsMediaInKeycode(const QString &layoutName, const KeyConfig &key);

// The keypad as the window shows it: the picture with its 25 controls,
// which of them is selected, and what each shows for the keys of the current
// layer. It follows the store itself, and tells of what the user does to a
// control by its slot: a click, a drag onto another control, a context menu.
// Nothing outside it holds a control.
class KeypadView : public QObject
{
    Q_OBJECT
public:
    // `windowRatio` tells the window's scale when the picture is resized;
    // `window` is where the arrow keys nobody took arrive.
    KeypadView(KeyboardData &store, const DeviceState &device, KeyDisplay &display,
               std::function<double()> windowRatio, QWidget *window);
    ~KeypadView() override;

    // ---- the picture ----
    // Builds the key and knob group; the window puts it in its content row.
    QWidget *build();
    // Greyed out while a macro recording holds the window.
    void setEnabled(bool enabled);
    // Points the controls at the keys of `layoutSpec`, drawn at `windowRatio`.
    void applyLayout(const LayoutSpec &layoutSpec, double windowRatio);
    const LayoutSpec &layout() const;
    // Lays the picture out now rather than at the next pass of the event loop.
    void activateLayout();
    // Places the picture at the window's ratio, or smaller when its room is
    // too small for that.
    void fitTo(double windowRatio);
    double scale() const;
    // Only the controls of keys `writable` allows can be edited.
    void enableControls(const std::function<bool(int key)> &writable);

    // ---- what a control does when used ----
    // While a macro is recorded, no drag, menu or arrow key acts on a control.
    void setGesturesEnabled(bool enabled);
    // Moves the selection one control in `direction`; false when it stays.
    bool moveSelection(NavDirection direction);

    // What the page host shows decides how keys are worded and whether
    // keys stand for their LEDs.
    void setFunctionRow(int row) { m_functionRow = row; }
    // While the keys stand for their LEDs, their unsaved marks tell of
    // their LEDs' colours.
    void setLightingShown(bool shown);
    bool lightingShown() const { return m_lightingShown; }

    // ---- the selection ----
    // Selects the control in `slot`, as a click on it does.
    void clickControl(int slot);
    void selectButton(int buttonIndex);
    // The slot of the selected control, or -1.
    int selectedSlot() const;
    // The layer shown changed: nothing is selected.
    void dropSelection() { m_selectedButton = nullptr; }
    // With no keypad, every control is blank: no legend, no function in its
    // tooltip or its name, nothing checked.
    void blankControls();

    // The controls of the picture shown: what each is and the key it edits.
    const ControlMap &controlMap() const;
    // Which key a control edits and which control shows a key; they differ
    // only on two layouts of the older keypad families.
    int keyIndexForButton(int button) const;
    int buttonIndexForKey(int key) const;
    // Which key or knob part shows `key`, numbered as the picture shows it.
    ControlIdentity controlOfKey(int key) const;
    // Whether `key` is shown on a key (not a knob part), which has an LED.
    bool keyShownOnKey(int key) const;

    QString buttonTextFor(int key) const;
    QString fullTextFor(int key) const;
    // The control's name the display shows above its function ("Key 6").
    QString controlTitleFor(int key) const;
    QColor ledColorOf(int key) const;

    // The control in `slot` shows its key's LED colour instead of its
    // function, and a screen reader says that colour.
    void showLedSwatch(int slot);

    void refreshKeyTexts();
    void refreshAssignedMarks();
    // Marks the controls whose keys are changed but not yet saved; the
    // store's keyChanged keeps one control's mark in step.
    void refreshUnsavedMarks();
    void showSelectedKeyText();
    void clearSelected();
    void clearAll();

signals:
    // The control in `slot` was clicked; it is the selected one by then.
    void controlClicked(int slot);
    // The control in `fromSlot` was dropped on the one in `toSlot`.
    void swapRequested(int fromSlot, int toSlot);
    // A control's context menu was asked for, at `globalPos`; the control is
    // the selected one by then.
    void menuRequested(const QPoint &globalPos);
    // A key was selected while the keys stand for their LEDs.
    void ledKeySelected(int key);
    // The selection went away while the lighting page is shown.
    void lightingViewStale();
    // The legacy pages that follow the selected key should look again.
    void selectionPagesStale();

private:
    // The store's reports.
    void onKeyButtonTextChanged(int index, const QString &text);
    void onKeyFullTextChanged(int index);
    void onSelectedKeyChanged(int index);
    void onKeyChanged(int layer, int key);
    void onLedLayerChanged(int layer);
    void clickPlace(int place);
    void wireControls();
    void forgetSelectedButton();
    int slotOfButton(const QObject *button) const;
    bool selectable(int slot) const;
    QPushButton *buttonForKey(int key) const;
    // The picture's request for a context menu on the control in `slot`.
    void requestMenu(int slot, const QPoint &globalPos);

    KeyConfig currentKey(int key) const;
    // The button's legend, its shape and its whole function text from the
    // record of `key`.
    void showFunctionOf(QPushButton *button, int key) const;
    // Sets the control's whole function text and what a screen reader says
    // of it.
    void setFullTextOf(QPushButton *button, const QString &text) const;
    void describeControl(QPushButton *button, const QString &fullText) const;
    // Shows the control as having no function: no legend, no mark.
    void blankControl(QPushButton *button) const;
    QString keyText(int key, bool full) const;
    // What the unsaved mark of the control showing `key` tells: the key's
    // function, or its LED's colour while the keys stand for their LEDs.
    bool keyUnsaved(int key) const;

    KeyboardData &m_store;
    const DeviceState &m_device;
    KeyDisplay &m_display;
    QWidget *m_window;
    KeypadPanel *m_panel;
    ControlGestures *m_gestures;
    int m_functionRow = 0;
    bool m_lightingShown = false;
    QPushButton *m_selectedButton = nullptr;
    // The map, and the picture and keypad it was built for.
    struct ControlMapKey {
        int layoutId = -1;
        const KeypadFamily *connected = nullptr;
        const KeypadFamily *last = nullptr;
        QByteArray description;
        bool operator==(const ControlMapKey &o) const
        {
            return layoutId == o.layoutId && connected == o.connected && last == o.last
                && description == o.description;
        }
    };
    mutable ControlMap m_map;
    mutable ControlMapKey m_mapKey;
};
