#pragma once

#include "device/savesnapshot.h"
#include "model/translation.h"

#include <QString>

// The status line's words for a save that did not get everything onto the
// keypad. The window shows them in red in place of "Saved successfully".

// The failure a finished save task reports: None when everything was
// written; Unplugged when the save could not start because no keypad was
// open; NoAnswer for a failed save that names no reason.
SaveFailure saveFailureOf(const SaveResult &result);

// English text of a failure (empty for None), one of the translation table's
// rows.
QString saveFailureText(SaveFailure failure);

// The text for the status line, translated; empty when the save succeeded.
// In the interface's language unless told otherwise.
QString saveStatusText(const SaveResult &result, bool useChinese = interfaceIsChinese());
