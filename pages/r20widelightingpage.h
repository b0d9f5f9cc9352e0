#pragma once

#include "pages/assignmentpage.h"
#include "pages/lightingcommon.h"

#include <QList>
#include <array>

class KeyboardData;
class QPushButton;

constexpr int kR20WidePaletteSize = 56;

// The 56 colours an R20Wide key can take, row by row of seven.
const std::array<QRgb, kR20WidePaletteSize> &r20WidePalette();

// Lighting page of the R20Wide family: six modes for the current layer and
// a palette that colours the selected key's LED.
class R20WideLightingPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit R20WideLightingPage(QWidget *parent = nullptr);

    // Also follows the selection: the palette is usable only with a key chosen.
    void bind(KeyboardData &data) override;
    void setLedKeyFilter(LedKeyFilter filter) { m_ledKeyFilter = std::move(filter); }

    // Set while an R20Wide keypad is connected; the page edits nothing otherwise.
    void setDeviceActive(bool active);

    // Marks the current layer's mode and enables what may be used now.
    void refreshModeButtons();
    void refresh() override { refreshModeButtons(); }

    void setScale(double scale) override;

    QList<QPushButton *> modeButtons() const { return m_modeButtons; }
    QList<QPushButton *> paletteButtons() const { return m_paletteButtons; }

signals:
    // An LED colour or the mode was edited: the window redraws the swatches.
    void lightingChanged();

private:
    void onModeClicked(int mode);
    void onPaletteClicked(int index);

    KeyboardData *m_data = nullptr;
    LedKeyFilter m_ledKeyFilter;
    bool m_deviceActive = false;
    double m_scale = 1.0;
    QList<QPushButton *> m_modeButtons;
    QList<QPushButton *> m_paletteButtons;
};
