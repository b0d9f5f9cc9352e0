#include "device/savefailure.h"

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
