#pragma once

#include <QHash>
#include <QString>
#include <cstdint>

// The keys and modifiers that type characters on one keyboard layout of the
// computer, read from the layout's XKB keymap. The keypad plays key
// positions and the computer types them with its own layout, so a written
// text becomes the positions that type it on the layout the computer uses.
//
// A plain value: built on a worker thread (compiling a keymap takes longer
// than a frame) and handed to the UI thread whole.

// One key with the modifiers held around it: Shift, and AltGr (Level 3).
struct KeyStroke {
    uint8_t usage = 0;
    bool shift = false;
    bool altGr = false;

    bool operator==(const KeyStroke &o) const
    {
        return usage == o.usage && shift == o.shift && altGr == o.altGr;
    }
};

// Which layout to read: an XKB layout and variant ("de", "nodeadkeys"), or
// the desktop's own when the layout is empty.
struct LayoutChoice {
    QString layout;
    QString variant;

    bool isDesktop() const { return layout.isEmpty(); }
    bool operator==(const LayoutChoice &o) const
    {
        return layout == o.layout && variant == o.variant;
    }
};

class TypingLayout
{
public:
    // The usages the keypad holds down for Shift and AltGr.
    static constexpr uint8_t kShiftUsage = 0xE1;
    static constexpr uint8_t kAltGrUsage = 0xE6;

    // The layout's name as XKB describes it ("German"); empty when none was read.
    QString name() const { return m_name; }
    bool isValid() const { return !m_strokes.isEmpty(); }

    // The stroke that types `character`, the one with fewest modifiers and
    // off the number pad where there is a choice; usage 0 when none does.
    KeyStroke strokeFor(char32_t character) const { return m_strokes.value(character); }
    // What a stroke types; 0 when it types no character.
    char32_t characterOf(const KeyStroke &stroke) const;

    // Reads the layout; slow, so never on the UI thread. An unknown layout
    // gives an invalid one.
    static TypingLayout load(const LayoutChoice &choice);

private:
    friend struct TypingLayoutBuilder;
    static uint strokeKey(const KeyStroke &stroke);

    QString m_name;
    QHash<char32_t, KeyStroke> m_strokes;
    QHash<uint, char32_t> m_characters;
};

// The layout the system's keyboard configuration names
// (/etc/default/keyboard), "us" when it names none.
LayoutChoice systemLayoutChoice();
