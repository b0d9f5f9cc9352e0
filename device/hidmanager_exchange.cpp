#include "device/hidmanager.h"

#include "device/packet.h"
#include "model/logging.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int kPollMs = 2;
constexpr int kAckDeadlineMs = 499;  // the wait ends once more than this has passed
constexpr int kMaxFlushReports = 33;
constexpr int kMaxFlushCount = 32;
constexpr int kWriteAttempts = 3;
constexpr int kRetryPauseMs = 50;

QString lastError(hid_device *device)
{
    const wchar_t *text = device ? hid_error(device) : nullptr;
    return text ? QString::fromWCharArray(text) : QStringLiteral("null");
}

} // namespace

int HIDManager::pollReport(hid_device *device, uint8_t *report)
{
    // Waiting in the read instead of sleeping lets a reply that arrives
    // within the poll interval be taken at once.
    return hid_read_timeout(device, report, kReportSize, kPollMs);
}

bool HIDManager::sendPacket(const uint8_t *data, int len)
{
    hid_device *device = handle.load();
    if (!device)
        return false;
    const Report report = buildOutputReport(data, len);
    hid_set_nonblocking(device, 0);
    const int result = hid_write(device, report.data(), report.size());
    hid_set_nonblocking(device, 1);
    if (result == kReportSize)
        return true;
    qCWarning(lcDevice).noquote() << "HIDManager: sendPacket failed ret=" << result
                                << "err=" << lastError(device);
    return false;
}

void HIDManager::flushInput()
{
    hid_device *device = handle.load();
    if (!device)
        return;
    hid_set_nonblocking(device, 1);
    int count = 0;
    Report report{};
    while (count < kMaxFlushReports && hid_read(device, report.data(), report.size()) > 0)
        ++count;
    if (count > 0)
        qCDebug(lcDevice).noquote() << "HIDManager: flushed" << std::min(count, kMaxFlushCount)
                                    << "stale packets";
}

HIDManager::AckWait HIDManager::awaitAck(uint8_t layer, uint8_t key, uint8_t packetIndex,
                                         uint8_t *statusOut)
{
    hid_device *device = handle.load();
    if (!device)
        return AckWait::Lost;
    hid_set_nonblocking(device, 1);
    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(kAckDeadlineMs)) {
        Report report{};
        const int received = pollReport(device, report.data());
        if (received == 0)
            continue;
        if (received < 0) {
            qCWarning(lcDevice).noquote() << "HIDManager: waitAck hid_read error";
            closeDevice();
            return AckWait::Lost;
        }
        if (report[0] != kReportId)
            continue;
        const QString skipLine = QStringLiteral("HIDManager: waitAck skip cmd=0x");
        if (received < kShortReplyMin) {
            qCDebug(lcDevice).noquote() << skipLine << QString::number(report[kAckCommand], 16);
            continue;
        }
        const std::optional<ShortReply> reply = parseShortReply(report.data(), received);
        if (!reply) {
            qCWarning(lcDevice).noquote() << "HIDManager: waitAck checksum err";
            continue;
        }
        if (reply->command == CmdAck) {
            if (reply->layer == layer && reply->key == key && reply->packetIndex == packetIndex) {
                if (statusOut)
                    *statusOut = reply->status;
                return reply->status == 0 ? AckWait::Acknowledged : AckWait::Refused;
            }
            qCDebug(lcDevice).noquote()
                << "HIDManager: waitAck wrong ACK" << "layer=" << int(reply->layer) << "key="
                << int(reply->key) << "pkt=" << int(reply->packetIndex);
            continue;
        }
        if (reply->command == CmdNak) {
            // A refusal ends the wait whatever request it echoes.
            qCWarning(lcDevice).noquote() << "HIDManager: waitAck NAK status=" << int(reply->status);
            if (statusOut)
                *statusOut = reply->status;
            return AckWait::Refused;
        }
        qCDebug(lcDevice).noquote() << skipLine << QString::number(reply->command, 16);
    }
    qCWarning(lcDevice).noquote() << "HIDManager: waitAck timeout layer=" << int(layer)
                                << "key=" << int(key) << "pkt=" << int(packetIndex);
    return AckWait::TimedOut;
}

HIDManager::WriteOutcome HIDManager::sendWithRetry(const uint8_t *packet, uint8_t layer,
                                                  uint8_t key, uint8_t packetIndex,
                                                  bool useStatus, bool (*isFinalStatus)(uint8_t),
                                                  SaveFailure *why)
{
    SaveFailure failure = SaveFailure::NoAnswer;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (attempt > 0) {
            QThread::msleep(kRetryPauseMs);
            flushInput();
        }
        if (!sendPacket(packet, kPacketSize)) {
            failure = handle.load() ? SaveFailure::NotSent : SaveFailure::Unplugged;
            continue;
        }
        uint8_t status = 0;
        const AckWait wait = awaitAck(layer, key, packetIndex, useStatus ? &status : nullptr);
        if (wait == AckWait::Acknowledged)
            return WriteOutcome::Acknowledged;
        failure = wait == AckWait::Refused ? SaveFailure::Refused
                : wait == AckWait::Lost    ? SaveFailure::Unplugged
                                           : SaveFailure::NoAnswer;
        if (useStatus && isFinalStatus && isFinalStatus(status) && wait == AckWait::Refused) {
            if (why)
                *why = failure;
            return WriteOutcome::Refused;
        }
    }
    if (why)
        *why = failure;
    return WriteOutcome::Failed;
}
