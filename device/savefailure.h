#pragma once

#include "device/savesnapshot.h"

// The failure a finished save task reports: None when everything was
// written; Unplugged when the save could not start because no keypad was
// open; NoAnswer for a failed save that names no reason. The layers above
// word it (keypad/failuretexts.h).
SaveFailure saveFailureOf(const SaveResult &result);
