#include "legacy/legacyreport.h"

#include "device/packet.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kReceiveAttempts = 20;
constexpr int kReceiveTimeoutMs = 50;
// A keypad cannot have queued more than a few layers of answers; the bound
// only keeps a babbling device from holding the flush forever.
constexpr int kMaxFlushedReports = 256;

constexpr uint8_t kCurrentAckCommands[] = {CmdAck, CmdNak};
constexpr uint8_t kCurrentDataCommands[] = {CmdKeyData, CmdMacroChunk, CmdReadLighting,
                                            CmdDeviceInfo};

bool contains(const uint8_t *first, const uint8_t *last, uint8_t value)
{
    return std::find(first, last, value) != last;
}

} // namespace

LegacyReport legacyRequest(uint8_t command)
{
    LegacyReport report{};
    report[kLegacyOffReportId] = kLegacyReportId;
    report[kLegacyOffCommand] = command;
    return report;
}

bool legacySendReport(hid_device *device, const LegacyReport &report)
{
    if (!device)
        return false;
    hid_set_nonblocking(device, 0);
    const int written = hid_write(device, report.data(), report.size());
    hid_set_nonblocking(device, 1);
    return written == kLegacyReportSize;
}

int legacyReadReport(hid_device *device, LegacyReport &buffer, int timeoutMs)
{
    buffer.fill(0);
    if (!device)
        return -1;
    hid_set_nonblocking(device, 1);
    const int received = hid_read_timeout(device, buffer.data(), buffer.size(), timeoutMs);
    return received < 0 ? -1 : std::min(received, kLegacyReportSize);
}

int legacyReceiveAny(hid_device *device, LegacyReport &buffer)
{
    for (int attempt = 0; attempt < kReceiveAttempts; ++attempt) {
        const int received = legacyReadReport(device, buffer, kReceiveTimeoutMs);
        if (received > 0)
            return received;
        if (received < 0)
            return 0; // the device is gone; further reads cannot succeed
    }
    return 0;
}

bool legacyFlushInput(hid_device *device)
{
    bool currentReplySeen = false;
    LegacyReport buffer;
    for (int i = 0; i < kMaxFlushedReports; ++i) {
        const int received = legacyReadReport(device, buffer, 0);
        if (received <= 0)
            break;
        currentReplySeen = currentReplySeen || isCurrentProtocolReply(buffer.data(), received);
    }
    return currentReplySeen;
}

bool isCurrentProtocolReply(const uint8_t *report, int received)
{
    if (!report || received <= kAckCommand)
        return false;
    const uint8_t command = report[kAckCommand];
    if (contains(std::begin(kCurrentAckCommands), std::end(kCurrentAckCommands), command)
        && shortChecksumValid(report, received))
        return true;
    return contains(std::begin(kCurrentDataCommands), std::end(kCurrentDataCommands), command)
        && longChecksumValid(report, received);
}
