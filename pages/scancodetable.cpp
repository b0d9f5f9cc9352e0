#include "pages/scancodetable.h"

#include <array>

namespace {

// XKB numbers the Linux input event codes from 8 on.
constexpr quint32 kXkbKeycodeOffset = 8;

// Indexed by the Linux input event code (KEY_* of linux/input-event-codes.h),
// the usage of that key on the HID keyboard page 0x07 (HID Usage Tables).
// It is the kernel's own HID-to-input mapping read backwards. The ISO key
// beside Enter (0x32) arrives as KEY_BACKSLASH like the US backslash and goes
// back as 0x31, which computers type alike. Media and system keys stay 0: the
// keypad plays those from its own pages.
constexpr std::array<uint8_t, 128> kUsageByEvdevCode = {
    0x00, 0x29, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23,  //   0  -  Esc 1 2 3 4 5 6
    0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x2A, 0x2B,  //   8  7 8 9 0 - = Backspace Tab
    0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C,  //  16  Q W E R T Y U I
    0x12, 0x13, 0x2F, 0x30, 0x28, 0xE0, 0x04, 0x16,  //  24  O P [ ] Enter LCtrl A S
    0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33,  //  32  D F G H J K L ;
    0x34, 0x35, 0xE1, 0x31, 0x1D, 0x1B, 0x06, 0x19,  //  40  ' ` LShift \ Z X C V
    0x05, 0x11, 0x10, 0x36, 0x37, 0x38, 0xE5, 0x55,  //  48  B N M , . / RShift KP*
    0xE2, 0x2C, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E,  //  56  LAlt Space Caps F1 F2 F3 F4 F5
    0x3F, 0x40, 0x41, 0x42, 0x43, 0x53, 0x47, 0x5F,  //  64  F6 F7 F8 F9 F10 NumLock ScrollLock KP7
    0x60, 0x61, 0x56, 0x5C, 0x5D, 0x5E, 0x57, 0x59,  //  72  KP8 KP9 KP- KP4 KP5 KP6 KP+ KP1
    0x5A, 0x5B, 0x62, 0x63, 0x00, 0x94, 0x64, 0x44,  //  80  KP2 KP3 KP0 KP. - Zenkaku ISO-key F11
    0x45, 0x87, 0x92, 0x93, 0x8A, 0x88, 0x8B, 0x8C,  //  88  F12 Ro Katakana Hiragana Henkan Kana Muhenkan KPJpComma
    0x58, 0xE4, 0x54, 0x46, 0xE6, 0x00, 0x4A, 0x52,  //  96  KPEnter RCtrl KP/ SysRq RAlt LineFeed Home Up
    0x4B, 0x50, 0x4F, 0x4D, 0x51, 0x4E, 0x49, 0x4C,  // 104  PgUp Left Right End Down PgDn Insert Delete
    0x00, 0x00, 0x00, 0x00, 0x00, 0x67, 0x00, 0x48,  // 112  Macro Mute Vol- Vol+ Power KP= KP+- Pause
    0x00, 0x85, 0x90, 0x91, 0x89, 0xE3, 0xE7, 0x65,  // 120  Scale KP, Hangeul Hanja Yen LMeta RMeta Menu
};

} // namespace

uint8_t usageForXkbKeycode(quint32 keycode)
{
    if (keycode < kXkbKeycodeOffset || keycode - kXkbKeycodeOffset >= kUsageByEvdevCode.size())
        return 0;
    return kUsageByEvdevCode[keycode - kXkbKeycodeOffset];
}

bool scanCodesArePositions(const QString &platformName)
{
#if defined(Q_OS_LINUX) && !defined(ZENTRIK_PORTABLE)
    // "wayland", "wayland-egl" and the other Wayland plugins alike.
    return platformName == QLatin1String("xcb") || platformName.startsWith(QLatin1String("wayland"));
#else
    // Elsewhere, and in the portable build that stands in for elsewhere,
    // Qt's own key mapping names the key.
    Q_UNUSED(platformName);
    return false;
#endif
}
