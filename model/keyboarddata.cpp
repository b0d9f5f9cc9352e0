#include "model/keyboarddata.h"

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

QString buttonTextOf(const KeyConfig &key) { return key.isEmpty() ? QString() : key.buttonText; }
QString fullTextOf(const KeyConfig &key) { return key.isEmpty() ? QString() : key.fullText; }

} // namespace

KeyboardData::KeyboardData(QObject *parent)
    : QObject(parent)
    , layers(kLayerCount, KeyLayer(kKeySlotCount))
    , ledLayers(kLayerCount)
{
}

KeyConfig *KeyboardData::selectedConfig()
{
    if (selectedKey < 0 || selectedKey >= kKeySlotCount)
        return nullptr;
    return &layers[currentLayer][selectedKey];
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

KeyConfig *KeyboardData::editableSelection()
{
    KeyConfig *key = selectedConfig();
    if (key && m_unwritable[selectedKey]) {
        qCWarning(lcModel).noquote() << "Key cannot be stored by this keypad:" << selectedKey;
        return nullptr;
    }
    return key;
}

void KeyboardData::emitSelectedTexts()
{
    const KeyConfig *key = selectedConfig();
    if (!key)
        return;
    emit keyButtonTextChanged(selectedKey, key->buttonText);
    emit keyFullTextChanged(selectedKey, key->fullText);
}

void KeyboardData::emitLayerButtonTexts()
{
    const KeyLayer &layer = layers[currentLayer];
    for (int i = 0; i < kKeySlotCount; ++i)
        emit keyButtonTextChanged(i, buttonTextOf(layer[i]));
}

void KeyboardData::selectKey(int index)
{
    startFresh = true;
    selectedKey = index;
    emit selectedKeyChanged(index);
    QString text;
    if (index >= 0 && index < kKeySlotCount)
        text = fullTextOf(layers[currentLayer][index]);
    emit keyFullTextChanged(index, text);
}

void KeyboardData::setCurrentLayer(int layer)
{
    if (!isValidLayer(layer))
        return;
    currentLayer = layer;
    emitLayerButtonTexts();
    selectedKey = -1;
    emit selectedKeyChanged(-1);
}

void KeyboardData::clearSelectedKey()
{
    KeyConfig *key = editableSelection();
    if (!key)
        return;
    key->clear();
    key->dirty = 1;
    startFresh = true;
    emit keyButtonTextChanged(selectedKey, QString());
    emit keyFullTextChanged(selectedKey, QString());
}

void KeyboardData::clearAllKeys()
{
    KeyLayer &layer = layers[currentLayer];
    for (int i = 0; i < kKeySlotCount; ++i) {
        if (m_unwritable[i]) {
            emit keyButtonTextChanged(i, buttonTextOf(layer[i]));
            continue;
        }
        layer[i].clear();
        layer[i].dirty = 1;
        emit keyButtonTextChanged(i, QString());
    }
    selectedKey = -1;
    startFresh = true;
    emit selectedKeyChanged(-1);
}

void KeyboardData::loadLayers(const KeyLayers &source)
{
    const int layerCount = qMin(source.size(), kLayerCount);
    for (int l = 0; l < layerCount; ++l) {
        const int slotCount = qMin(source[l].size(), kKeySlotCount);
        for (int k = 0; k < slotCount; ++k) {
            layers[l][k] = source[l][k];
            layers[l][k].dirty = 0;
        }
    }
    emitLayerButtonTexts();
    if (selectedKey >= 0) {
        QString text;
        if (selectedKey < kKeySlotCount)
            text = fullTextOf(layers[currentLayer][selectedKey]);
        emit keyFullTextChanged(selectedKey, text);
    }
}

bool KeyboardData::hasUnsavedChanges() const
{
    for (const KeyLayer &layer : layers)
        for (const KeyConfig &key : layer)
            if (key.dirty)
                return true;
    for (const LedLayerConfig &lighting : ledLayers)
        if (lighting.isChanged())
            return true;
    return false;
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
    KeyConfig *key = editableSelection();
    if (!key)
        return;

    const bool full = (key->type == KeyTypeMacro && key->macroSteps.size() > kMaxStepsBeforeClick)
        || (key->type == KeyTypeCombination && !key->keycodes.isEmpty());
    if (full) {
        qCWarning(lcModel).noquote() << "Key is full, max steps reached";
        return;
    }

    const bool fresh = startFresh;
    startFresh = false;

    if (fresh) {
        key->setSingleKey(usage);
    } else {
        switch (key->type) {
        case KeyTypeSingle:
            if (!isModifierUsage(key->keycode)) {
                const uint8_t first = key->keycode;
                key->macroSteps = {{0, first, 0}, {1, first, 20}, {0, usage, 20}, {1, usage, 20}};
                key->type = KeyTypeMacro;
                key->dirty = 1;
                key->updateMacroText();
            } else if (isModifierUsage(usage)) {
                key->setCombination(modifierBit(key->keycode) | modifierBit(usage), QByteArray());
            } else {
                key->setCombination(modifierBit(key->keycode), QByteArray(1, char(usage)));
            }
            break;
        case KeyTypeCombination:
            if (isModifierUsage(usage))
                key->modifiers |= modifierBit(usage);
            else
                key->keycodes.append(char(usage));
            key->dirty = 1;
            key->updateCombinationText();
            break;
        case KeyTypeMacro:
            key->macroSteps.append({0, usage, 20});
            key->macroSteps.append({1, usage, 20});
            key->dirty = 1;
            key->updateMacroText();
            break;
        default:
            key->setSingleKey(usage);
            break;
        }
    }

    emitSelectedTexts();

    int count = 0;
    if (key->type == KeyTypeMacro)
        count = key->macroSteps.size() / 2;
    else if (key->type == KeyTypeCombination)
        count = popCount(key->modifiers) + key->keycodes.size();
    else
        count = key->keycode != 0 ? 1 : 0;
    qCDebug(lcModel).noquote() << "append ok, count:" << count;
    qCDebug(lcModel).noquote() << "onBaseKeyClicked done";
}

void KeyboardData::assignMedia(uint16_t code)
{
    if (!selectedConfig()) {
        qCWarning(lcUi).noquote() << "MultiMedia: no key selected";
        return;
    }
    KeyConfig *key = editableSelection();
    if (!key)
        return;
    key->setMedia(code);
    emitSelectedTexts();
}

void KeyboardData::assignMouseAction(uint8_t code)
{
    if (!selectedConfig()) {
        qCWarning(lcUi).noquote() << "Mouse: no key selected";
        return;
    }
    KeyConfig *key = editableSelection();
    if (!key)
        return;
    key->setMouseAction(code);
    emitSelectedTexts();
}

void KeyboardData::assignMacro(const QVector<MacroStep> &steps)
{
    KeyConfig *key = editableSelection();
    if (!key)
        return;
    key->setMacro(steps);
    refreshSelectedTexts();
}

void KeyboardData::assignPrepared(const KeyConfig &record)
{
    KeyConfig *key = editableSelection();
    if (!key)
        return;
    *key = record;
    key->dirty = 1;
    startFresh = false;
    emitSelectedTexts();
}

void KeyboardData::setLayerEffect(int layer, uint8_t effect)
{
    if (!isValidLayer(layer))
        return;
    LedLayerConfig &led = ledLayers[layer];
    if (led.effect == effect)
        return;
    led.effect = effect;
    led.dirty = 1;
}

void KeyboardData::setLedColor(int layer, int led, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!isValidLayer(layer) || led < 0 || led >= kLedCount)
        return;
    const RgbColor color{red, green, blue};
    if (ledLayers.at(layer).colors[led] == color)
        return;
    LedLayerConfig record = ledLayers.at(layer);
    record.colors[led] = color;
    record.keyDirty[led] = 1;
    ledLayers.replace(layer, record);
}

void KeyboardData::replaceKey(int layer, int key, const KeyConfig &record)
{
    if (!isValidLayer(layer) || key < 0 || key >= kKeySlotCount)
        return;
    layers[layer][key] = record;
    if (layer != currentLayer)
        return;
    emit keyButtonTextChanged(key, buttonTextOf(record));
    if (key == selectedKey)
        emit keyFullTextChanged(key, fullTextOf(record));
}

void KeyboardData::replaceLedLayer(int layer, const LedLayerConfig &record)
{
    if (isValidLayer(layer))
        ledLayers.replace(layer, record);
}
