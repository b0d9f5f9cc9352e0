#include "keypad/keypadfamilies.h"

#include "device/currentfamily.h"
#include "device/hidmanager.h"
#include "legacy/legacydescription.h"
#include "legacy/legacyfamily.h"
#include "legacy/legacysession.h"

const KeypadFamily &currentKeypadFamily()
{
    static const CurrentFamily family;
    return family;
}

const QVector<const KeypadFamily *> &keypadFamilies()
{
    static const QVector<const KeypadFamily *> families{
        &currentKeypadFamily(),
        &r20WideKeypadFamily(),
        &oldKeypadFamily(),
    };
    return families;
}

const KeypadFamily *keypadFamilyOf(const KeypadDescription &description)
{
    for (const KeypadFamily *family : keypadFamilies())
        if (family->claims(description))
            return family;
    return nullptr;
}

KeypadConnectRead identifyAndReadKeypad(HIDManager &link)
{
    KeypadConnectRead result;
    result.infoOk = link.readDeviceInfo(result.info);
    if (!result.infoOk) {
        const LegacyConnectResult legacy = legacyConnectRead(link);
        if (legacy.outcome == LegacyProbeOutcome::CurrentKeypad) {
            // The description's answer came late: the keypad speaks the
            // current protocol after all and is asked once more.
            result.infoOk = link.readDeviceInfo(result.info);
        } else if (legacy.legacyOk) {
            result.legacyOk = true;
            result.legacyInfo = legacy.info;
            result.readComplete = legacy.readComplete;
            result.layers = legacy.layers;
            result.lighting = legacy.lighting;
            result.family = keypadFamilyOf(legacyKeypadDescription(legacy.info));
        }
    }
    if (result.infoOk) {
        result.family = &currentKeypadFamily();
        static_cast<KeypadContents &>(result) = result.family->read(link);
    }
    return result;
}
