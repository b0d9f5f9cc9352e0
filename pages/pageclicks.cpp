#include "pages/pageclicks.h"

#include "model/keyboarddata.h"
#include "model/logging.h"
#include "pages/pagebutton.h"

#include <QPushButton>
#include <optional>

namespace {

constexpr uint kMouseActionCount = 16;

// The code a page button carries, or nothing when the sender is not a page
// button with a code in range: such a click must not write a made-up code.
std::optional<uint> codeOf(QObject *sender, const char *property, uint limit)
{
    auto *button = qobject_cast<QPushButton *>(sender);
    if (!button)
        return std::nullopt;
    bool ok = false;
    const uint code = button->property(property).toUInt(&ok);
    if (!ok || code >= limit)
        return std::nullopt;
    return code;
}

} // namespace

std::optional<uint8_t> baseKeyUsageOf(QObject *sender)
{
    const std::optional<uint> usage = codeOf(sender, kKeycodeProperty, 0x100);
    if (!usage)
        return std::nullopt;
    return uint8_t(*usage);
}

void handleBaseKeyClick(KeyboardData &data, QObject *sender)
{
    const std::optional<uint8_t> usage = baseKeyUsageOf(sender);
    if (!usage)
        return;
    qCDebug(lcUi).noquote() << "onBaseKeyClicked";
    qCDebug(lcUi).noquote() << "keycode:" << *usage
                            << "class:" << sender->property(kClassProperty).toString();
    data.appendBaseKey(*usage);
}

void handleMediaClick(KeyboardData &data, QObject *sender)
{
    const std::optional<uint> code = codeOf(sender, kMediaCodeProperty, 0x10000);
    if (!code)
        return;
    // Without a selection the store logs "MultiMedia: no key selected".
    data.assignMedia(uint16_t(*code));
}

void handleMouseClick(KeyboardData &data, QObject *sender, bool legacyOldConnected)
{
    const std::optional<uint> action = codeOf(sender, kMouseActionProperty, kMouseActionCount);
    if (!action)
        return;
    if (!data.selectedConfig()) {
        qCWarning(lcUi).noquote() << "Mouse: no key selected";
        return;
    }
    if (legacyOldConnected && sender->property(kLegacyOldUnsupportedMouseProperty).toBool()) {
        qCWarning(lcUi).noquote() << "Mouse: legacy old device does not support swipe/like";
        return;
    }
    data.assignMouseAction(uint8_t(*action));
}
