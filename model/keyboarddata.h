#pragma once

#include "model/keyconfig.h"
#include "model/ledlayerconfig.h"

#include <QObject>
#include <QVector>
#include <array>

constexpr int kLayerCount = 4;
constexpr int kKeySlotCount = 25;

using KeyLayer = QVector<KeyConfig>;
using KeyLayers = QVector<KeyLayer>;
using LedLayers = QVector<LedLayerConfig>;

// The in-memory copy of every assignment and every layer's lighting. Owned by
// the window and changed only on the UI thread; the save flows read it and
// clear the marks of what they wrote.
class KeyboardData : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardData(QObject *parent = nullptr);

    KeyLayers layers;
    LedLayers ledLayers;
    int currentLayer = 0;
    int selectedKey = -1;
    bool startFresh = true;

    void selectKey(int index);
    void setCurrentLayer(int layer);
    void clearSelectedKey();
    void clearAllKeys();
    void loadLayers(const KeyLayers &source);
    void refreshSelectedTexts();
    void appendBaseKey(uint8_t usage);
    void assignMedia(uint16_t code);
    void assignMouseAction(uint8_t code);
    void assignMacro(const QVector<MacroStep> &steps);
    void assignPrepared(const KeyConfig &record);
    void setLayerEffect(int layer, uint8_t effect);
    void setLedColor(int layer, int led, uint8_t red, uint8_t green, uint8_t blue);

    // Whether any key or lighting record is marked changed and not yet saved.
    bool hasUnsavedChanges() const;
    // Puts a whole record back (undo, redo, paste, layer copy), marks
    // included. A key of the current layer announces its texts as any edit
    // does: the button text, then the full text when it is the selected key.
    void replaceKey(int layer, int key, const KeyConfig &record);
    void replaceLedLayer(int layer, const LedLayerConfig &record);

    // The selected slot of the current layer, or null without a selection.
    KeyConfig *selectedConfig();

    // Slots the connected keypad has no way to store (an "Old" keypad has no
    // key number for some of them). Assigning or clearing them is refused with
    // a log line, so no change there can be reported as saved while nothing
    // reached the keypad. None unless such a keypad is connected.
    void setUnwritableSlots(const QVector<int> &indices);
    bool isWritableSlot(int index) const;

signals:
    void keyButtonTextChanged(int keyIdx, QString text);
    void keyFullTextChanged(int keyIdx, QString text);
    void selectedKeyChanged(int keyIdx);
    void error(QString msg);

private:
    std::array<bool, kKeySlotCount> m_unwritable{};

    // The selected slot when it may be changed; null (logged when a slot is
    // selected but unwritable) otherwise.
    KeyConfig *editableSelection();
    void emitSelectedTexts();
    void emitLayerButtonTexts();
};
