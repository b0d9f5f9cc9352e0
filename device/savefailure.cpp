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
    case SaveFailure::NotKept:
        return QStringLiteral("Save failed: the keypad did not keep %1");
    }
    return QString();
}

namespace {

// "2 keys", "1 lighting record", in the window's language.
QString countedText(int count, const char *one, const char *many, bool useChinese)
{
    return count == 1 ? translateText(QString::fromLatin1(one), useChinese)
                      : translateText(QString::fromLatin1(many), useChinese).arg(count);
}

// What the keypad did not keep: "2 keys and 1 lighting record".
QString notKeptText(const SaveResult &result, bool useChinese)
{
    const QString keys = countedText(result.notKeptKeys, "1 key", "%1 keys", useChinese);
    const QString lighting = countedText(result.notKeptLighting, "1 lighting record",
                                         "%1 lighting records", useChinese);
    if (result.notKeptLighting == 0)
        return keys;
    if (result.notKeptKeys == 0)
        return lighting;
    return translateText(QStringLiteral("%1 and %2"), useChinese).arg(keys, lighting);
}

} // namespace

QString saveStatusText(const SaveResult &result, bool useChinese)
{
    const SaveFailure failure = saveFailureOf(result);
    const QString text = saveFailureText(failure);
    if (text.isEmpty())
        return text;
    if (failure == SaveFailure::NotKept)
        return translateText(text, useChinese).arg(notKeptText(result, useChinese));
    return translateText(text, useChinese);
}
