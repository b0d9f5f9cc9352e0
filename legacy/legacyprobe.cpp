#include "legacy/legacyprobe.h"

#include "legacy/legacyreport.h"
#include "model/logging.h"

namespace {

// Probe request and answer layout (offsets in the report).
constexpr int kProbeRequestFill = 3;  // bytes 2 and 3 repeat the command
constexpr int kProbeKeyCount = 2;
constexpr int kProbeEncoderCount = 3;
constexpr int kProbeVersion = 4;
constexpr int kProbeShape = 5;
constexpr int kProbeMinAnswer = kProbeVersion + 1;

LegacyReport buildProbeRequest()
{
    LegacyReport report = legacyRequest(LegacyCmdProbe);
    for (int i = kLegacyOffData; i <= kProbeRequestFill; ++i)
        report[i] = LegacyCmdProbe;
    return report;
}

// Fills `info` from an answer of `received` bytes; false when it is too short
// to carry the version.
bool parseProbeAnswer(const LegacyReport &answer, int received, LegacyDeviceInfo &info)
{
    if (received < kProbeMinAnswer)
        return false;
    info.valid = 1;
    info.layerCount = kLegacyLayerCount;
    info.keyCount = answer[kProbeKeyCount];
    info.encoderCount = answer[kProbeEncoderCount];
    info.version = answer[kProbeVersion];
    if (info.version > kLegacyLastOldVersion) {
        info.format = LegacyFormatR20Wide;
        info.shape = received > kProbeShape ? answer[kProbeShape] : 0;
    } else {
        info.format = LegacyFormatOld;
        info.shape = 0;
    }
    return true;
}

bool finish(LegacyProbeOutcome *outcome, LegacyProbeOutcome value)
{
    if (outcome)
        *outcome = value;
    return value == LegacyProbeOutcome::Answered;
}

} // namespace

bool legacyProbe(hid_device *device, LegacyDeviceInfo &info, LegacyProbeOutcome *outcome)
{
    info = LegacyDeviceInfo();
    if (!device)
        return finish(outcome, LegacyProbeOutcome::NoDevice);

    // A late reply to an earlier request must not pass for the probe's
    // answer; one of the current protocol also tells what the keypad is.
    if (legacyFlushInput(device))
        return finish(outcome, LegacyProbeOutcome::CurrentKeypad);

    if (!legacySendReport(device, buildProbeRequest())) {
        qCWarning(lcLegacy).noquote() << "Legacy probe: request failed";
        return finish(outcome, LegacyProbeOutcome::RequestFailed);
    }

    LegacyReport answer{};
    const int received = legacyReceiveAny(device, answer);
    if (received <= 0) {
        qCWarning(lcLegacy).noquote() << "Legacy probe: no response";
        return finish(outcome, LegacyProbeOutcome::NoResponse);
    }
    if (isCurrentProtocolReply(answer.data(), received))
        return finish(outcome, LegacyProbeOutcome::CurrentKeypad);
    LegacyDeviceInfo parsed;
    if (!parseProbeAnswer(answer, received, parsed)) {
        qCWarning(lcLegacy).noquote() << "Legacy probe: short answer bytes=" << received;
        return finish(outcome, LegacyProbeOutcome::NoResponse);
    }
    info = parsed;

    qCDebug(lcLegacy).noquote() << "Legacy probe:" << "K=" << int(info.keyCount)
                                << "E=" << int(info.encoderCount) << "Ver=" << int(info.version)
                                << "Shape=" << int(info.shape)
                                << "Fmt=" << legacyFamilyName(info.format);
    return finish(outcome, LegacyProbeOutcome::Answered);
}
