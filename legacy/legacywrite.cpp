#include "legacy/legacywrite.h"

#include "device/hidmanager.h"
#include "legacy/legacyreadback.h"
#include "legacy/legacyrecord.h"
#include "legacy/legacyreport.h"
#include "legacy/legacytables.h"
#include "model/logging.h"

#include <QThread>

namespace {

constexpr int kKeyPauseMs = 20;
constexpr int kLightingPauseMs = 20;
constexpr int kCommitPauseMs = 200;

// Key write: wire key at 2, layer counted from 1 at 3, the record from 4.
constexpr int kWriteOffWireKey = 2;
constexpr int kWriteOffLayer = 3;

// Commit: the key write command with 0xFE, 0xFF in place of key and layer.
constexpr uint8_t kCommitKey = 0xFE;
constexpr uint8_t kCommitLayer = 0xFF;

// Lighting writes: 0xB0 at 2, then the layer (R20Wide from 0, Old from 1).
constexpr int kLightOffSelect = 2;
constexpr int kLightOffLayer = 3;
constexpr uint8_t kLightSelect = 0xB0;
constexpr int kR20LightOffEffect = 4;
constexpr int kR20LightOffColors = 5;
constexpr int kOldLightOffMode = 4;
constexpr uint8_t kOldLightMode = 0x08;
constexpr int kOldLightOffEnable = 10;
constexpr uint8_t kOldLightEnable = 0x01;
constexpr int kOldLightOffValue = 12;
static_assert(kR20LightOffColors + 3 * kLedCount <= kLegacyReportSize, "colours fit");

LegacyReport buildKeyWriteReport(int wireKey, int layer)
{
    LegacyReport report = legacyRequest(LegacyCmdWrite);
    report[kWriteOffWireKey] = uint8_t(wireKey);
    report[kWriteOffLayer] = uint8_t(layer + 1);
    return report;
}

LegacyReport buildCommitReport()
{
    LegacyReport report = legacyRequest(LegacyCmdWrite);
    report[kWriteOffWireKey] = kCommitKey;
    report[kWriteOffLayer] = kCommitLayer;
    return report;
}

LegacyReport buildLightingReport(int format, int layer, const LedLayerConfig &lighting)
{
    LegacyReport report = legacyRequest(LegacyCmdLighting);
    report[kLightOffSelect] = kLightSelect;
    if (format == LegacyFormatR20Wide) {
        report[kLightOffLayer] = uint8_t(layer);
        report[kR20LightOffEffect] = lighting.effect;
        for (int led = 0; led < kLedCount; ++led) {
            const int at = kR20LightOffColors + 3 * led;
            report[at] = lighting.colors[led].r;
            report[at + 1] = lighting.colors[led].g;
            report[at + 2] = lighting.colors[led].b;
        }
    } else {
        // One colour and the effect for the whole layer.
        report[kLightOffLayer] = uint8_t(layer + 1);
        report[kOldLightOffMode] = kOldLightMode;
        report[kOldLightOffEnable] = kOldLightEnable;
        report[kOldLightOffValue] = oldLightingValue(lighting);
    }
    return report;
}

int lightingLayerCount(const LegacyDeviceInfo &info)
{
    return info.layerCount <= 3 ? info.layerCount : kLayerCount;
}

int keyLayerCount(const LegacyDeviceInfo &info)
{
    return qMin(int(info.layerCount), kLayerCount);
}

} // namespace

namespace {

// The write of one key; None when the report went out. A slot without a wire
// key is logged and comes back NotOnKeypad.
SaveFailure writeLegacyKey(hid_device *device, const LegacyDeviceInfo &info, int layer, int slot,
                           const KeyConfig &key)
{
    if (!device || !info.valid || layer < 0 || layer >= info.layerCount || layer >= kLayerCount)
        return SaveFailure::NotSent;
    const int wireKey = legacyWireKey(info.format, slot);
    if (wireKey < 0) {
        qCDebug(lcLegacy).noquote() << "Legacy write skipped invalid key" << slot;
        return SaveFailure::NotOnKeypad;
    }

    const char *family = legacyFamilyName(info.format);
    LegacyReport report = buildKeyWriteReport(wireKey, layer);
    if (!legacyEncode(info.format, key, report)) {
        qCWarning(lcLegacy).noquote() << QStringLiteral("Legacy write encode failed %1 layer=").arg(family)
                                    << layer << "key=" << slot;
        return SaveFailure::CannotEncode;
    }
    if (!legacySendReport(device, report)) {
        qCWarning(lcLegacy).noquote() << QStringLiteral("Legacy write failed %1 layer=").arg(family)
                                    << layer << "key=" << slot << "name=" << wireKey;
        return SaveFailure::NotSent;
    }
    return SaveFailure::None;
}

} // namespace

bool legacyWriteKey(hid_device *device, const LegacyDeviceInfo &info, int layer, int slot,
                    const KeyConfig &key)
{
    const SaveFailure failure = writeLegacyKey(device, info, layer, slot, key);
    return failure == SaveFailure::None || failure == SaveFailure::NotOnKeypad;
}

bool legacyWriteLighting(hid_device *device, const LegacyDeviceInfo &info,
                         const QVector<SavedLighting> &changed, QVector<SavedLighting> &written)
{
    if (!device || !info.valid)
        return false;
    const int layers = lightingLayerCount(info);
    for (const SavedLighting &item : changed) {
        if (item.layer < 0 || item.layer >= layers || !item.record.isChanged())
            continue;
        if (!legacySendReport(device, buildLightingReport(info.format, item.layer, item.record))) {
            if (info.format == LegacyFormatR20Wide)
                qCWarning(lcLegacy).noquote() << "Legacy RGB write failed layer=" << item.layer;
            else
                qCWarning(lcLegacy).noquote() << "Legacy Old RGB write failed layer=" << item.layer;
            return false;
        }
        written.append(item);
        QThread::msleep(kLightingPauseMs);
    }
    return true;
}

SaveResult legacySave(hid_device *device, const LegacyDeviceInfo &info, const SaveSnapshot &snapshot)
{
    SaveResult result;
    if (!device || !info.valid)
        return result;
    result.started = true;

    const bool lightingChanged = !snapshot.lighting.isEmpty();
    QVector<SavedKey> writtenKeys;
    int writes = 0;
    for (const SavedKey &item : snapshot.keys) {
        if (item.layer < 0 || item.layer >= keyLayerCount(info))
            continue;
        const SaveFailure failure = writeLegacyKey(device, info, item.layer, item.key, item.record);
        if (failure == SaveFailure::NotOnKeypad) {
            // Nothing went out for it; the rest of the save goes on, and the
            // change stays marked instead of passing for saved.
            noteSaveFailure(result, failure);
            continue;
        }
        if (failure != SaveFailure::None) {
            qCWarning(lcLegacy).noquote() << "Legacy save failed layer=" << item.layer
                                        << "key=" << item.key;
            result.failure = failure;
            return result;
        }
        writtenKeys.append(item);
        ++writes;
        QThread::msleep(kKeyPauseMs);
    }

    QVector<SavedLighting> writtenLighting;
    if (!legacyWriteLighting(device, info, snapshot.lighting, writtenLighting)) {
        qCWarning(lcLegacy).noquote() << "Legacy RGB save failed";
        result.failure = SaveFailure::NotSent;
        return result;
    }

    if (writes > 0 || lightingChanged) {
        if (!legacySendReport(device, buildCommitReport())) {
            qCWarning(lcLegacy).noquote() << "Legacy save commit packet failed";
            result.failure = SaveFailure::NotSent;
            return result;
        }
        QThread::msleep(kCommitPauseMs);
    }

    qCDebug(lcLegacy).noquote() << "Legacy save done writes=" << writes
                                << "fmt=" << legacyFamilyName(info.format);
    result.ok = result.failure == SaveFailure::None;
    result.writtenKeys = writtenKeys;
    result.writtenLighting = writtenLighting;
    if (writes > 0 || lightingChanged)
        verifySavedItems(result, legacyReadBack(device, info));
    return result;
}
