#pragma once

#include "device/deviceinfo.h"
#include "device/keypadfamily.h"
#include "legacy/legacydeviceinfo.h"

// The legacy probe's answer in the terms every family's description shares,
// and back.

// Its counts as the current description gives them.
DeviceInfo deviceInfoFromLegacy(const LegacyDeviceInfo &legacy);

// The description a probed keypad is known by; `legacy` must be valid.
KeypadDescription legacyKeypadDescription(const LegacyDeviceInfo &legacy);

// The probe's answer that `description` was made of by
// legacyKeypadDescription(); an unprobed one when no probe was answered.
LegacyDeviceInfo legacyDeviceInfoOf(const KeypadDescription &description);
