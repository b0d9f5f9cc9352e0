#include "ctl/ctlreport.h"

#include "keypad/accessiblecontrolname.h"
#include "keypad/keypadroles.h"
#include "model/keypadfile.h"
#include "model/keytexts.h"
#include "model/translation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString hexId(uint16_t id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

QString familyOf(const ConnectedKeypad &keypad)
{
    return QString::fromLatin1(keypad.state.connectedFamily().name());
}

// Why an entry of `list` cannot be used, as scripts test it.
QString stateName(CtlExit exit)
{
    switch (exit) {
    case CtlExit::Ok: return QStringLiteral("ok");
    case CtlExit::NoPermission: return QStringLiteral("no-permission");
    case CtlExit::Busy: return QStringLiteral("busy");
    default: return QStringLiteral("no-answer");
    }
}

QVector<int> shownLayers(const CtlShown &shown)
{
    if (!shown.layers.isEmpty())
        return shown.layers;
    QVector<int> all;
    for (int layer = 0; layer < keptLayerCount(shown.keypad.state); ++layer)
        all.append(layer);
    return all;
}

QString colorsText(const LedLayerConfig &lighting)
{
    QStringList colors;
    for (const RgbColor &color : lighting.colors)
        colors << QStringLiteral("#%1%2%3")
                      .arg(color.r, 2, 16, QLatin1Char('0'))
                      .arg(color.g, 2, 16, QLatin1Char('0'))
                      .arg(color.b, 2, 16, QLatin1Char('0'));
    return colors.join(QLatin1Char(' '));
}

} // namespace

QString listText(const QVector<CtlListed> &listed)
{
    QString out;
    for (const CtlListed &entry : listed) {
        out += QStringLiteral("%1  %2  %3:%4  %5")
                   .arg(entry.index)
                   .arg(entry.node.path, hexId(entry.node.vendorId), hexId(entry.node.productId),
                        entry.node.product);
        if (entry.keypad)
            out += QStringLiteral("  %1  %2  ")
                       .arg(familyOf(*entry.keypad), entry.keypad->layout.name)
                + translateText("%1 layers").arg(keptLayerCount(entry.keypad->state));
        if (!entry.reason.isEmpty())
            out += QStringLiteral("  ") + entry.reason;
        out += QLatin1Char('\n');
    }
    return out;
}

QString listJson(const QVector<CtlListed> &listed)
{
    QJsonArray keypads;
    for (const CtlListed &entry : listed) {
        QJsonObject object{{QStringLiteral("index"), entry.index},
                           {QStringLiteral("path"), entry.node.path},
                           {QStringLiteral("vendorId"), hexId(entry.node.vendorId)},
                           {QStringLiteral("productId"), hexId(entry.node.productId)},
                           {QStringLiteral("product"), entry.node.product},
                           {QStringLiteral("state"), stateName(entry.exit)},
                           {QStringLiteral("exitCode"), exitCode(entry.exit)}};
        if (entry.keypad) {
            object.insert(QStringLiteral("family"), familyOf(*entry.keypad));
            object.insert(QStringLiteral("model"), entry.keypad->layout.name);
            object.insert(QStringLiteral("layers"), keptLayerCount(entry.keypad->state));
        }
        if (!entry.reason.isEmpty())
            object.insert(QStringLiteral("reason"), entry.reason);
        keypads.append(object);
    }
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("keypads"), keypads}}).toJson());
}

QString showText(const CtlShown &shown)
{
    QString out;
    const bool lighting = shown.keypad.state.capabilities().lightingReadBack;
    for (int layer : shownLayers(shown)) {
        out += translateText("Layer %1").arg(layer + 1) + QLatin1Char('\n');
        for (const MappedControl &control : shown.keypad.controls.shown()) {
            const KeyConfig record = shown.store.layers().value(layer).value(control.slot);
            out += QStringLiteral("  ") + accessibleControlName(control.identity, fullTextOf(record))
                + QLatin1Char('\n');
        }
        if (lighting) {
            const LedLayerConfig &led = shown.store.ledLayers()[layer];
            out += QStringLiteral("  ")
                + translateText("Lighting: effect %1, colours %2")
                      .arg(led.effect)
                      .arg(colorsText(led))
                + QLatin1Char('\n');
        }
    }
    return out;
}

QString showJson(const CtlShown &shown, const HIDManager::KeypadNode &node)
{
    KeypadFileSource source;
    source.family = familyOf(shown.keypad);
    source.description =
        shown.keypad.state.connectedFamily().descriptionBytes(shown.keypad.state.description());
    source.vendorId = node.vendorId;
    source.productId = node.productId;
    KeypadFile file = keypadFileOf(shown.store, shown.keypad.state, shown.keypad.controls, source);
    const QVector<int> layers = shownLayers(shown);
    file.layers.erase(std::remove_if(file.layers.begin(), file.layers.end(),
                                     [&layers](const KeypadFileLayer &layer) {
                                         return !layers.contains(layer.index);
                                     }),
                      file.layers.end());
    return QString::fromUtf8(writeKeypadFile(file));
}

KeypadFileSource sourceOf(const CtlKeypad &keypad)
{
    KeypadFileSource source;
    source.family = familyOf(keypad.keypad);
    source.description =
        keypad.keypad.state.connectedFamily().descriptionBytes(keypad.keypad.state.description());
    source.vendorId = keypad.node.vendorId;
    source.productId = keypad.node.productId;
    source.programVersion = QStringLiteral(ZENTRIK_VERSION);
    source.created = QDateTime::currentDateTimeUtc();
    return source;
}

bool CtlPlan::differs() const
{
    for (const LayerImport &layer : import.layers)
        if (!layer.changes.isEmpty() || (lighting && layer.lightingChanges))
            return true;
    return false;
}

CtlExit CtlPlan::exitWhenHeld() const
{
    return import.notHeld.isEmpty() ? CtlExit::Ok : CtlExit::NotHeld;
}

CtlPlan planOf(const CtlKeypad &keypad, const KeypadFile &file, const QVector<int> &layers,
               bool lighting)
{
    KeypadFile asked = file;
    if (!layers.isEmpty())
        asked.layers.erase(std::remove_if(asked.layers.begin(), asked.layers.end(),
                                          [&layers](const KeypadFileLayer &layer) {
                                              return !layers.contains(layer.index);
                                          }),
                           asked.layers.end());
    CtlPlan plan;
    plan.import = planImport(asked, keypad.store, keypad.keypad.state, keypad.keypad.controls);
    plan.lighting = lighting;
    plan.choice.layers.fill(true, plan.import.layers.size());
    plan.choice.lighting = lighting;
    return plan;
}

QString differencesText(const CtlPlan &plan)
{
    QString out;
    for (const LayerImport &layer : plan.import.layers) {
        for (const QString &change : layer.changes)
            out +=
                translateText("Layer %1, %2").arg(layer.layer + 1).arg(change) + QLatin1Char('\n');
        if (plan.lighting && layer.lightingChanges)
            out += translateText("Layer %1, lighting: effect %2, colours %3")
                       .arg(layer.layer + 1)
                       .arg(layer.lighting.effect)
                       .arg(colorsText(layer.lighting))
                + QLatin1Char('\n');
    }
    for (const QString &line : plan.import.notHeld)
        out += translateText("Not held: %1").arg(line) + QLatin1Char('\n');
    return out;
}
