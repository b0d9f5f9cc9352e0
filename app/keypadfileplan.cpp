#include "app/keypadfileplan.h"

#include "app/edithistory.h"
#include "app/keypadroles.h"
#include "app/layercopy.h"
#include "model/translation.h"

#include <QTextDocumentFragment>
#include <QUndoStack>

namespace {

// A record's function as the window shows it.
QString shownFunction(const KeyConfig &record)
{
    if (record.isEmpty())
        return translateText(QStringLiteral("not assigned"));
    if (record.fullText.contains(QLatin1Char('<')))
        return QTextDocumentFragment::fromHtml(record.fullText).toPlainText().simplified();
    return translateText(record.fullText);
}

QString layerLine(int layer, const QString &line)
{
    return translateText(QStringLiteral("Layer %1, %2")).arg(layer + 1).arg(line);
}

bool sameLighting(const LedLayerConfig &a, const LedLayerConfig &b)
{
    return a.effect == b.effect && a.colors == b.colors;
}

// The file's controls by slot of this keypad; what has no place or does not
// fit is listed instead.
KeyLayer landedControls(const KeypadFileLayer &layer, const KeypadRoles &roles,
                        const KeyboardData &store, const DeviceState &state,
                        QStringList &notHeld)
{
    KeyLayer landed(kKeySlotCount);
    for (const KeypadFileControl &control : layer.controls) {
        const int slot = roles.slotOf(control.role);
        const QString shown = controlText(control.role, shownFunction(control.record));
        if (slot < 0 || !store.isWritableSlot(slot))
            notHeld << layerLine(layer.index,
                                 translateText(QStringLiteral("%1: this keypad has no such control"))
                                     .arg(shown));
        else if (!keypadHolds(state, control.record))
            notHeld << layerLine(layer.index,
                                 translateText(QStringLiteral("%1: this keypad cannot hold it"))
                                     .arg(shown));
        else
            landed[slot] = control.record;
    }
    return landed;
}

} // namespace

KeypadFile keypadFileOf(const KeyboardData &store, const DeviceState &state,
                        const KeypadFileSource &source)
{
    const KeypadRoles roles(state);
    KeypadFile file;
    file.source = source;
    for (int layer = 0; layer < roles.layerCount(); ++layer) {
        KeypadFileLayer fileLayer;
        fileLayer.index = layer;
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            const KeyConfig &record = store.layers()[layer][slot];
            const std::optional<ControlRole> role = roles.roleOf(slot);
            if (role && !record.isEmpty() && store.isWritableSlot(slot))
                fileLayer.controls.append({*role, record});
        }
        fileLayer.lighting = store.ledLayers()[layer];
        file.layers.append(fileLayer);
    }
    return file;
}

ImportPlan planImport(const KeypadFile &file, const KeyboardData &store, const DeviceState &state)
{
    const KeypadRoles roles(state);
    ImportPlan plan;
    for (const KeypadFileLayer &fileLayer : file.layers) {
        if (fileLayer.index >= roles.layerCount()) {
            plan.notHeld << translateText(QStringLiteral("Layer %1: this keypad has no such layer"))
                                .arg(fileLayer.index + 1);
            continue;
        }
        LayerImport layer;
        layer.layer = fileLayer.index;
        layer.records = store.layers()[fileLayer.index];
        const KeyLayer landed = landedControls(fileLayer, roles, store, state, plan.notHeld);
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            const std::optional<ControlRole> role = roles.roleOf(slot);
            if (!role || !store.isWritableSlot(slot))
                continue;
            const KeyConfig &before = layer.records[slot];
            if (!before.sameAssignment(landed[slot]))
                layer.changes << controlText(*role, shownFunction(before) + QStringLiteral(" \u2192 ")
                                                        + shownFunction(landed[slot]));
            layer.records[slot] = landed[slot];
        }
        if (fileLayer.lighting) {
            layer.hasLighting = true;
            layer.lighting = *fileLayer.lighting;
            layer.lightingChanges =
                !sameLighting(layer.lighting, store.ledLayers()[fileLayer.index]);
        }
        plan.layers.append(layer);
    }
    return plan;
}

bool applyImport(const ImportPlan &plan, const ImportChoice &choice, KeyboardData &store,
                 EditHistory &history)
{
    const int stepsBefore = history.stack()->count();
    history.perform(EditKind::Import, [&] {
        for (int i = 0; i < plan.layers.size(); ++i) {
            if (!choice.layers.value(i))
                continue;
            const LayerImport &layer = plan.layers[i];
            for (int slot = 0; slot < kKeySlotCount; ++slot) {
                if (!store.isWritableSlot(slot))
                    continue;
                const KeyConfig &current = store.layers()[layer.layer][slot];
                KeyConfig record = layer.records[slot];
                record.dirty = current.sameAssignment(record) ? current.dirty : 1;
                store.replaceKey(layer.layer, slot, record);
            }
            if (choice.lighting && layer.hasLighting)
                store.replaceLedLayer(layer.layer, copiedLighting(store.ledLayers()[layer.layer],
                                                                  layer.lighting));
        }
    });
    return history.stack()->count() > stepsBefore;
}
