// Selecting a key or knob, the texts the controls and the key display show,
// and the Clear and Clear All commands.

#include "app/keypadview/keyselection.h"

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

KeySelection::KeySelection(KeyboardData &store, const KeypadPanel &panel,
                           const DeviceState &device, KeyDisplay &display, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_panel(panel)
    , m_device(device)
    , m_display(display)
{
    connect(&m_store, &KeyboardData::ledLayerChanged, this, &KeySelection::onLedLayerChanged);
}

void KeySelection::setLightingShown(bool shown)
{
    if (shown == m_lightingShown)
        return;
    m_lightingShown = shown;
    refreshUnsavedMarks();
}

// ---- button index and key index --------------------------------------------

const ControlMap &KeySelection::controlMap() const
{
    const KeypadFamily &family = m_device.connectedFamily();
    const ControlMapKey key{m_panel.layout().id, &family, &m_device.lastFamily(),
                            family.descriptionBytes(m_device.description())};
    if (!(key == m_mapKey)) {
        m_map = ControlMap::of(m_device, m_panel.layout());
        m_mapKey = key;
    }
    return m_map;
}

int KeySelection::keyIndexForButton(int button) const
{
    return controlMap().slotOfButton(button);
}

int KeySelection::buttonIndexForKey(int key) const
{
    return controlMap().buttonOfSlot(key);
}

QPushButton *KeySelection::buttonForKey(int key) const
{
    const int button = buttonIndexForKey(key);
    return button >= 0 && button < kKeySlotCount ? m_panel.controlButton(button) : nullptr;
}

// ---- selecting -------------------------------------------------------------

void KeySelection::clickPlace(int place)
{
    if (place < 0 || place >= kKeySlotCount)
        return;
    selectButton(place);
    // A checkable button toggles itself before clicked(); only the selected
    // control may stay checked, also when the click was refused.
    for (QPushButton *control : m_panel.controlButtons())
        if (control)
            control->setChecked(control == m_selectedButton);
}

void KeySelection::selectButton(int buttonIndex)
{
    QPushButton *button = m_panel.controlButton(buttonIndex);
    if (!button)
        return;
    auto *keyButton = qobject_cast<KeyButton *>(button);
    // Knobs have no LED to colour.
    if (m_lightingShown && !keyButton)
        return;

    const int key = keyIndexForButton(buttonIndex);
    qCDebug(lcUi).noquote() << "[UI][select]" << "index" << buttonIndex << "layout"
                            << m_panel.layout().name << "ptr" << button << "type"
                            << button->metaObject()->className() << "dataIndex" << key << "text"
                            << button->text();

    if (m_selectedButton && m_selectedButton != button)
        m_selectedButton->setChecked(false);
    for (QPushButton *control : m_panel.controlButtons())
        if (control)
            control->setChecked(control == button);
    m_selectedButton = button;

    m_store.selectKey(key);

    if (m_lightingShown && keyButton)
        emit ledKeySelected(key);
    qCDebug(lcUi).noquote() << "Selected button" << buttonIndex << "dataIndex:" << key
                            << "text:" << button->text();
}

void KeySelection::onSelectedKeyChanged(int index)
{
    const int buttonIndex = buttonIndexForKey(index);
    QPushButton *selected = index >= 0 && buttonIndex >= 0 && buttonIndex < kKeySlotCount
        ? m_panel.controlButton(buttonIndex) : nullptr;
    for (QPushButton *control : m_panel.controlButtons())
        if (control)
            control->setChecked(control == selected);
    m_selectedButton = selected;

    if (index < 0) {
        m_display.clear();
        // A layer switch, Clear All or a reload: the lighting shown follows.
        if (m_lightingShown)
            emit lightingViewStale();
    } else {
        const QString shortText = buttonTextFor(index);
        const QString fullText = fullTextFor(index);
        qCDebug(lcUi).noquote() << "Selected key changed:" << index + 1 << "buttonText:"
                                << shortText << "fullText:" << fullText;
        if (m_panel.layout().name == QLatin1String("Layout_16K_3E_P0_S0") && index >= 16
            && index < kKeySlotCount) {
            const KeyConfig record = currentKey(index);
            qCDebug(lcUi).noquote()
                << "[UI][select-state]" << "index" << index << "set" << !record.isEmpty()
                << "type" << (record.isEmpty() ? -1 : int(record.type)) << "buttonText"
                << shortTextOf(record) << "displayText" << fullTextOf(record);
        }
        if (m_lightingShown && qobject_cast<KeyButton *>(selected))
            m_display.clear();
        else
            m_display.showText(controlTitleFor(index), fullText);
    }
    emit selectionPagesStale();
}

// ---- texts -----------------------------------------------------------------

KeyConfig KeySelection::currentKey(int key) const
{
    return m_store.layers().value(m_store.currentLayer()).value(key);
}

QString KeySelection::keyText(int key, bool full) const
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
    if (keepsMediaInKeycode(m_panel.layout().name, c))
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

QString KeySelection::buttonTextFor(int key) const
{
    return keyText(key, false);
}

QString KeySelection::fullTextFor(int key) const
{
    return keyText(key, true);
}

void KeySelection::onKeyButtonTextChanged(int index, const QString &text)
{
    qCDebug(lcUi).noquote() << "[UI] textChanged enter layout=" << m_panel.layout().name
                            << "index=" << index << "text=" << text;
    const int buttonIndex = buttonIndexForKey(index);
    QPushButton *button = m_panel.controlButton(buttonIndex);
    if (!button)
        return;
    auto *keyButton = qobject_cast<KeyButton *>(button);
    const bool swatchShown = m_lightingShown && keyButton;
    const bool assigned = !currentKey(index).isEmpty();
    if (!swatchShown)
        showFunctionOf(button, index);
    if (m_panel.layout().name == QLatin1String("Layout_6K_1E_P0_S0") && buttonIndex >= 6
        && buttonIndex <= 8)
        qCDebug(lcUi).noquote() << "[UI] textChanged key" << buttonIndex << "text="
                                << button->text() << "set=" << assigned;
    if (swatchShown)
        showLedSwatch(buttonIndex);
    else
        setAssignedMark(button, assigned);
}

void KeySelection::onKeyFullTextChanged(int index)
{
    if (buttonIndexForKey(index) < 0 || index != m_store.selectedKey())
        return;
    // On the lighting page a key stands for its LED, not its assignment.
    if (m_lightingShown && qobject_cast<KeyButton *>(buttonForKey(index)))
        m_display.clear();
    else
        m_display.showText(controlTitleFor(index), fullTextFor(index));
}

void KeySelection::blankControls()
{
    for (QPushButton *button : m_panel.controlButtons()) {
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

void KeySelection::refreshKeyTexts()
{
    qCDebug(lcUi).noquote() << "[UI] restore enter layout=" << m_panel.layout().name;
    const bool sixKeyLayout = m_panel.layout().name == QLatin1String("Layout_6K_1E_P0_S0");
    for (int i = 0; i < kKeySlotCount; ++i) {
        QPushButton *button = m_panel.controlButton(i);
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

void KeySelection::showLedSwatch(int slot)
{
    auto *key = qobject_cast<KeyButton *>(m_panel.controlButton(slot));
    if (!key)
        return;
    const QColor color = ledColorOf(keyIndexForButton(slot));
    key->setText(QString());
    key->setSwatch(color);
    key->setAccessibleName(accessibleControlName(
        m_panel.identityOf(key),
        translateText(QStringLiteral("LED color %1")).arg(color.name().toUpper())));
}

void KeySelection::showFunctionOf(QPushButton *button, int key) const
{
    button->setText(buttonTextFor(key));
    // The legend breaks where the record's parts meet, whatever its text.
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setLegendShape(legendShapeOf(currentKey(key)));
    setFullTextOf(button, fullTextFor(key));
}

void KeySelection::setFullTextOf(QPushButton *button, const QString &text) const
{
    // The whole function text, shown on hover when the legend cuts it.
    if (auto *control = qobject_cast<ControlButton *>(button))
        control->setFullText(text);
    describeControl(button, text);
}

QString KeySelection::controlTitleFor(int key) const
{
    const QPushButton *button = buttonForKey(key);
    if (!button)
        return {};
    const ControlIdentity control = m_panel.identityOf(button);
    return control.number > 0 ? controlTitle(control) : QString();
}

void KeySelection::describeControl(QPushButton *button, const QString &fullText) const
{
    if (!button)
        return;
    const ControlIdentity control = m_panel.identityOf(button);
    button->setAccessibleName(accessibleControlName(control, fullText));
    button->setAccessibleDescription(accessibleControlDescription(control));
}

// ---- Clear and Clear All ---------------------------------------------------

void KeySelection::forgetSelectedButton()
{
    if (m_selectedButton)
        m_selectedButton->setChecked(false);
    m_selectedButton = nullptr;
}

void KeySelection::blankControl(QPushButton *button) const
{
    if (!button)
        return;
    button->setText(QString());
    setFullTextOf(button, QString());
    setAssignedMark(button, false);
}

void KeySelection::clearSelected()
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

void KeySelection::clearAll()
{
    m_store.clearAllKeys();
    m_selectedButton = nullptr;
    qCDebug(lcUi).noquote() << "Clear All button clicked - cleared all keys";
    for (int i = 0; i < kKeySlotCount; ++i) {
        QPushButton *button = m_panel.controlButton(i);
        // Slots the keypad cannot store were refused and keep their text.
        if (button && currentKey(keyIndexForButton(i)).isEmpty())
            blankControl(button);
    }
    m_display.clear();
    qCDebug(lcUi).noquote() << "Clear All - cleared layer" << m_store.currentLayer() + 1;
}

void KeySelection::refreshAssignedMarks()
{
    // Each control is marked by the key it edits, which on two legacy
    // layouts is not the key of its own slot number.
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        setAssignedMark(m_panel.controlButton(slot), !currentKey(keyIndexForButton(slot)).isEmpty());
}

bool KeySelection::keyUnsaved(int key) const
{
    const int layer = m_store.currentLayer();
    const KeyLayer &keys = m_store.layers()[layer];
    if (key < 0 || key >= keys.size())
        return false;
    if (m_lightingShown && key < kLedCount && qobject_cast<KeyButton *>(buttonForKey(key)))
        return layer < m_store.ledLayers().size() && m_store.ledLayers()[layer].keyDirty[size_t(key)];
    return keys[key].dirty;
}

void KeySelection::refreshUnsavedMarks()
{
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        setUnsavedMark(m_panel.controlButton(slot), keyUnsaved(keyIndexForButton(slot)));
}

void KeySelection::onKeyChanged(int layer, int key)
{
    if (layer != m_store.currentLayer() || buttonIndexForKey(key) < 0)
        return;
    setUnsavedMark(buttonForKey(key), keyUnsaved(key));
}

void KeySelection::onLedLayerChanged(int layer)
{
    if (layer == m_store.currentLayer() && m_lightingShown)
        refreshUnsavedMarks();
}

void KeySelection::showSelectedKeyText()
{
    const int key = m_store.selectedKey();
    if (key < 0)
        return;
    m_display.showText(controlTitleFor(key), fullTextFor(key));
}

QColor KeySelection::ledColorOf(int key) const
{
    return toQColor(currentLedColor(m_store, key));
}
