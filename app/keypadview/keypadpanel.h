#pragma once

#include "keypad/accessiblecontrolname.h"
#include "keypad/controlmap.h"
#include "keypad/layoutcatalogue.h"
#include "app/keypadview/panelmetrics.h"
#include "model/keyboarddata.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

class KeyButton;
class KeypadTabStop;
class KnobButton;
class QLabel;
class QPushButton;
class QWidget;

// The picture of the keypad: the group box with the panel frame, its key
// grid and knobs, built once. A layout shows and hides parts, points the 25
// control slots at the buttons of its keypad and places them for a scale.
class KeypadPanel : public QObject
{
    Q_OBJECT
public:
    // `windowRatio` tells the window's scale when the group is resized.
    KeypadPanel(std::function<double()> windowRatio, QObject *parent);

    // Builds the key and knob group; the window puts it in its content row.
    QWidget *build();
    // Greyed out while a macro recording holds the window.
    void setEnabled(bool enabled);
    // Lays the group out now rather than at the next pass of the event loop.
    void activateLayout();
    // `filter` sees the events of every button in the picture, which accept
    // drops from then on: the window's key navigation and drag and drop.
    void watchControls(QObject *filter);

    void applyLayout(const LayoutSpec &layoutSpec, double windowRatio);
    const LayoutSpec &layout() const { return m_layout; }

    // The control button in a slot (0..24), or null.
    QPushButton *controlButton(int slot) const;
    const std::array<QPushButton *, kKeySlotCount> &controlButtons() const
    {
        return m_controlButtons;
    }

    // Which key or knob part a button of the panel is, numbered as the
    // panel shows it.
    ControlIdentity identityOf(const QPushButton *button) const;

    // Places the panel at the window's ratio, or smaller when the group is
    // too small to hold it at that ratio.
    void fitTo(double windowRatio);
    // Scale the panel is drawn at.
    double scale() const { return m_panelScale; }

private:
    void watchControl(QPushButton *button);
    QWidget *buildKeyMatrix();
    QWidget *buildKnobArea();
    void createExtraTurnButtons();
    void showLayoutParts();
    void assignControlSlots();
    void placePanel(double panelRatio);
    double fittingPanelScale(double ratio) const;
    void logButtonMap() const;

    std::function<double()> m_windowRatio;
    LayoutSpec m_layout;
    // What each place of the picture is.
    ControlMap m_map;
    double m_panelScale = 1.0;      // scale the panel is drawn at
    double m_panelPlacedScale = -1; // scale of the last placement; -1 forces one
    QString m_appliedPanelFaceStyle;
    int m_appliedKeyNumberPx = -1;

    QWidget *m_keyKnobGroup = nullptr;
    KeypadTabStop *m_tabStop = nullptr;
    QWidget *m_physicalPanelFrame = nullptr;
    // The frame's fill and rounded border, beneath the keys and knobs.
    QWidget *m_panelFace = nullptr;
    QWidget *m_keyMatrix = nullptr;
    QWidget *m_knobArea = nullptr;
    std::array<QWidget *, kGridKeyCount> m_keyCells{};
    std::array<QLabel *, kGridKeyCount> m_keyNumberLabels{};
    std::array<QWidget *, kKnobCount> m_knobGroups{};
    std::array<std::array<KnobButton *, kKnobPartCount>, kKnobCount> m_knobButtons{};
    QWidget *m_singleKnobContainer = nullptr;
    std::array<KnobButton *, kSingleKnobPartCount> m_singleKnobButtons{};
    QWidget *m_extraTurnContainer = nullptr;
    // Watches every control for drags, drops and clicks; controls made later
    // (the turn-only knobs) get it too.
    QPointer<QObject> m_controlWatcher;
    std::array<KnobButton *, kExtraTurnButtonCount> m_extraTurnButtons{};

    // Control buttons by slot (keys and knob parts) and the key buttons by
    // grid position.
    std::array<QPushButton *, kKeySlotCount> m_controlButtons{};
    std::array<KeyButton *, kGridKeyCount> m_gridKeyButtons{};
};
