#pragma once

#include "pages/assignmentpage.h"

class KeyboardData;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// The macro row's page for keypads of the "Old" family, which play every
// press of a key after one common delay: a slider and a spin box that set it.
class OldDelayPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit OldDelayPage(KeyboardData &store, QWidget *parent = nullptr);

    // True while an "Old" keypad is connected; the controls work only then.
    void setDeviceConnected(bool connected);
    // Words the label and the unit in the interface's language.
    void retranslate() override;
    // Below the window's usual smallest ratio the controls shrink with it.
    void setScale(double ratio) override;

    QSlider *slider() const { return m_slider; }
    QSpinBox *spinBox() const { return m_spin; }
    QPushButton *upButton() const { return m_upButton; }
    QPushButton *downButton() const { return m_downButton; }

public slots:
    // Shows the selected key's delay; enables the controls for an "Old" keypad.
    void refresh() override;

private:
    void onValueChosen(int value);
    void stepSpin(int steps);

    KeyboardData &m_store;
    bool m_deviceConnected = false;
    double m_share = 1.0;
    QLabel *m_label = nullptr;
    QLabel *m_unit = nullptr;
    QSlider *m_slider = nullptr;
    QSpinBox *m_spin = nullptr;
    QPushButton *m_upButton = nullptr;
    QPushButton *m_downButton = nullptr;
};
