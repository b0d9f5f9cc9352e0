#pragma once

#include <QWidget>

class KeyboardData;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// The macro row's page for keypads of the "Old" family, which play every
// press of a key after one common delay: a slider and a spin box that set it.
class OldDelayPage : public QWidget
{
    Q_OBJECT
public:
    explicit OldDelayPage(KeyboardData &store, QWidget *parent = nullptr);

    // True while an "Old" keypad is connected; the controls work only then.
    void setDeviceConnected(bool connected);

    QSlider *slider() const { return m_slider; }
    QSpinBox *spinBox() const { return m_spin; }
    QPushButton *upButton() const { return m_upButton; }
    QPushButton *downButton() const { return m_downButton; }

public slots:
    // Shows the selected key's delay; enables the controls for an "Old" keypad.
    void refresh();

private:
    void onValueChosen(int value);
    void stepSpin(int steps);

    KeyboardData &m_store;
    bool m_deviceConnected = false;
    QSlider *m_slider = nullptr;
    QSpinBox *m_spin = nullptr;
    QPushButton *m_upButton = nullptr;
    QPushButton *m_downButton = nullptr;
};
