#include "model/keyboarddata.h"

#include "model/keytexts.h"
#include "model/labels.h"
#include "model/logging.h"

namespace {

// A click adds a press and a release, so a macro of more than this many steps
// could not take another key without passing the keypad's 64-step limit.
constexpr int kMaxStepsBeforeClick = kMaxMacroSteps - 2;

bool isValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }

int popCount(uint8_t value)
{
    int count = 0;
    for (; value; value &= uint8_t(value - 1))
        ++count;
    return count;
}

} // namespace

KeyboardData::KeyboardData(QObject *parent)
    : QObject(parent)
    , m_layers(kLayerCount, KeyLayer(kKeySlotCount))
    , m_ledLayers(kLayerCount)
{
}

const KeyConfig *KeyboardData::selectedConfig() const
{
    if (m_selectedKey < 0 || m_selectedKey >= kKeySlotCount)
        return nullptr;
    return &m_layers[m_currentLayer][m_selectedKey];
}

void KeyboardData::setUnwritableSlots(const QVector<int> &indices)
{
    m_unwritable.fill(false);
    for (int index : indices)
        if (index >= 0 && index < kKeySlotCount)
            m_unwritable[index] = true;
}

bool KeyboardData::isWritableSlot(int index) const
{
    return index >= 0 && index < kKeySlotCount && !m_unwritable[index];
}

// ---- the two writers -------------------------------------------------------

void KeyboardData::announceUnsaved(bool wasUnsaved)
{
    if (hasUnsavedChanges() != wasUnsaved)
        emit unsavedChanged(!wasUnsaved);
}

void KeyboardData::storeKey(int layer, int key, const KeyConfig &record)
{
    KeyConfig &slot = m_layers[layer][key];
    const bool wasUnsaved = hasUnsavedChanges();
    m_markedCount += int(record.dirty != 0) - int(slot.dirty != 0);
    slot = record;
    emit keyChanged(layer, key);
    announceUnsaved(wasUnsaved);
}

void KeyboardData::storeLedLayer(int layer, const LedLayerConfig &record)
{
    const bool wasUnsaved = hasUnsavedChanges();
    m_markedCount += int(record.isChanged()) - int(m_ledLayers.at(layer).isChanged());
    m_ledLayers.replace(layer, record);
    emit ledLayerChanged(layer);
    announceUnsaved(wasUnsaved);
}

// ---- texts -----------------------------------------------------------------

int KeyboardData::editableSelection() const
{
    if (!selectedConfig())
        return -1;
    if (m_unwritable[m_selectedKey]) {
        qCWarning(lcModel).noquote() << "Key cannot be stored by this keypad:" << m_selectedKey;
        return -1;
    }
    return m_selectedKey;
}

void KeyboardData::emitSelectedTexts()
{
    const KeyConfig *key = selectedConfig();
    if (!key)
        return;
    emit keyButtonTextChanged(m_selectedKey, shortTextOf(*key));
    emit keyFullTextChanged(m_selectedKey, fullTextOf(*key));
}

void KeyboardData::emitLayerButtonTexts()
{
    const KeyLayer &layer = m_layers[m_currentLayer];
    for (int i = 0; i < kKeySlotCount; ++i)
        emit keyButtonTextChanged(i, shortTextOf(layer[i]));
}

// ---- selection and layers --------------------------------------------------

void KeyboardData::selectKey(int index)
{
    m_startFresh = true;
    m_selectedKey = index;
    emit selectedKeyChanged(index);
    QString text;
    if (index >= 0 && index < kKeySlotCount)
        text = fullTextOf(m_layers[m_currentLayer][index]);
    emit keyFullTextChanged(index, text);
}

void KeyboardData::setCurrentLayer(int layer)
{
    if (!isValidLayer(layer))
        return;
    m_currentLayer = layer;
    emit currentLayerChanged(layer);
    emitLayerButtonTexts();
    m_selectedKey = -1;
    emit selectedKeyChanged(-1);
}

// ---- edits -----------------------------------------------------------------

void KeyboardData::clearSelectedKey()
{
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig cleared;
    cleared.dirty = 1;
    storeKey(m_currentLayer, index, cleared);
    m_startFresh = true;
    emit keyButtonTextChanged(index, QString());
    emit keyFullTextChanged(index, QString());
}

void KeyboardData::clearAllKeys()
{
    const KeyLayer &layer = m_layers[m_currentLayer];
    KeyConfig cleared;
    cleared.dirty = 1;
    for (int i = 0; i < kKeySlotCount; ++i) {
        if (m_unwritable[i]) {
            emit keyButtonTextChanged(i, shortTextOf(layer[i]));
            continue;
        }
        storeKey(m_currentLayer, i, cleared);
        emit keyButtonTextChanged(i, QString());
    }
    m_selectedKey = -1;
    m_startFresh = true;
    emit selectedKeyChanged(-1);
}

void KeyboardData::loadLayers(const KeyLayers &source)
{
    const int layerCount = qMin(source.size(), kLayerCount);
    for (int l = 0; l < layerCount; ++l) {
        const int slotCount = qMin(source[l].size(), kKeySlotCount);
        for (int k = 0; k < slotCount; ++k) {
            KeyConfig record = source[l][k];
            record.dirty = 0;
            storeKey(l, k, record);
        }
    }
    emitLayerButtonTexts();
    if (m_selectedKey >= 0) {
        QString text;
        if (m_selectedKey < kKeySlotCount)
            text = fullTextOf(m_layers[m_currentLayer][m_selectedKey]);
        emit keyFullTextChanged(m_selectedKey, text);
    }
}

void KeyboardData::refreshSelectedTexts()
{
    emitSelectedTexts();
}

void KeyboardData::appendBaseKey(uint8_t usage)
{
    if (!selectedConfig()) {
        qCWarning(lcModel).noquote() << "No key selected";
        return;
    }
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig key = m_layers[m_currentLayer][index];

    const bool full = (key.type == KeyTypeMacro && key.macroSteps.size() > kMaxStepsBeforeClick)
        || (key.type == KeyTypeCombination && !key.keycodes.isEmpty());
    if (full) {
        qCWarning(lcModel).noquote() << "Key is full, max steps reached";
        return;
    }

    const bool fresh = m_startFresh;
    m_startFresh = false;

    if (fresh) {
        key.setSingleKey(usage);
    } else {
        switch (key.type) {
        case KeyTypeSingle:
            if (!isModifierUsage(key.keycode)) {
                const uint8_t first = key.keycode;
                key.macroSteps = {{0, first, 0}, {1, first, 20}, {0, usage, 20}, {1, usage, 20}};
                key.type = KeyTypeMacro;
                key.dirty = 1;
            } else if (isModifierUsage(usage)) {
                key.setCombination(modifierBit(key.keycode) | modifierBit(usage), QByteArray());
            } else {
                key.setCombination(modifierBit(key.keycode), QByteArray(1, char(usage)));
            }
            break;
        case KeyTypeCombination:
            if (isModifierUsage(usage))
                key.modifiers |= modifierBit(usage);
            else
                key.keycodes.append(char(usage));
            key.dirty = 1;
            break;
        case KeyTypeMacro:
            key.macroSteps.append({0, usage, 20});
            key.macroSteps.append({1, usage, 20});
            key.dirty = 1;
            break;
        default:
            key.setSingleKey(usage);
            break;
        }
    }

    storeKey(m_currentLayer, index, key);
    emitSelectedTexts();

    int count = 0;
    if (key.type == KeyTypeMacro)
        count = key.macroSteps.size() / 2;
    else if (key.type == KeyTypeCombination)
        count = popCount(key.modifiers) + key.keycodes.size();
    else
        count = key.keycode != 0 ? 1 : 0;
    qCDebug(lcModel).noquote() << "append ok, count:" << count;
    qCDebug(lcModel).noquote() << "onBaseKeyClicked done";
}

void KeyboardData::assignMedia(uint16_t code)
{
    if (!selectedConfig()) {
        qCWarning(lcUi).noquote() << "MultiMedia: no key selected";
        return;
    }
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig key;
    key.setMedia(code);
    storeKey(m_currentLayer, index, key);
    emitSelectedTexts();
}

void KeyboardData::assignMouseAction(uint8_t code)
{
    if (!selectedConfig()) {
        qCWarning(lcUi).noquote() << "Mouse: no key selected";
        return;
    }
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig key;
    key.setMouseAction(code);
    storeKey(m_currentLayer, index, key);
    emitSelectedTexts();
}

void KeyboardData::assignMacro(const QVector<MacroStep> &steps)
{
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig key;
    key.setMacro(steps);
    storeKey(m_currentLayer, index, key);
    refreshSelectedTexts();
}

void KeyboardData::assignPrepared(const KeyConfig &record)
{
    const int index = editableSelection();
    if (index < 0)
        return;
    KeyConfig key = record;
    key.dirty = 1;
    storeKey(m_currentLayer, index, key);
    m_startFresh = false;
    emitSelectedTexts();
}

void KeyboardData::replaceKey(int layer, int key, const KeyConfig &record)
{
    if (!isValidLayer(layer) || key < 0 || key >= kKeySlotCount)
        return;
    storeKey(layer, key, record);
    if (layer != m_currentLayer)
        return;
    emit keyButtonTextChanged(key, shortTextOf(record));
    if (key == m_selectedKey)
        emit keyFullTextChanged(key, fullTextOf(record));
}

void KeyboardData::updateKey(int layer, int key, const std::function<void(KeyConfig &)> &change)
{
    if (!isValidLayer(layer) || key < 0 || key >= kKeySlotCount)
        return;
    KeyConfig record = m_layers[layer][key];
    change(record);
    storeKey(layer, key, record);
}

void KeyboardData::updateSelectedKey(const std::function<void(KeyConfig &)> &change)
{
    if (selectedConfig())
        updateKey(m_currentLayer, m_selectedKey, change);
}

void KeyboardData::markKeySaved(int layer, int key, const KeyConfig &written)
{
    if (!isValidLayer(layer) || key < 0 || key >= kKeySlotCount)
        return;
    const KeyConfig &slot = m_layers[layer][key];
    if (!slot.dirty || !slot.sameAssignment(written))
        return;
    KeyConfig saved = slot;
    saved.dirty = 0;
    storeKey(layer, key, saved);
}

void KeyboardData::resetAll()
{
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int key = 0; key < kKeySlotCount; ++key)
            storeKey(layer, key, KeyConfig());
        storeLedLayer(layer, LedLayerConfig());
    }
}

// ---- lighting --------------------------------------------------------------

void KeyboardData::setLayerEffect(int layer, uint8_t effect)
{
    if (!isValidLayer(layer))
        return;
    LedLayerConfig record = m_ledLayers.at(layer);
    if (record.effect == effect)
        return;
    record.effect = effect;
    record.dirty = 1;
    storeLedLayer(layer, record);
}

void KeyboardData::setLedColor(int layer, int led, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!isValidLayer(layer) || led < 0 || led >= kLedCount)
        return;
    const RgbColor color{red, green, blue};
    if (m_ledLayers.at(layer).colors[led] == color)
        return;
    LedLayerConfig record = m_ledLayers.at(layer);
    record.colors[led] = color;
    record.keyDirty[led] = 1;
    storeLedLayer(layer, record);
}

void KeyboardData::replaceLedLayer(int layer, const LedLayerConfig &record)
{
    if (isValidLayer(layer))
        storeLedLayer(layer, record);
}

void KeyboardData::loadLighting(const LedLayers &lighting)
{
    for (int layer = 0; layer < kLayerCount && layer < lighting.size(); ++layer) {
        LedLayerConfig record = lighting[layer];
        record.clearMarks();
        storeLedLayer(layer, record);
    }
}

void KeyboardData::markLightingSaved(int layer, const LedLayerConfig &written)
{
    if (!isValidLayer(layer))
        return;
    const LedLayerConfig &record = m_ledLayers.at(layer);
    if (!record.isChanged() || record.effect != written.effect || record.colors != written.colors)
        return;
    LedLayerConfig saved = record;
    saved.clearMarks();
    storeLedLayer(layer, saved);
}
