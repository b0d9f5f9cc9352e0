#pragma once

#include "pages/assignmentpage.h"
#include "pages/legacydelayedit.h"

#include <array>

class KeyboardData;
class MacroStepActions;
struct MacroEditResult;
class QPushButton;
class QSpinBox;

// The macro row's page for keypads of the R20Wide family, which keep the
// presses of a key with one delay each: eighteen slots showing the presses
// of the selected key, each with the delay before it. The presses are
// selected by clicking their keys (Shift and Ctrl extend) and edited as the
// macro page edits steps: delete, duplicate, move, set delays, insert a key.
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

    MacroStepActions *actions() const { return m_actions; }
    const QVector<int> &selectedSlots() const { return m_selected; }
    void setSelectedSlots(const QVector<int> &chosen);
    void deleteSelected();
    void duplicateSelected();
    void moveSelected(int offset);
    void setSelectedDelays(int delay);
    // Adds a press of `usage` after the selection (at the end without one).
    void insertKey(uint8_t usage);

signals:
    // "Insert key": the window lets the user pick it on the base keys page.
    void keyChoiceRequested();

public slots:
    void refresh() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

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
    void onKeyClicked(int slot);
    void applyPresses(const MacroEditResult &edit);
    void askForDelay();
    QVector<MacroStep> presses() const;

    KeyboardData &m_store;
    bool m_deviceConnected = false;
    double m_share = 1.0;
    std::array<Slot, kR20WideDelaySlots> m_slots{};
    MacroStepActions *m_actions = nullptr;
    QVector<int> m_selected;
    int m_anchor = -1;
};
