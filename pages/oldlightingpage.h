#pragma once

#include "model/ledlayerconfig.h"
#include "pages/assignmentpage.h"

#include <QList>
#include <array>

class KeyboardData;
class QPushButton;

// One colour an "Old" keypad can light a whole layer with.
struct OldPaletteColor {
    const char *name;
    RgbColor color;
};

constexpr int kOldPageColorCount = 7;
const std::array<OldPaletteColor, kOldPageColorCount> &oldPageColors();

// The palette entry nearest to `color` (smallest sum of squared differences;
// the first one wins a tie): what an "Old" keypad will actually show.
int nearestOldColor(const RgbColor &color);

// Lighting page of the "Old" family: six modes and seven colours, both for
// the whole current layer (the colour is kept in LED 0).
class OldLightingPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit OldLightingPage(QWidget *parent = nullptr);

    // Also follows selection changes, as the window's refreshes do.
    void bind(KeyboardData &data) override;

    // Set while an "Old" keypad is connected; the page edits nothing otherwise.
    void setDeviceActive(bool active);

    // Marks the mode in use and the colour nearest to the layer's colour.
    void refresh() override;

    void setScale(double scale) override;

    QList<QPushButton *> modeButtons() const { return m_modeButtons; }
    QList<QPushButton *> colorButtons() const { return m_colorButtons; }
    // Index of the colour button drawn as the layer's colour.
    int highlightedColor() const { return m_highlightedColor; }

signals:
    void lightingChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int modeFontPx() const;
    void onModeClicked(int mode);
    void onColorClicked(int index);

    KeyboardData *m_data = nullptr;
    bool m_deviceActive = false;
    double m_scale = 1.0;
    int m_appliedModeFontPx = -1;
    int m_highlightedColor = -1;
    QList<QPushButton *> m_modeButtons;
    QList<QPushButton *> m_colorButtons;
};
