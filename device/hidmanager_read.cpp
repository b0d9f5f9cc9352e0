#include "device/hidmanager.h"

#include "device/keydata.h"
#include "device/packet.h"
#include "model/logging.h"

#include <QElapsedTimer>
#include <QHash>
#include <QThread>
#include <atomic>
#include <cstdio>

namespace {

constexpr int kInfoDeadlineMs = 249;
constexpr int kLayerDeadlineMs = 4999;
constexpr int kLightingDeadlineMs = 1499;
constexpr int kLayerPauseMs = 20;
constexpr int kReadProgressTotal = 8;

QString lastError(hid_device *device)
{
    const wchar_t *text = device ? hid_error(device) : nullptr;
    return text ? QString::fromWCharArray(text) : QStringLiteral("null");
}

// The two request lines go to standard output, not to the debug stream,
// unless a program keeps its standard output for its own results.
std::atomic<bool> requestLinesPrinted{true};

void printInfoRequestLine()
{
    if (!requestLinesPrinted.load())
        return;
    std::printf("HIDManager: readDeviceInfo request id=0x%02X cmd=%d len=%u\n", kReportId,
                int(CmdDeviceInfo), unsigned(kPacketSize));
    std::fflush(stdout);
}

void printLightingRequestLine()
{
    if (!requestLinesPrinted.load())
        return;
    std::printf("HIDManager: sendReadLedLayer request id=0x%02X cmd=%d len=%u\n", kReportId,
                int(CmdReadLighting), unsigned(kPacketSize));
    std::fflush(stdout);
}

QString hexBytes(const uint8_t *bytes, int count)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(bytes), count).toHex(' '));
}

// The chunks of one macro collected during a layer read.
struct PendingMacro {
    int expected = 0;
    QVector<QByteArray> chunks;

    bool complete() const
    {
        for (int i = 0; i < expected; ++i)
            if (chunks[i].isEmpty())
                return false;
        return true;
    }
    QByteArray joined() const
    {
        QByteArray block;
        for (int i = 0; i < expected; ++i)
            block += chunks[i];
        return block;
    }
};

} // namespace

void HIDManager::setRequestLinesPrinted(bool printed)
{
    requestLinesPrinted.store(printed);
}

bool HIDManager::readDeviceInfo(DeviceInfo &info)
{
    info = DeviceInfo();
    if (!handle.load())
        return false;
    DeviceSession session(*this);
    flushInput();

    const Packet request = buildDeviceInfoRequest();
    printInfoRequestLine();
    if (!sendPacket(request.data(), kPacketSize))
        return false;
    qCDebug(lcDevice).noquote() << "HIDManager: readDeviceInfo request sent";

    hid_device *device = session.handle();
    hid_set_nonblocking(device, 1);
    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(kInfoDeadlineMs)) {
        Report report{};
        const int received = pollReport(device, report.data());
        qCDebug(lcDevice).noquote() << "HIDManager: readDeviceInfo poll ret=" << received;
        if (received == 0)
            continue;
        if (received < 0) {
            qCWarning(lcDevice).noquote() << "HIDManager: readDeviceInfo hid_read error";
            closeDevice();
            return false;
        }
        qCDebug(lcDevice).noquote() << "HIDManager: readDeviceInfo rx" << "ret=" << received
                                    << "bytes=" << hexBytes(report.data(), received);
        if (report[0] != kReportId)
            continue;
        if (const std::optional<DeviceInfo> reply = parseDeviceInfoReply(report.data(), received)) {
            info = *reply;
            {
                QMutexLocker locker(&stateLock);
                deviceInfoCopy = info;
            }
            qCDebug(lcDevice).noquote()
                << "HIDManager: device info" << "K=" << int(info.keyCount)
                << "E=" << int(info.encoderCount) << "D=" << int(info.extraKeyCount)
                << "L=" << int(info.layerCount) << "P=" << int(info.layoutP)
                << "S=" << int(info.layoutS) << "B=" << int(info.reservedB);
            return true;
        }
        // hidraw hands over the report at its full declared size, so a
        // refusal may come padded with zeros to 64 bytes.
        if (const std::optional<ShortReply> refusal = parseRefusal(report.data(), received)) {
            qCWarning(lcDevice).noquote() << "HIDManager: readDeviceInfo NAK status="
                                        << int(refusal->status);
            return false;
        }
    }
    qCWarning(lcDevice).noquote() << "HIDManager: readDeviceInfo timeout" << "err="
                                << lastError(device);
    return false;
}

bool HIDManager::readLayer(int layer, KeyLayer &keys)
{
    keys.clear();
    keys.resize(kKeySlotCount);

    const Packet request = buildReadLayerRequest(uint8_t(layer));
    if (!sendPacket(request.data(), kPacketSize)) {
        qCWarning(lcDevice).noquote() << "HIDManager: sendReadLayer send failed layer=" << layer;
        return false;
    }
    hid_device *device = handle.load();
    const int slotCount = keySlotCount();
    QHash<int, PendingMacro> pending;

    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(kLayerDeadlineMs)) {
        Report report{};
        const int received = pollReport(device, report.data());
        if (received == 0)
            continue;
        if (received < 0) {
            qCWarning(lcDevice).noquote() << "HIDManager: sendReadLayer hid_read error";
            closeDevice();
            return false;
        }
        if (report[0] != kReportId)
            continue;

        switch (report[kLongCommand]) {
        case CmdAck: {
            const std::optional<ShortReply> ack = parseShortReply(report.data(), received);
            if (ack && ack->layer == layer && ack->key == kLayerEndKey) {
                qCDebug(lcDevice).noquote() << "HIDManager: readLayer done layer=" << layer;
                return true;
            }
            break;
        }
        case CmdMacroChunk: {
            const std::optional<MacroChunkReply> chunk =
                parseMacroChunkReply(report.data(), received);
            if (!chunk || chunk->layer != layer || chunk->key >= slotCount)
                break;
            auto entry = pending.find(chunk->key);
            if (entry == pending.end()) {
                PendingMacro macro;
                macro.expected = chunk->count;
                macro.chunks.resize(chunk->count);
                entry = pending.insert(chunk->key, macro);
            }
            if (chunk->index < entry->expected)
                entry->chunks[chunk->index] = chunk->chunk;
            if (!entry->complete())
                break;
            const QByteArray block = entry->joined();
            pending.erase(entry);
            KeyConfig record;
            if (decodeKeyData(reinterpret_cast<const uint8_t *>(block.constData()), block.size(),
                              record)) {
                keys[chunk->key] = record;
                qCDebug(lcDevice).noquote() << "HIDManager: readLayer macro key="
                                            << int(chunk->key)
                                            << "steps=" << record.macroSteps.size();
            }
            break;
        }
        case CmdKeyData: {
            const std::optional<KeyDataReply> data = parseKeyDataReply(report.data(), received);
            if (!data || data->layer != layer || data->key >= slotCount)
                break;
            // The type's text is made only for a log line that is written:
            // a layer read takes dozens of these replies.
            const int type = uint8_t(data->block[kBlockType]);
            qCDebug(lcDevice).noquote() << "HIDManager: readLayer raw key=" << int(data->key)
                                        << "layer=" << layer << "type=0x"
                                        << QString::number(type, 16)
                                        << "len=" << data->block.size();
            KeyConfig record;
            if (decodeKeyData(reinterpret_cast<const uint8_t *>(data->block.constData()),
                              data->block.size(), record)) {
                keys[data->key] = record;
                qCDebug(lcDevice).noquote() << "HIDManager: readLayer key=" << int(data->key)
                                            << "type=" << int(record.type);
            } else {
                qCWarning(lcDevice).noquote()
                    << "HIDManager: decodeKeyData failed key=" << int(data->key)
                    << "type=0x" << QString::number(type, 16) << "len=" << data->block.size();
            }
            break;
        }
        default:
            break;
        }
    }
    qCWarning(lcDevice).noquote() << "HIDManager: readLayer timeout layer=" << layer;
    return false;
}

bool HIDManager::sendReadLedLayer(int layer, LedLayerConfig &lighting)
{
    const Packet request = buildReadLightingRequest(uint8_t(layer));
    printLightingRequestLine();
    if (!sendPacket(request.data(), kPacketSize)) {
        qCWarning(lcDevice).noquote() << "HIDManager: sendReadLedLayer send failed layer=" << layer;
        return false;
    }
    qCDebug(lcDevice).noquote() << "HIDManager: sendReadLedLayer request sent";
    hid_device *device = handle.load();
    hid_set_nonblocking(device, 1);

    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(kLightingDeadlineMs)) {
        Report report{};
        const int received = pollReport(device, report.data());
        if (received == 0)
            continue;
        if (received < 0) {
            qCWarning(lcDevice).noquote() << "HIDManager: sendReadLedLayer hid_read error";
            closeDevice();
            return false;
        }
        if (report[0] != kReportId)
            continue;
        // A refusal, also one padded to the report's full size.
        const std::optional<ShortReply> refusal = parseRefusal(report.data(), received);
        if (refusal) {
            if (refusal->layer == layer && refusal->key == kLightingKey)
                return false;
            continue;
        }
        const LightingReply reply = parseLightingReply(report.data(), received, uint8_t(layer));
        if (reply.kind == LightingReplyKind::TooShort)
            return false;
        if (reply.kind == LightingReplyKind::Lighting) {
            lighting = reply.lighting;
            return true;
        }
    }
    qCWarning(lcDevice).noquote() << "HIDManager: sendReadLedLayer timeout layer=" << layer;
    return false;
}

bool HIDManager::readAllConfiguration(KeyLayers &layers, LedLayers &lighting)
{
    if (!handle.load())
        return false;
    DeviceSession session(*this);
    layers.clear();
    layers.resize(kLayerCount);
    lighting.clear();
    lighting.resize(kLayerCount);
    bool ok = true;

    for (int layer = 0; layer < kLayerCount; ++layer) {
        emit progressUpdated(2 * layer, kReadProgressTotal,
                             QStringLiteral("Reading keys from layer %1...").arg(layer + 1));
        flushInput();
        KeyLayer keys;
        if (!readLayer(layer, keys)) {
            qCWarning(lcDevice).noquote() << "HIDManager: readAllConfiguration key layer" << layer
                                        << "failed";
            keys.resize(kKeySlotCount);
            ok = false;
        }
        layers[layer] = keys;

        emit progressUpdated(2 * layer + 1, kReadProgressTotal,
                             QStringLiteral("Reading RGB from layer %1...").arg(layer + 1));
        flushInput();
        LedLayerConfig record;
        if (!sendReadLedLayer(layer, record)) {
            qCWarning(lcDevice).noquote() << "HIDManager: readAllConfiguration LED layer" << layer
                                        << "failed";
            record = LedLayerConfig();
            ok = false;
        }
        record.clearMarks();
        lighting[layer] = record;
        QThread::msleep(kLayerPauseMs);
    }
    return ok;
}
