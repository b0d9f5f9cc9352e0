#pragma once

#include "model/keylayers.h"

#include <QObject>
#include <array>
#include <functional>

// The in-memory copy of every assignment and every layer's lighting. Owned by
// the window and changed only on the UI thread, and only through the
// operations below: each change announces itself, so the parts that show a
// record, its mark or the unsaved state listen here instead of being told.
class KeyboardData : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardData(QObject *parent = nullptr);

    const KeyLayers &layers() const { return m_layers; }
    const LedLayers &ledLayers() const { return m_ledLayers; }
    int currentLayer() const { return m_currentLayer; }
    int selectedKey() const { return m_selectedKey; }
    bool startFresh() const { return m_startFresh; }
    // The selected slot of the current layer, or null without a selection.
    const KeyConfig *selectedConfig() const;

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
    bool hasUnsavedChanges() const { return m_markedCount > 0; }
    // Puts a whole record back (undo, redo, paste, layer copy, edits laid
    // back on a returning keypad), marks included. A key of the current
    // layer announces its texts as any edit does: the button text, then the
    // full text when it is the selected key.
    void replaceKey(int layer, int key, const KeyConfig &record);
    void replaceLedLayer(int layer, const LedLayerConfig &record);
    // Changes a record in place (a recorded macro step, an edited delay);
    // the caller decides whether the texts are announced.
    void updateKey(int layer, int key, const std::function<void(KeyConfig &)> &change);
    void updateSelectedKey(const std::function<void(KeyConfig &)> &change);
    // Lighting as read from the keypad: nothing of it is changed yet.
    void loadLighting(const LedLayers &lighting);
    // A save's result: the mark goes only where the store still holds what
    // reached the keypad, so an edit made while the save ran is saved next time.
    void markKeySaved(int layer, int key, const KeyConfig &written);
    void markLightingSaved(int layer, const LedLayerConfig &written);
    // The keypad went away: every record empty and unmarked.
    void resetAll();

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
    // A key record of any layer changed (its function or its mark).
    void keyChanged(int layer, int key);
    // A layer's lighting record changed (a colour, the effect or its marks).
    void ledLayerChanged(int layer);
    void currentLayerChanged(int layer);
    // Emitted when the first record gets its mark and when the last one
    // loses it.
    void unsavedChanged(bool unsaved);

private:
    KeyLayers m_layers;
    LedLayers m_ledLayers;
    int m_currentLayer = 0;
    int m_selectedKey = -1;
    bool m_startFresh = true;
    // Records marked changed, keys and lighting together; kept by storeKey
    // and storeLedLayer so nobody rescans the store for the unsaved state.
    int m_markedCount = 0;
    std::array<bool, kKeySlotCount> m_unwritable{};

    // Every write of a record goes through these two.
    void storeKey(int layer, int key, const KeyConfig &record);
    void storeLedLayer(int layer, const LedLayerConfig &record);
    void announceUnsaved(bool wasUnsaved);
    // The selected slot's index when it may be changed; -1 (logged when a
    // slot is selected but unwritable) otherwise.
    int editableSelection() const;
    void emitSelectedTexts();
    void emitLayerButtonTexts();
};
