#pragma once

#include "device/savesnapshot.h"

// The failure a finished save task reports: None when everything was
// written; Unplugged when the save could not start because no keypad was
// open; NoAnswer for a failed save that names no reason. Only a kind: the
// window and zentrikctl word it.
SaveFailure saveFailureOf(const SaveResult &result);
