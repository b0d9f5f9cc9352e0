#include "keypad/failuretexts.h"

#include "device/savefailure.h"
#include "model/translation.h"

namespace {

// English text of a failure (empty for None), one of the translation table's
// rows.
const char *saveFailureText(SaveFailure failure)
{
    switch (failure) {
    case SaveFailure::None:
        break;
    case SaveFailure::Refused:
        return "Save failed: the keypad refused the change";
    case SaveFailure::NoAnswer:
        return "Save failed: the keypad did not answer";
    case SaveFailure::Unplugged:
        return "Save failed: the keypad was unplugged";
    case SaveFailure::NotSent:
        return "Save failed: the data did not reach the keypad";
    case SaveFailure::NotOnKeypad:
        return "Save failed: this keypad has no such key";
    case SaveFailure::CannotEncode:
        return "Save failed: a key is too long for the keypad";
    case SaveFailure::NotKept:
        return "Save failed: the keypad did not keep %1";
    }
    return nullptr;
}

// What the keypad did not keep: "2 keys and 1 lighting record".
QString notKeptText(const SaveResult &result)
{
    const QString keys = translateCount(result.notKeptKeys, "1 key", "%1 keys");
    const QString lighting =
        translateCount(result.notKeptLighting, "1 lighting record", "%1 lighting records");
    if (result.notKeptLighting == 0)
        return keys;
    if (result.notKeptKeys == 0)
        return lighting;
    return translateText("%1 and %2").arg(keys, lighting);
}

} // namespace

QString saveStatusText(const SaveResult &result)
{
    const SaveFailure failure = saveFailureOf(result);
    const char *text = saveFailureText(failure);
    if (!text)
        return QString();
    if (failure == SaveFailure::NotKept)
        return translateText(text).arg(notKeptText(result));
    return translateText(text);
}

QString openFailureStatusText(const OpenFailure &failure)
{
    if (!failure.failed)
        return QString();
    if (failure.noPermission)
        return translateText("No access to the keypad: run cmake --install, replug");
    // The system words its own reason, in the system's language.
    QString reason = failure.error ? qt_error_string(failure.error) : failure.detail;
    if (reason.isEmpty())
        reason = QStringLiteral("unknown error");
    return translateText("The keypad cannot be opened: %1").arg(reason);
}
