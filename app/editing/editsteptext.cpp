#include "app/editing/editsteptext.h"

#include "model/keytexts.h"
#include "model/translation.h"

namespace {

// The phrases by part, in the order of ControlPart.
constexpr const char *kControlPhrases[] = {
    "key %1",
    "knob %1 turn left",
    "knob %1 turn right",
    "knob %1 press",
    "knob %1 press and turn right",
    "knob %1 press and turn left",
};

QString controlOfChange(const KeyChange &change, const ControlOfKey &controlOf)
{
    ControlIdentity control = controlOf ? controlOf(change.key) : ControlIdentity{};
    // A key the picture does not show is named by its slot.
    if (control.number <= 0)
        control = {ControlPart::Key, change.key + 1};
    return controlPhrase(control);
}

// The one key a step changed; null when it changed several or none.
const KeyChange *singleKey(const StoreChanges &changes)
{
    return changes.keys.size() == 1 && changes.lighting.isEmpty() ? &changes.keys.first()
                                                                  : nullptr;
}

QString layerNumber(const StoreChanges &changes)
{
    return QString::number(changes.layer() + 1);
}

} // namespace

QString controlPhrase(const ControlIdentity &control)
{
    return translateText(kControlPhrases[int(control.part)]).arg(control.number);
}

QString stepText(EditKind kind, const StoreChanges &changes, const ControlOfKey &controlOf)
{
    const KeyChange *key = singleKey(changes);
    const auto onKey = [&](const char *pattern) {
        return translateText(pattern).arg(controlOfChange(*key, controlOf));
    };
    switch (kind) {
    case EditKind::KeyFunction:
        if (key && !key->after.isEmpty())
            return translateText("%1 on %2")
                .arg(translateText(controlTextOf(key->after)), controlOfChange(*key, controlOf));
        break;
    case EditKind::Clear:
        if (key)
            return onKey("Clear %1");
        break;
    case EditKind::ClearAll:
        return translateText("Clear layer %1").arg(layerNumber(changes));
    case EditKind::MacroRecording:
        if (key)
            return onKey("Macro on %1");
        break;
    case EditKind::Delay:
        if (key)
            return onKey("Delay on %1");
        break;
    case EditKind::Lighting:
        return translateText("Lighting of layer %1").arg(layerNumber(changes));
    case EditKind::Paste:
        if (key)
            return onKey("Paste on %1");
        break;
    case EditKind::Swap:
        if (changes.keys.size() == 2)
            return translateText("Swap %1 and %2")
                .arg(controlOfChange(changes.keys[0], controlOf),
                     controlOfChange(changes.keys[1], controlOf));
        break;
    case EditKind::LayerCopy:
        return translateText("Copy to layer %1").arg(layerNumber(changes));
    case EditKind::Import:
        break;
    }
    return translateText(editKindName(kind));
}

QString undoActionText(const QString &step)
{
    return step.isEmpty() ? translateText("Undo") : translateText("Undo: %1").arg(step);
}

QString redoActionText(const QString &step)
{
    return step.isEmpty() ? translateText("Redo") : translateText("Redo: %1").arg(step);
}

QString recordedFeedback(EditKind kind, const StoreChanges &changes,
                         const ControlOfKey &controlOf, const QString &undoKeys)
{
    switch (kind) {
    case EditKind::ClearAll:
        return translateText("Cleared layer %1 \u2014 %2 undoes it")
            .arg(layerNumber(changes), undoKeys);
    case EditKind::Paste:
        if (const KeyChange *key = singleKey(changes))
            return translateText("Pasted on %1").arg(controlOfChange(*key, controlOf));
        return QString();
    case EditKind::Swap:
        if (changes.keys.size() == 2)
            return translateText("Swapped %1 and %2")
                .arg(controlOfChange(changes.keys[0], controlOf),
                     controlOfChange(changes.keys[1], controlOf));
        return QString();
    default:
        return QString();
    }
}

QString undoneFeedback(const QString &step)
{
    return translateText("Undone: %1").arg(step);
}

QString redoneFeedback(const QString &step)
{
    return translateText("Redone: %1").arg(step);
}
