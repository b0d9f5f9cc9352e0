#include "device/savefailure.h"

#include "model/translation.h"

void noteSaveFailure(SaveResult &result, SaveFailure failure)
{
    if (failure == SaveFailure::None)
        return;
    if (result.failure == SaveFailure::None || failure == SaveFailure::Unplugged)
        result.failure = failure;
}

SaveFailure saveFailureOf(const SaveResult &result)
{
    if (!result.started)
        return SaveFailure::Unplugged;
    if (result.ok)
        return SaveFailure::None;
    return result.failure == SaveFailure::None ? SaveFailure::NoAnswer : result.failure;
}

QString saveFailureText(SaveFailure failure)
{
    switch (failure) {
    case SaveFailure::None:
        break;
    case SaveFailure::Refused:
        return QStringLiteral("Save failed: the keypad refused the change");
    case SaveFailure::NoAnswer:
        return QStringLiteral("Save failed: the keypad did not answer");
    case SaveFailure::Unplugged:
        return QStringLiteral("Save failed: the keypad was unplugged");
    case SaveFailure::NotSent:
        return QStringLiteral("Save failed: the data did not reach the keypad");
    case SaveFailure::NotOnKeypad:
        return QStringLiteral("Save failed: this keypad has no such key");
    case SaveFailure::CannotEncode:
        return QStringLiteral("Save failed: a key is too long for the keypad");
    }
    return QString();
}

QString saveStatusText(const SaveResult &result, bool useChinese)
{
    const QString text = saveFailureText(saveFailureOf(result));
    return text.isEmpty() ? text : translateText(text, useChinese);
}
