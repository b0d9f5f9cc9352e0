#pragma once

#include "pages/assignmentpage.h"
#include "pages/lightingcommon.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QVector>
#include <cstdint>

class KeyboardData;
class KnobLedRing;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class RgbColorPickerWidget;

// One entry of an effect list: the keypad's effect number and its name.
struct LightingEffect {
    uint8_t id;
    const char *label;
};

// The effects the keypad of the connected layout offers: the single-knob
// pad with its LED ring has six, every other pad ten.
QVector<LightingEffect> lightingEffects(bool knobLedLayout);

// Function-list row 3 for keypads of the current family (or none): the
// current layer's effect and, through the colour picker, the colour of the
// selected key's LED (or of one knob LED segment on the single-knob pad).
class LightingPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit LightingPage(QWidget *parent = nullptr);

    void bind(KeyboardData &data) override;
    void setLedKeyFilter(LedKeyFilter filter) { m_ledKeyFilter = std::move(filter); }

    // The single-knob pad with four LEDs around its knob ("Layout_0K_1E_P1_S1").
    void setKnobLedLayout(bool knobLedLayout);
    bool isKnobLedLayout() const { return m_knobLedLayout; }

    // Set while this page is the one shown; colours are taken only then.
    void setRgbPageActive(bool active) { m_rgbPageActive = active; }

    // On showing the page, a layer change and after a read. An effect the
    // layout does not offer is kept as it is: no button is checked and a note
    // names its number. Emits lightingChanged so the window redraws the keys.
    void refresh() override;

    // Shows the colour of key `key`'s LED in the picker without writing it.
    void showKeyColor(int key);

    void setScale(double scale) override;

    RgbColorPickerWidget *colorPicker() const { return m_picker; }
    // The "#RRGGBB" code of the colour shown; Enter applies a typed one.
    QLineEdit *colorCodeField() const { return m_colorCode; }
    QButtonGroup *effectGroup() const { return m_effectGroup; }
    QList<QPushButton *> effectButtons() const { return m_effectButtons; }
    KnobLedRing *knobLedRing() const { return m_knobLedRing; }
    QLabel *unlistedEffectNote() const { return m_unlistedEffectNote; }

signals:
    // The effect or an LED colour of the current layer was edited, or the
    // page was refreshed: the window redraws the key swatches (or texts).
    void lightingChanged();

private slots:
    void onEffectClicked(int id);
    void onColorChanged(const QColor &color);
    void onSegmentClicked(int led);
    void onColorCodeEntered();

protected:
    // A low window gets lower effect buttons, so the rows never overlap.
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitEffectButtons();
    void fitEffectTexts();
    QWidget *buildEffectsPanel();
    QWidget *buildPalettePanel();
    void refreshEffectButtons();
    void refreshPage();
    void refreshSegments();
    void applyTextStyles(double scale);
    // Shows a colour in the picker and the code field without writing it.
    void showColor(const QColor &color);

    KeyboardData *m_data = nullptr;
    LedKeyFilter m_ledKeyFilter;
    bool m_knobLedLayout = false;
    bool m_rgbPageActive = false;
    double m_scale = 1.0;
    int m_appliedEffectHeight = -1;

    QButtonGroup *m_effectGroup = nullptr;
    QList<QPushButton *> m_effectButtons;
    // The name each effect button shows, in the window's language; empty for
    // a button the layout's list does not use.
    QStringList m_effectNames;
    QList<QLabel *> m_titles;
    QLabel *m_colorTitle = nullptr;  // names what the picker colours
    QList<QLabel *> m_hints;
    QLabel *m_unlistedEffectNote = nullptr;  // shown for an effect the list lacks
    RgbColorPickerWidget *m_picker = nullptr;
    QLineEdit *m_colorCode = nullptr;
    KnobLedRing *m_knobLedRing = nullptr;
};
