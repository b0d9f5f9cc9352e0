#pragma once

#include "keypad/controlmap.h"
#include "model/keyconfig.h"

#include <QObject>
#include <QString>

class KeyboardData;
class KeyDisplay;
class KeypadPanel;
class QColor;
class QPushButton;
struct DeviceState;

// The knob-only keypads keep some media usages in a single key's keycode
// byte: such a key is named by its media label.
bool keepsMediaInKeycode(const QString &layoutName, const KeyConfig &key);

// Which control is selected, what the controls and the key display show
// for the keys of the current layer, and the Clear and Clear All commands.
class KeySelection : public QObject
{
    Q_OBJECT
public:
    KeySelection(KeyboardData &store, const KeypadPanel &panel, const DeviceState &device,
                 KeyDisplay &display, QObject *parent);

    // What the page host shows decides how keys are worded and whether
    // keys stand for their LEDs.
    void setFunctionRow(int row) { m_functionRow = row; }
    // While the keys stand for their LEDs, their unsaved marks tell of
    // their LEDs' colours.
    void setLightingShown(bool shown);
    bool lightingShown() const { return m_lightingShown; }

    // The control at `place` of the picture was clicked.
    void clickPlace(int place);
    void selectButton(int buttonIndex);
    QPushButton *selectedButton() const { return m_selectedButton; }
    void forgetSelectedButton();
    // The controls were re-pointed or blanked: none is selected any more.
    void dropSelectedButton() { m_selectedButton = nullptr; }
    // With no keypad, every control is blank: no legend, no function in its
    // tooltip or its name, nothing checked.
    void blankControls();

    // The controls of the picture shown: what each is and the key it edits.
    const ControlMap &controlMap() const;
    // Which key a control edits and which control shows a key; they differ
    // only on two layouts of the older keypad families.
    int keyIndexForButton(int button) const;
    int buttonIndexForKey(int key) const;
    QPushButton *buttonForKey(int key) const;

    QString buttonTextFor(int key) const;
    QString fullTextFor(int key) const;
    // The control's name the display shows above its function ("Key 6").
    QString controlTitleFor(int key) const;
    QColor ledColorOf(int key) const;

    // The control in `slot` shows its key's LED colour instead of its
    // function, and a screen reader says that colour.
    void showLedSwatch(int slot);

    void onKeyButtonTextChanged(int index, const QString &text);
    void onKeyFullTextChanged(int index);
    void onSelectedKeyChanged(int index);
    void refreshKeyTexts();
    void refreshAssignedMarks();
    // Marks the controls whose keys are changed but not yet saved; the
    // store's keyChanged keeps one control's mark in step.
    void refreshUnsavedMarks();
    void onKeyChanged(int layer, int key);
    void onLedLayerChanged(int layer);
    void showSelectedKeyText();
    void clearSelected();
    void clearAll();

signals:
    // A key was selected while the keys stand for their LEDs.
    void ledKeySelected(int key);
    // The selection went away while the lighting page is shown.
    void lightingViewStale();
    // The legacy pages that follow the selected key should look again.
    void selectionPagesStale();

private:
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
    const KeypadPanel &m_panel;
    const DeviceState &m_device;
    KeyDisplay &m_display;
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
