#include "pages/qtkeytable.h"

#include <Qt>

namespace {

// A run of consecutive Qt keys mapped onto consecutive usages; most runs
// hold a single key.
struct QtKeyRun {
    int firstKey;
    int lastKey;
    uint8_t firstUsage;
};

constexpr QtKeyRun kQtKeyRuns[] = {
    {Qt::Key_A, Qt::Key_Z, 0x04},
    {Qt::Key_1, Qt::Key_9, 0x1E},
    {Qt::Key_0, Qt::Key_0, 0x27},

    // Shift with the digit row.
    {Qt::Key_Exclam, Qt::Key_Exclam, 0x1E},
    {Qt::Key_At, Qt::Key_At, 0x1F},
    {Qt::Key_NumberSign, Qt::Key_NumberSign, 0x20},
    {Qt::Key_Dollar, Qt::Key_Dollar, 0x21},
    {Qt::Key_Percent, Qt::Key_Percent, 0x22},
    {Qt::Key_AsciiCircum, Qt::Key_AsciiCircum, 0x23},
    {Qt::Key_Ampersand, Qt::Key_Ampersand, 0x24},
    {Qt::Key_Asterisk, Qt::Key_Asterisk, 0x25},
    {Qt::Key_ParenLeft, Qt::Key_ParenLeft, 0x26},
    {Qt::Key_ParenRight, Qt::Key_ParenRight, 0x27},

    {Qt::Key_Return, Qt::Key_Return, 0x28},
    {Qt::Key_Escape, Qt::Key_Escape, 0x29},
    {Qt::Key_Backspace, Qt::Key_Backspace, 0x2A},
    {Qt::Key_Tab, Qt::Key_Tab, 0x2B},
    // Shift+Tab arrives as its own Qt key; it is still the Tab key.
    {Qt::Key_Backtab, Qt::Key_Backtab, 0x2B},
    {Qt::Key_Space, Qt::Key_Space, 0x2C},

    {Qt::Key_Minus, Qt::Key_Minus, 0x2D},
    {Qt::Key_Underscore, Qt::Key_Underscore, 0x2D},
    {Qt::Key_Equal, Qt::Key_Equal, 0x2E},
    {Qt::Key_Plus, Qt::Key_Plus, 0x2E},
    {Qt::Key_BracketLeft, Qt::Key_BracketLeft, 0x2F},
    {Qt::Key_BraceLeft, Qt::Key_BraceLeft, 0x2F},
    {Qt::Key_BracketRight, Qt::Key_BracketRight, 0x30},
    {Qt::Key_BraceRight, Qt::Key_BraceRight, 0x30},
    {Qt::Key_Backslash, Qt::Key_Backslash, 0x31},
    {Qt::Key_Bar, Qt::Key_Bar, 0x31},
    {Qt::Key_Semicolon, Qt::Key_Semicolon, 0x33},
    {Qt::Key_Colon, Qt::Key_Colon, 0x33},
    {Qt::Key_Apostrophe, Qt::Key_Apostrophe, 0x34},
    {Qt::Key_QuoteDbl, Qt::Key_QuoteDbl, 0x34},
    {Qt::Key_QuoteLeft, Qt::Key_QuoteLeft, 0x35},
    {Qt::Key_AsciiTilde, Qt::Key_AsciiTilde, 0x35},
    {Qt::Key_Comma, Qt::Key_Comma, 0x36},
    {Qt::Key_Less, Qt::Key_Less, 0x36},
    {Qt::Key_Period, Qt::Key_Period, 0x37},
    {Qt::Key_Greater, Qt::Key_Greater, 0x37},
    {Qt::Key_Slash, Qt::Key_Slash, 0x38},
    {Qt::Key_Question, Qt::Key_Question, 0x38},

    {Qt::Key_CapsLock, Qt::Key_CapsLock, 0x39},
    {Qt::Key_F1, Qt::Key_F12, 0x3A},
    {Qt::Key_Print, Qt::Key_Print, 0x46},
    {Qt::Key_ScrollLock, Qt::Key_ScrollLock, 0x47},
    {Qt::Key_Pause, Qt::Key_Pause, 0x48},
    {Qt::Key_Insert, Qt::Key_Insert, 0x49},
    {Qt::Key_Home, Qt::Key_Home, 0x4A},
    {Qt::Key_PageUp, Qt::Key_PageUp, 0x4B},
    {Qt::Key_Delete, Qt::Key_Delete, 0x4C},
    {Qt::Key_End, Qt::Key_End, 0x4D},
    {Qt::Key_PageDown, Qt::Key_PageDown, 0x4E},
    {Qt::Key_Right, Qt::Key_Right, 0x4F},
    {Qt::Key_Left, Qt::Key_Left, 0x50},
    {Qt::Key_Down, Qt::Key_Down, 0x51},
    {Qt::Key_Up, Qt::Key_Up, 0x52},
    {Qt::Key_NumLock, Qt::Key_NumLock, 0x53},
    // Qt's Enter is the keypad one; the main key is Return.
    {Qt::Key_Enter, Qt::Key_Enter, 0x58},

    {Qt::Key_Control, Qt::Key_Control, 0xE0},
    {Qt::Key_Shift, Qt::Key_Shift, 0xE1},
    {Qt::Key_Alt, Qt::Key_Alt, 0xE2},
    {Qt::Key_Meta, Qt::Key_Meta, 0xE3},
};

} // namespace

uint8_t usageForQtKey(int qtKey)
{
    for (const QtKeyRun &run : kQtKeyRuns) {
        if (qtKey >= run.firstKey && qtKey <= run.lastKey)
            return uint8_t(run.firstUsage + (qtKey - run.firstKey));
    }
    return 0;
}
