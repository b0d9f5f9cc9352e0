// What the controls and the key display show for the keys of the current
// layer, their marks, and the Clear and Clear All commands.

#include "app/keypadview/keypadview.h"

#include "keypad/accessiblecontrolname.h"
#include "keypad/devicestate.h"
#include "app/keypadview/functionrows.h"
#include "app/keypadview/keydisplay.h"
#include "app/keypadview/keypadpanel.h"

#include "model/keytexts.h"
#include "model/labels.h"
#include "model/translation.h"
#include "model/logging.h"
#include "pages/lightingcommon.h"
#include "pages/procreateshortcuts.h"
#include "widgets/controlbutton.h"
#include "widgets/keybutton.h"

#include <QPushButton>
#include <QRegularExpression>
#include <vector>

namespace {

// Consumer usages the knob-only keypads keep in the keycode byte of a
// single key.
constexpr uint8_t kKnobMediaKeycodes[] = {111, 112, 181, 182, 183, 226, 233, 234};

struct ArrowWord {
    const char *word;
    const char *arrow;
};
constexpr ArrowWord kArrowWords[] = {
    {"up", "\u2191"}, {"down", "\u2193"}, {"left", "\u2190"}, {"right", "\u2192"}};

bool isKnobOnlyLayout(const QString &name)
{
    return name == QLatin1String("Layout_0K_1E_P0_S0")
        || name == QLatin1String("Layout_0K_1E_P1_S1");
}

struct ArrowPattern {
    QRegularExpression word;
    QString arrow;
};

QString arrowSubstituted(QString text)
{
    // Built once: compiling the four patterns cost more than every other
    // part of a key's text together, and each key's text is built again
    // whenever a layer is shown.
    static const std::vector<ArrowPattern> patterns = [] {
        std::vector<ArrowPattern> built;
        for (const ArrowWord &entry : kArrowWords) {
            QRegularExpression word(QStringLiteral("(?<![A-Za-z0-9])%1(?![A-Za-z0-9])")
                                        .arg(QLatin1String(entry.word)),
                                    QRegularExpression::CaseInsensitiveOption);
            word.optimize();
            built.push_back({word, QString::fromUtf8(entry.arrow)});
        }
        return built;
    }();
    for (const ArrowPattern &pattern : patterns)
        text.replace(pattern.word, pattern.arrow);
    return text;
}

void setAssignedMark(QPushButton *button, bool assigned)
{
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setAssigned(assigned);
}

void setUnsavedMark(QPushButton *button, bool unsaved)
{
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setUnsaved(unsaved);
}

} // namespace

bool keepsMediaInKeycode(const QString &layoutName, const KeyConfig &key)
{
    return isKnobOnlyLayout(layoutName) && key.type == KeyTypeSingle
        && std::find(std::begin(kKnobMediaKeycodes), std::end(kKnobMediaKeycodes), key.keycode)
               != std::end(kKnobMediaKeycodes);
}

// ---- texts -----------------------------------------------------------------

KeyConfig KeypadView::currentKey(int key) const
{
    return m_store.layers().value(m_store.currentLayer()).value(key);
}

QString KeypadView::keyText(int key, bool full) const
{
    if (key < 0 || key >= kKeySlotCount)
        return QString();
    const KeyConfig c = currentKey(key);
    if (c.isEmpty())
        return QString();
    const int row = m_functionRow;

    if (row == RowProcreate) {
        if (const auto shortcut = recognizeProcreate(c))
            return translateText(QString::fromUtf8(full ? shortcut->label : shortcut->shortLabel));
    }

    // The label rules build the texts; the knob-only keypads keep media
    // usages in a single key's keycode byte.
    QString text;
    if (keepsMediaInKeycode(m_panel->layout().name, c))
        text = mediaLabel(c.keycode);
    else
        text = full ? displayTextOf(c) : controlTextOf(c);
    // Rich text (the macro arrows) is shown as built.
    if (!(full && text.contains(QLatin1String("<span"))))
        text = translateText(text);
    if (row == RowBaseKeys)
        text = arrowSubstituted(text);
    return text;
}

QString KeypadView::buttonTextFor(int key) const
{
    return keyText(key, false);
}

QString KeypadView::fullTextFor(int key) const
{
    return keyText(key, true);
}

void KeypadView::onKeyButtonTextChanged(int index, const QString &text)
{
    qCDebug(lcUi).noquote() << "[UI] textChanged enter layout=" << m_panel->layout().name
                            << "index=" << index << "text=" << text;
    const int buttonIndex = buttonIndexForKey(index);
    QPushButton *button = m_panel->controlButton(buttonIndex);
    if (!button)
        return;
    auto *keyButton = qobject_cast<KeyButton *>(button);
    const bool swatchShown = m_lightingShown && keyButton;
    const bool assigned = !currentKey(index).isEmpty();
    if (!swatchShown)
        showFunctionOf(button, index);
    if (m_panel->layout().name == QLatin1String("Layout_6K_1E_P0_S0") && buttonIndex >= 6
        && buttonIndex <= 8)
        qCDebug(lcUi).noquote() << "[UI] textChanged key" << buttonIndex << "text="
                                << button->text() << "set=" << assigned;
    if (swatchShown)
        showLedSwatch(buttonIndex);
    else
        setAssignedMark(button, assigned);
}

void KeypadView::onKeyFullTextChanged(int index)
{
    if (buttonIndexForKey(index) < 0 || index != m_store.selectedKey())
        return;
    // On the lighting page a key stands for its LED, not its assignment.
    if (m_lightingShown && qobject_cast<KeyButton *>(buttonForKey(index)))
        m_display.clear();
    else
        m_display.showText(controlTitleFor(index), fullTextFor(index));
}

void KeypadView::blankControls()
{
    for (QPushButton *button : m_panel->controlButtons()) {
        if (!button)
            continue;
        button->setText(QString());
        button->setChecked(false);
        if (auto *control = qobject_cast<ControlButton *>(button))
            control->setAssigned(false);
        setFullTextOf(button, QString());
    }
    m_selectedButton = nullptr;
}

void KeypadView::refreshKeyTexts()
{
    qCDebug(lcUi).noquote() << "[UI] restore enter layout=" << m_panel->layout().name;
    const bool sixKeyLayout = m_panel->layout().name == QLatin1String("Layout_6K_1E_P0_S0");
    for (int i = 0; i < kKeySlotCount; ++i) {
        QPushButton *button = m_panel->controlButton(i);
        if (!button)
            continue;
        const int key = keyIndexForButton(i);
        const bool assigned = !currentKey(key).isEmpty();
        auto *control = qobject_cast<ControlButton *>(button);
        if (!control)
            continue;
        auto *keyButton = qobject_cast<KeyButton *>(button);
        if (keyButton)
            keyButton->clearSwatch();
        const bool logKnob = !keyButton && sixKeyLayout && i >= 6 && i <= 8;
        if (logKnob)
            qCDebug(lcUi).noquote() << "[UI] restore knob before" << i << "text="
                                    << control->text() << "set=" << control->isAssigned();
        showFunctionOf(control, key);
        control->setAssigned(assigned);
        if (logKnob)
            qCDebug(lcUi).noquote() << "[UI] restore knob after" << i << "text="
                                    << control->text() << "set=" << control->isAssigned();
    }
}

void KeypadView::showLedSwatch(int slot)
{
    auto *key = qobject_cast<KeyButton *>(m_panel->controlButton(slot));
    if (!key)
        return;
    const QColor color = ledColorOf(keyIndexForButton(slot));
    key->setText(QString());
    key->setSwatch(color);
    key->setAccessibleName(accessibleControlName(
        m_panel->identityOf(key),
        translateText(QStringLiteral("LED color %1")).arg(color.name().toUpper())));
}

void KeypadView::showFunctionOf(QPushButton *button, int key) const
{
    button->setText(buttonTextFor(key));
    // The legend breaks where the record's parts meet, whatever its text.
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setLegendShape(legendShapeOf(currentKey(key)));
    setFullTextOf(button, fullTextFor(key));
}

void KeypadView::setFullTextOf(QPushButton *button, const QString &text) const
{
    // The whole function text, shown on hover when the legend cuts it.
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setFullText(text);
    describeControl(button, text);
}

QString KeypadView::controlTitleFor(int key) const
{
    const QPushButton *button = buttonForKey(key);
    if (!button)
        return {};
    const ControlIdentity control = m_panel->identityOf(button);
    return control.number > 0 ? controlTitle(control) : QString();
}

void KeypadView::describeControl(QPushButton *button, const QString &fullText) const
{
    if (!button)
        return;
    const ControlIdentity control = m_panel->identityOf(button);
    button->setAccessibleName(accessibleControlName(control, fullText));
    button->setAccessibleDescription(accessibleControlDescription(control));
}

// ---- Clear and Clear All ---------------------------------------------------

void KeypadView::blankControl(QPushButton *button) const
{
    if (!button)
        return;
    button->setText(QString());
    setFullTextOf(button, QString());
    setAssignedMark(button, false);
}

void KeypadView::clearSelected()
{
    const int key = m_store.selectedKey();
    m_store.clearSelectedKey();
    forgetSelectedButton();
    m_display.clear();
    // A slot the keypad cannot store keeps its assignment and its text.
    if (key >= 0 && currentKey(key).isEmpty())
        blankControl(buttonForKey(key));
    qCDebug(lcUi).noquote() << "Clear button clicked - cleared selected key";
}

void KeypadView::clearAll()
{
    m_store.clearAllKeys();
    m_selectedButton = nullptr;
    qCDebug(lcUi).noquote() << "Clear All button clicked - cleared all keys";
    for (int i = 0; i < kKeySlotCount; ++i) {
        QPushButton *button = m_panel->controlButton(i);
        // Slots the keypad cannot store were refused and keep their text.
        if (button && currentKey(keyIndexForButton(i)).isEmpty())
            blankControl(button);
    }
    m_display.clear();
    qCDebug(lcUi).noquote() << "Clear All - cleared layer" << m_store.currentLayer() + 1;
}

void KeypadView::refreshAssignedMarks()
{
    // Each control is marked by the key it edits, which on two legacy
    // layouts is not the key of its own slot number.
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        setAssignedMark(m_panel->controlButton(slot),
                        !currentKey(keyIndexForButton(slot)).isEmpty());
}

bool KeypadView::keyUnsaved(int key) const
{
    const int layer = m_store.currentLayer();
    const KeyLayer &keys = m_store.layers()[layer];
    if (key < 0 || key >= keys.size())
        return false;
    if (m_lightingShown && key < kLedCount && qobject_cast<KeyButton *>(buttonForKey(key)))
        return layer < m_store.ledLayers().size() && m_store.ledLayers()[layer].keyDirty[size_t(key)];
    return keys[key].dirty;
}

void KeypadView::refreshUnsavedMarks()
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        setUnsavedMark(m_panel->controlButton(slot), keyUnsaved(keyIndexForButton(slot)));
}

void KeypadView::onKeyChanged(int layer, int key)
{
    if (layer != m_store.currentLayer() || buttonIndexForKey(key) < 0)
        return;
    setUnsavedMark(buttonForKey(key), keyUnsaved(key));
}

void KeypadView::onLedLayerChanged(int layer)
{
    if (layer == m_store.currentLayer() && m_lightingShown)
        refreshUnsavedMarks();
}

void KeypadView::showSelectedKeyText()
{
    const int key = m_store.selectedKey();
    if (key < 0)
        return;
    m_display.showText(controlTitleFor(key), fullTextFor(key));
}

QColor KeypadView::ledColorOf(int key) const
{
    return toQColor(currentLedColor(m_store, key));
}
