#include "pages/typinglayout.h"

#include "pages/scancodetable.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <memory>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace {

// XKB keycodes of the keys the keypad holds for Shift and AltGr: the Linux
// input codes of the left Shift and the right Alt, plus 8.
constexpr xkb_keycode_t kLeftShiftKeycode = 42 + 8;
constexpr xkb_keycode_t kRightAltKeycode = 100 + 8;

struct ContextDeleter {
    void operator()(xkb_context *c) const { xkb_context_unref(c); }
};
struct KeymapDeleter {
    void operator()(xkb_keymap *k) const { xkb_keymap_unref(k); }
};
struct StateDeleter {
    void operator()(xkb_state *s) const { xkb_state_unref(s); }
};
struct ConnectionDeleter {
    void operator()(xcb_connection_t *c) const { xcb_disconnect(c); }
};
using Context = std::unique_ptr<xkb_context, ContextDeleter>;
using Keymap = std::unique_ptr<xkb_keymap, KeymapDeleter>;
using State = std::unique_ptr<xkb_state, StateDeleter>;

bool isNumberPad(uint8_t usage)
{
    return usage >= 0x54 && usage <= 0x63;
}

// Lower is preferred when several strokes type one character.
int strokeCost(const KeyStroke &stroke)
{
    return (isNumberPad(stroke.usage) ? 4 : 0) + (stroke.shift ? 1 : 0) + (stroke.altGr ? 2 : 0);
}

Keymap desktopKeymap(xkb_context *context)
{
    // Only when an X server is there to ask (XWayland included).
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    std::unique_ptr<xcb_connection_t, ConnectionDeleter> connection(xcb_connect(nullptr, nullptr));
    if (!connection || xcb_connection_has_error(connection.get()))
        return nullptr;
    if (!xkb_x11_setup_xkb_extension(connection.get(), XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
                                     nullptr, nullptr))
        return nullptr;
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection.get());
    if (device < 0)
        return nullptr;
    return Keymap(xkb_x11_keymap_new_from_device(context, connection.get(), device,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS));
}

Keymap keymapOf(xkb_context *context, const LayoutChoice &choice)
{
    const QByteArray layout = choice.layout.toUtf8();
    const QByteArray variant = choice.variant.toUtf8();
    xkb_rule_names names{};
    names.rules = "evdev";
    names.model = "pc105";
    names.layout = layout.constData();
    names.variant = variant.constData();
    return Keymap(xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

} // namespace

// Fills a layout from a compiled keymap: what every key types with each of
// the four combinations of Shift and AltGr held, as the keypad would hold them.
struct TypingLayoutBuilder {
    static TypingLayout build(xkb_keymap *keymap)
    {
        TypingLayout result;
        if (xkb_keymap_num_layouts(keymap) > 0)
            result.m_name = QString::fromUtf8(xkb_keymap_layout_get_name(keymap, 0));
        for (int held = 0; held < 4; ++held) {
            State state(xkb_state_new(keymap));
            if (!state)
                continue;
            const bool shift = held & 1;
            const bool altGr = held & 2;
            if (shift)
                xkb_state_update_key(state.get(), kLeftShiftKeycode, XKB_KEY_DOWN);
            if (altGr)
                xkb_state_update_key(state.get(), kRightAltKeycode, XKB_KEY_DOWN);
            for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
                 code <= xkb_keymap_max_keycode(keymap); ++code)
                addKey(result, state.get(), code, shift, altGr);
        }
        return result;
    }

    static void addKey(TypingLayout &layout, xkb_state *state, xkb_keycode_t code, bool shift,
                       bool altGr)
    {
        const uint8_t usage = usageForXkbKeycode(code);
        if (usage == 0 || usage >= 0xE0)
            return;
        const char32_t character = xkb_state_key_get_utf32(state, code);
        // Control characters other than Tab and Enter are not text.
        if (character == 0 || (character < 0x20 && character != '\t' && character != '\r')
            || character == 0x7F)
            return;
        const KeyStroke stroke{usage, shift, altGr};
        layout.m_characters.insert(TypingLayout::strokeKey(stroke), character);
        const auto known = layout.m_strokes.constFind(character);
        if (known == layout.m_strokes.constEnd() || strokeCost(stroke) < strokeCost(*known))
            layout.m_strokes.insert(character, stroke);
    }
};

uint TypingLayout::strokeKey(const KeyStroke &stroke)
{
    return uint(stroke.usage) | (stroke.shift ? 0x100u : 0u) | (stroke.altGr ? 0x200u : 0u);
}

char32_t TypingLayout::characterOf(const KeyStroke &stroke) const
{
    return m_characters.value(strokeKey(stroke), 0);
}

TypingLayout TypingLayout::load(const LayoutChoice &choice)
{
    Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context)
        return {};
    Keymap keymap = choice.isDesktop() ? desktopKeymap(context.get()) : nullptr;
    if (!keymap)
        keymap = keymapOf(context.get(), choice.isDesktop() ? systemLayoutChoice() : choice);
    if (!keymap)
        return {};
    return TypingLayoutBuilder::build(keymap.get());
}

LayoutChoice systemLayoutChoice()
{
    LayoutChoice choice{QStringLiteral("us"), QString()};
    QFile file(QStringLiteral("/etc/default/keyboard"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return choice;
    // Lines like XKBLAYOUT="de,us"; the first layout is the one typed with.
    static const QRegularExpression line(QStringLiteral("^\\s*(XKBLAYOUT|XKBVARIANT)=\"?([^\"]*)\"?"));
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QRegularExpressionMatch match = line.match(in.readLine());
        if (!match.hasMatch())
            continue;
        const QString first = match.captured(2).section(QLatin1Char(','), 0, 0).trimmed();
        if (match.captured(1) == QLatin1String("XKBLAYOUT") && !first.isEmpty())
            choice.layout = first;
        else if (match.captured(1) == QLatin1String("XKBVARIANT"))
            choice.variant = first;
    }
    return choice;
}
