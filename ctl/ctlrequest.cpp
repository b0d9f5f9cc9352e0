#include "ctl/ctlrequest.h"

#include "model/keylayers.h"

#include <QVariantList>

QVariantMap CtlRequest::toBus(const QByteArray &fileBytes) const
{
    QVariantList layerList;
    for (int layer : layers)
        layerList.append(layer);
    return {
        {QStringLiteral("command"), command},
        {QStringLiteral("history"), historyCommand},
        {QStringLiteral("entry"), entry},
        {QStringLiteral("json"), json},
        {QStringLiteral("dryRun"), dryRun},
        {QStringLiteral("noLighting"), noLighting},
        {QStringLiteral("layers"), layerList},
        {QStringLiteral("file"), fileBytes},
    };
}

CtlRequest CtlRequest::fromBus(const QVariantMap &map, QByteArray *fileBytes)
{
    // Another program on the bus may send anything: unknown commands are
    // refused by the window, layers outside the keypad's by the plan.
    CtlRequest request;
    request.command = map.value(QStringLiteral("command")).toString();
    request.historyCommand = map.value(QStringLiteral("history")).toString();
    request.entry = map.value(QStringLiteral("entry")).toInt();
    request.json = map.value(QStringLiteral("json")).toBool();
    request.dryRun = map.value(QStringLiteral("dryRun")).toBool();
    request.noLighting = map.value(QStringLiteral("noLighting")).toBool();
    for (const QVariant &layer : map.value(QStringLiteral("layers")).toList()) {
        const int index = layer.toInt();
        if (index >= 0 && index < kLayerCount && !request.layers.contains(index))
            request.layers.append(index);
    }
    if (fileBytes)
        *fileBytes = map.value(QStringLiteral("file")).toByteArray();
    return request;
}

QVariantMap CtlBusAnswer::toBus() const
{
    return {
        {QStringLiteral("exit"), exit},
        {QStringLiteral("out"), out},
        {QStringLiteral("err"), err},
        {QStringLiteral("written"), written},
    };
}

CtlBusAnswer CtlBusAnswer::fromBus(const QVariantMap &map)
{
    CtlBusAnswer answer;
    answer.exit = map.value(QStringLiteral("exit"), 1).toInt();
    answer.out = map.value(QStringLiteral("out")).toString();
    answer.err = map.value(QStringLiteral("err")).toString();
    answer.written = map.value(QStringLiteral("written")).toByteArray();
    return answer;
}
