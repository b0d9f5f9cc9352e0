#include "keypad/keypadroles.h"

#include "keypad/accessiblecontrolname.h"
#include "model/keytexts.h"
#include "model/translation.h"

#include <iterator>

namespace {

// The window's parts and the file's, in the order of ControlPart.
constexpr RolePart kRoleParts[] = {RolePart::Key,       RolePart::KnobTurnLeft,
                                   RolePart::KnobTurnRight, RolePart::KnobPress,
                                   RolePart::KnobPressTurnRight, RolePart::KnobPressTurnLeft};

} // namespace

ControlRole roleOf(const ControlIdentity &control)
{
    return ControlRole{kRoleParts[int(control.part)], control.number};
}

std::optional<ControlIdentity> identityOf(const ControlRole &role)
{
    for (int part = 0; part < int(std::size(kRoleParts)); ++part)
        if (kRoleParts[part] == role.part)
            return ControlIdentity{ControlPart(part), role.number};
    return std::nullopt;
}

int keptLayerCount(const DeviceState &state)
{
    const KeypadCapabilities &capabilities = state.capabilities();
    if (capabilities.layersDescribed && state.info.valid && state.info.layerCount > 0)
        return qMin<int>(state.info.layerCount, capabilities.layerCount);
    return capabilities.layerCount;
}

QString controlText(const ControlRole &role, const QString &function)
{
    if (role.part == RolePart::Extra) {
        const QString plain = plainFunctionLine(function);
        return translateText(QStringLiteral("Extra %1: %2"))
            .arg(QString::number(role.number),
                 plain.isEmpty() ? translateText(QStringLiteral("not assigned")) : plain);
    }
    return accessibleControlName(*identityOf(role), function);
}
