#pragma once

#include "device/openfailurelog.h"
#include "device/savesnapshot.h"

#include <QString>

// The status line's words for what the keypad link reports as failed, in
// the interface's language. The link hands over the failures as values;
// the window and zentrikctl show them in red.

// The text for a save that did not get everything onto the keypad, in place
// of "Saved successfully"; empty when the save succeeded.
QString saveStatusText(const SaveResult &result);

// Why the last keypad found could not be opened: the fix for a missing
// permission, the system's reason otherwise; empty when nothing failed.
QString openFailureStatusText(const OpenFailure &failure);
