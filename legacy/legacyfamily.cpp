#include "legacy/legacyfamily.h"

#include "legacy/legacydescription.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacysession.h"
#include "legacy/legacytables.h"

LegacyFamily::LegacyFamily(int format, const KeypadCapabilities &capabilities)
    : m_format(format)
    , m_capabilities(capabilities)
{
}

const char *LegacyFamily::name() const
{
    return legacyFamilyName(m_format);
}

bool LegacyFamily::claims(const KeypadDescription &description) const
{
    return description.probe.valid && description.probe.format == m_format;
}

KeypadContents LegacyFamily::read(HIDManager &link) const
{
    const LegacyConnectResult legacy = legacyConnectRead(link);
    KeypadContents contents;
    if (!legacy.legacyOk)
        return contents;
    contents.readComplete = legacy.readComplete;
    contents.layers = legacy.layers;
    contents.lighting = legacy.lighting;
    return contents;
}

SaveResult LegacyFamily::save(HIDManager &link, const KeypadDescription &description,
                              const SaveSnapshot &snapshot) const
{
    return legacySaveSession(link, legacyDeviceInfoOf(description), snapshot);
}

QVector<int> LegacyFamily::unwritableSlots(const KeypadDescription &) const
{
    return legacyUnwritableSlots(m_format);
}

QByteArray LegacyFamily::descriptionBytes(const KeypadDescription &description) const
{
    const LegacyDeviceInfo l = legacyDeviceInfoOf(description);
    return QByteArray::number(l.format) + ':' + QByteArray::number(l.keyCount) + ','
        + QByteArray::number(l.encoderCount) + ',' + QByteArray::number(l.layerCount) + ','
        + QByteArray::number(l.version) + ',' + QByteArray::number(l.shape);
}

KeypadCapabilities legacyCapabilities(LightingKind lighting, DelayPage delayPage)
{
    KeypadCapabilities capabilities;
    capabilities.layerCount = kLegacyLayerCount;
    // Their records keep presses with delays, set on the delay page; the
    // macro recorder's macros do not fit them.
    capabilities.maxMacroSteps = 0;
    capabilities.lighting = lighting;
    capabilities.delayPage = delayPage;
    capabilities.legacyKnobNumbering = true;
    capabilities.layersDescribed = false;
    capabilities.record.releaseDelay = kLegacyPlayedReleaseDelay;
    capabilities.record.lastMouseAction = kLegacyLastGesture;
    // Their controls stay enabled: the store refuses an unwritable slot
    // with a log line.
    capabilities.slotsDescribed = false;
    capabilities.layoutFromCounts = true;
    return capabilities;
}
