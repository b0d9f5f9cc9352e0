#pragma once

#include "pages/assignmentpage.h"
#include "pages/legacydelayedit.h"

#include <array>

class KeyboardData;
class QPushButton;
class QSpinBox;

// The macro row's page for keypads of the R20Wide family, which keep the
// presses of a key with one delay each: eighteen slots showing the presses
// of the selected key, each with the delay before it.
class R20WideDelayPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit R20WideDelayPage(KeyboardData &store, QWidget *parent = nullptr);

    // True while an R20Wide keypad is connected; the delays are editable only then.
    void setDeviceConnected(bool connected);
    // Words the empty slots and the delay unit in the interface's language.
    void retranslate() override { refresh(); }
    // Below the window's usual smallest ratio the slots shrink with it.
    void setScale(double ratio) override;

    QPushButton *keyButton(int slot) const { return m_slots[slot].keyButton; }
    QSpinBox *delaySpin(int slot) const { return m_slots[slot].spin; }
    QPushButton *upButton(int slot) const { return m_slots[slot].upButton; }
    QPushButton *downButton(int slot) const { return m_slots[slot].downButton; }

public slots:
    void refresh() override;

private:
    struct Slot {
        QPushButton *keyButton = nullptr;
        QSpinBox *spin = nullptr;
        QPushButton *upButton = nullptr;
        QPushButton *downButton = nullptr;
    };

    QWidget *buildSlot(int slot);
    void onDelayChosen(int slot, int delay);
    void stepSpin(int slot, int steps);

    KeyboardData &m_store;
    bool m_deviceConnected = false;
    double m_share = 1.0;
    std::array<Slot, kR20WideDelaySlots> m_slots{};
};
