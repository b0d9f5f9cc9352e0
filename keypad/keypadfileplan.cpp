#include "keypad/keypadfileplan.h"

#include "keypad/keypadroles.h"
#include "model/keytexts.h"
#include "model/translation.h"

namespace {

// A record's function as the window shows it.
QString shownFunction(const KeyConfig &record)
{
    if (record.isEmpty())
        return translateText(QStringLiteral("not assigned"));
    const QString text = fullTextOf(record);
    if (text.contains(QLatin1Char('<')))
        return plainFunctionLine(text);
    return translateText(text);
}

QString layerLine(int layer, const QString &line)
{
    return translateText(QStringLiteral("Layer %1, %2")).arg(layer + 1).arg(line);
}

// The file's controls by slot of this keypad; what has no place or does not
// fit is listed instead. A fixed control of the file leaves its slot as it is.
KeyLayer landedControls(const KeypadFileLayer &layer, const ControlMap &controls,
                        const KeyboardData &store, QVector<bool> &untouched, QStringList &notHeld)
{
    KeyLayer landed(kKeySlotCount);
    untouched.fill(false, kKeySlotCount);
    for (const KeypadFileControl &control : layer.controls) {
        const std::optional<ControlIdentity> identity = identityOf(control.role);
        const MappedControl *mapped = identity ? controls.controlOf(*identity) : nullptr;
        const int slot = mapped ? mapped->slot : -1;
        if (control.fixed) {
            if (slot >= 0 && slot < kKeySlotCount)
                untouched[slot] = true;
            continue;
        }
        const QString shown = controlText(control.role, shownFunction(control.record));
        if (slot < 0 || slot >= kKeySlotCount || !store.isWritableSlot(slot))
            notHeld << layerLine(layer.index,
                                 translateText(QStringLiteral("%1: this keypad has no such control"))
                                     .arg(shown));
        else if (!controls.accepts(slot, control.record))
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
                        const ControlMap &controls, const KeypadFileSource &source)
{
    // What the keypad cannot report is not made up: without a lighting read
    // the window holds only the program's default.
    const bool lighting = state.capabilities().lightingReadBack;
    KeypadFile file;
    file.source = source;
    for (int layer = 0; layer < keptLayerCount(state); ++layer) {
        KeypadFileLayer fileLayer;
        fileLayer.index = layer;
        for (const MappedControl &control : controls.shown()) {
            if (control.slot < 0 || control.slot >= kKeySlotCount)
                continue;
            const KeyConfig &record = store.layers()[layer][control.slot];
            const bool fixed = !store.isWritableSlot(control.slot);
            if (fixed || !record.isEmpty())
                fileLayer.controls.append({roleOf(control.identity), record, fixed});
        }
        if (lighting)
            fileLayer.lighting = store.ledLayers()[layer];
        file.layers.append(fileLayer);
    }
    return file;
}

ImportPlan planImport(const KeypadFile &file, const KeyboardData &store, const DeviceState &state,
                      const ControlMap &controls)
{
    const int layerCount = keptLayerCount(state);
    const int maxEffect = state.capabilities().maxEffect;
    ImportPlan plan;
    for (const KeypadFileLayer &fileLayer : file.layers) {
        if (fileLayer.index >= layerCount) {
            plan.notHeld << translateText(QStringLiteral("Layer %1: this keypad has no such layer"))
                                .arg(fileLayer.index + 1);
            continue;
        }
        LayerImport layer;
        layer.layer = fileLayer.index;
        layer.records = store.layers()[fileLayer.index];
        QVector<bool> untouched;
        const KeyLayer landed =
            landedControls(fileLayer, controls, store, untouched, plan.notHeld);
        for (const MappedControl &control : controls.shown()) {
            const int slot = control.slot;
            if (slot < 0 || slot >= kKeySlotCount || !store.isWritableSlot(slot) || untouched[slot])
                continue;
            const KeyConfig &before = layer.records[slot];
            if (!before.sameAssignment(landed[slot]))
                layer.changes << controlText(roleOf(control.identity),
                                             shownFunction(before) + QStringLiteral(" \u2192 ")
                                                 + shownFunction(landed[slot]));
            layer.records[slot] = landed[slot];
        }
        if (fileLayer.lighting && fileLayer.lighting->effect > maxEffect) {
            // Saved as it is, the keypad would show another effect.
            plan.notHeld << layerLine(
                fileLayer.index,
                translateText(QStringLiteral("lighting effect %1: this keypad cannot show it"))
                    .arg(fileLayer.lighting->effect));
        } else if (fileLayer.lighting) {
            layer.hasLighting = true;
            layer.lighting = *fileLayer.lighting;
            layer.lightingChanges =
                !layer.lighting.sameLighting(store.ledLayers()[fileLayer.index]);
        }
        plan.layers.append(layer);
    }
    return plan;
}

void layImport(const ImportPlan &plan, const ImportChoice &choice, KeyboardData &store)
{
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
            store.replaceLedLayer(layer.layer,
                                  copiedLighting(store.ledLayers()[layer.layer], layer.lighting));
    }
}
