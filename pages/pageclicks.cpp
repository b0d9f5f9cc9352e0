#include "pages/pageclicks.h"

#include "model/keyboarddata.h"
#include "model/logging.h"
#include "pages/mousepage.h"

namespace {

constexpr uint kMouseActionCount = 16;

} // namespace

void chooseBaseKey(KeyboardData &data, uint8_t usage)
{
    qCDebug(lcUi).noquote() << "Base key chosen:" << usage;
    data.appendBaseKey(usage);
}

void chooseMedia(KeyboardData &data, uint16_t code)
{
    // Without a selection the store logs "MultiMedia: no key selected".
    data.assignMedia(code);
}

void chooseMouseAction(KeyboardData &data, uint8_t action, bool legacyOldConnected)
{
    // An action the keypad does not know must not be written as made up.
    if (action >= kMouseActionCount)
        return;
    if (!data.selectedConfig()) {
        qCWarning(lcUi).noquote() << "Mouse: no key selected";
        return;
    }
    if (legacyOldConnected && isMouseGesture(action)) {
        qCWarning(lcUi).noquote() << "Mouse: legacy old device does not support swipe/like";
        return;
    }
    data.assignMouseAction(action);
}
