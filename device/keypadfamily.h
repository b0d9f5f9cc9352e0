#pragma once

#include "device/deviceinfo.h"
#include "device/savesnapshot.h"
#include "model/keylayers.h"

#include <QByteArray>
#include <QVector>

class HIDManager;

// The lighting a family keeps, and so the lighting page the window shows.
enum class LightingKind {
    PerKeyRgb, // a colour per key and an effect per layer
    R20Wide,   // the R20Wide lighting records
    Old,       // one palette colour and effect per layer
};

// The page the macro row shows: the recorder, or a family's press delays.
enum class DelayPage {
    None,
    R20Wide,
    Old,
};

// How a family's key record keeps presses. The older families keep a list
// of presses and play the releases themselves, so a function fits only when
// what the keypad plays back is what was assigned.
enum class PressRecord {
    Steps,        // every step of a macro as it is
    TimedPresses, // each press with its own delay; released in reverse order
    HeldPresses,  // modifiers, then keys, sharing one delay; all held down
};

// What one key record of a family keeps beyond the counts below.
struct RecordLimits {
    PressRecord form = PressRecord::Steps;
    int maxPresses = 0;        // TimedPresses: every press; HeldPresses: keys besides modifiers
    int releaseDelay = 0;      // delay before each release the keypad plays
    int firstModifierAlias = -1; // usages in this range read back as modifiers
    int lastModifierAlias = -1;
    int lastMouseAction = 255; // mouse actions past it read back as none
};

// What a keypad of one family can hold; the window and the pages offer only
// that.
struct KeypadCapabilities {
    int slotCount = 25;        // key slots a keypad of the family can have
    int layerCount = 4;        // layers of assignments it keeps
    int maxMacroSteps = 0;     // steps of a recorded macro; 0: it keeps no macros
    bool mouseGestures = true; // swipes and Like besides the pointer actions
    bool mediaKeys = true;
    int maxComboKeys = 6;      // keys of one combination besides its modifiers
    LightingKind lighting = LightingKind::PerKeyRgb;
    bool knobLeds = false;     // LED rings around its knobs
    DelayPage delayPage = DelayPage::None;
    // Knob parts are numbered as the older keypads number them.
    bool legacyKnobNumbering = false;
    // The description's layer count is the keypad's own.
    bool layersDescribed = true;
    // How its key records keep a function.
    RecordLimits record;
    // The description names the slots the keypad has; controls past them are
    // disabled rather than refused one by one.
    bool slotsDescribed = true;
    // Its picture is chosen by the key and knob counts alone.
    bool layoutFromCounts = false;
    // Its lighting can be read back: a read shows it and a save checks it.
    bool lightingReadBack = true;
    // The highest lighting effect number it can show.
    int maxEffect = 255;

    bool holdsMacros() const { return maxMacroSteps > 0; }
};

// What only an older family's probe answer says of a keypad, beside the
// counts its description gives in the current description's terms. The family
// whose probe was answered gives the format and the version their meaning.
struct ProbeAnswer {
    uint8_t valid = 0;   // 1 once a probe was answered
    uint8_t version = 0; // firmware version byte
    int format = 0;      // which of the older families' records it speaks
};

// What a keypad said of itself: the current description, or an older
// family's probe answer with its counts in `info`.
struct KeypadDescription {
    DeviceInfo info;
    ProbeAnswer probe;
};

// What a read of a keypad brings back.
struct KeypadContents {
    bool readComplete = false; // every layer and lighting record was read
    KeyLayers layers;
    LedLayers lighting;        // empty when the family brings none back
};

// One keypad family: how it is read and saved, and what it can hold. A family
// is a stateless constant; its reads and saves run on a worker thread through
// the device link, which must have the keypad open.
class KeypadFamily
{
public:
    virtual ~KeypadFamily() = default;

    // The family's name, as the log lines name it.
    virtual const char *name() const = 0;
    virtual const KeypadCapabilities &capabilities() const = 0;
    // Whether a keypad that described itself so belongs to the family.
    virtual bool claims(const KeypadDescription &description) const = 0;

    // Every layer and lighting record, as "View Settings" reads them.
    virtual KeypadContents read(HIDManager &link) const = 0;
    // Writes a snapshot: the full save, or the keys-only save when the
    // snapshot holds keys only.
    virtual SaveResult save(HIDManager &link, const KeypadDescription &description,
                            const SaveSnapshot &snapshot) const = 0;

    // The slots 0..24 a keypad so described cannot store.
    virtual QVector<int> unwritableSlots(const KeypadDescription &description) const = 0;
    // The description as bytes, to tell one keypad from another.
    virtual QByteArray descriptionBytes(const KeypadDescription &description) const = 0;
};
