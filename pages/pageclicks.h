#pragma once

#include <cstdint>
#include <optional>

class KeyboardData;
class QObject;

// What a click on an assignment page does to the selected key. The window's
// slots hand over their sender(), which is the page button clicked.

// A key of the on-screen keyboard or of the Ext Keys page: its "keycode"
// goes to KeyboardData::appendBaseKey.
void handleBaseKeyClick(KeyboardData &data, QObject *sender);
// The usage such a key carries; nothing for any other sender.
std::optional<uint8_t> baseKeyUsageOf(QObject *sender);

// A MultiMedia button: its "mediaCode" replaces the selected key.
void handleMediaClick(KeyboardData &data, QObject *sender);

// A Mouse button: its "mouseAction" replaces the selected key. Keypads of
// the "Old" family cannot store gestures, so those are refused there.
void handleMouseClick(KeyboardData &data, QObject *sender, bool legacyOldConnected);
