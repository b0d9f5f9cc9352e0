#pragma once

#include "pages/assignmentpage.h"

#include <QList>
#include <cstdint>

class QPushButton;
class SharedBevelButton;

// Page "BaseKeys": an on-screen PC keyboard with a numeric keypad block.
// Each key carries its HID usage in "keycode"; a click says baseKeyChosen
// with that usage.
class BaseKeysPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit BaseKeysPage(QWidget *parent = nullptr);

    // Every key, keyboard rows first, then the keypad block.
    const QList<QPushButton *> &keyButtons() const { return m_keyButtons; }

    // Fonts and key gaps at the window's scale (1.0 at the design size).
    void setScale(double scale) override;

signals:
    void baseKeyChosen(uint8_t usage);

private:
    QList<QPushButton *> m_keyButtons;
    QList<SharedBevelButton *> m_bevelKeys;
    // Font size of each key at the design size, by the index in m_keyButtons.
    QList<int> m_designFontPx;
    int m_appliedKeyGapPx = -1;
};
