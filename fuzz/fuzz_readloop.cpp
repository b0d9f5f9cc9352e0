// The read loops of the device link take whatever reports come back: random
// reply streams are fed through the virtual keypad to readLayer,
// sendReadLedLayer and readDeviceInfo.
//
// Input layout:
//   byte 0      bits 0-1: which read (1 lighting, 2 description, else a layer),
//               bits 2-3: the layer asked for
//   bytes 1-3   key, knob and extra key counts of the description the keypad
//               gives first (they decide which key slots a layer read takes);
//               a description read ends with this description
//   then up to kMaxReports reports, each a header byte and its bytes:
//               header bits 0-6: length (0 skips), bit 7: give the report the
//               report id and the checksum a valid reply has
// Every stream ends with the reply that completes the read, so each run ends
// at once instead of waiting for the read's deadline.

#include "device/hidmanager.h"
#include "device/packet.h"
#include "fuzzsupport.h"
#include "virtualkeypad.h"

#include <QLoggingCategory>
#include <chrono>
#include <cstdio>
#include <utility>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kMaxReports = 64;
constexpr uint8_t kLengthMask = 0x7F;
constexpr uint8_t kFixFraming = 0x80;

enum ReadKind { ReadLayer = 0, ReadLighting = 1, ReadDescription = 2 };

// The harness's own framing of the stream is not what is fuzzed. Left out of
// the coverage tracing, its per-byte loops make no tracing calls (they were
// a twentieth of a run) and give the fuzzer no features of their own.
#define HARNESS_UNTRACED __attribute__((no_sanitize("coverage")))

HARNESS_UNTRACED uint8_t xorOf(const Bytes &report, int from, int to)
{
    uint8_t sum = 0;
    for (int i = from; i <= to; ++i)
        sum ^= report[size_t(i)];
    return sum;
}

// A report as a well-behaved keypad frames it: a long reply's checksum covers
// bytes 1..62, a short one's bytes 1..7.
HARNESS_UNTRACED void frame(Bytes &report)
{
    report[0] = kReportId;
    if (int(report.size()) >= kLongReplyMin)
        report[kLongChecksum] = xorOf(report, 1, kLongChecksum - 1);
    else if (int(report.size()) >= kShortReplyMin)
        report[kAckChecksum] = xorOf(report, 1, kAckChecksum - 1);
}

Bytes longReply(const Bytes &head)
{
    Bytes report(kLongReplyMin, 0);
    for (size_t i = 0; i < head.size(); ++i)
        report[1 + i] = head[i];
    frame(report);
    return report;
}

Bytes layerEnd(uint8_t layer)
{
    Bytes report{kReportId, CmdAck, 0, layer, kLayerEndKey, 0, 0, 0, 0};
    frame(report);
    return report;
}

Bytes description(uint8_t keys, uint8_t knobs, uint8_t extra)
{
    return longReply({CmdDeviceInfo, 0, 0, kInfoFieldCount, keys, knobs, extra, 3, 0, 0, 0});
}

Bytes lightingReply(uint8_t layer)
{
    return longReply({CmdReadLighting, layer, kLightingKey, kLightingPayloadSize, 1});
}

HARNESS_UNTRACED std::vector<Bytes> parseReports(const uint8_t *data, size_t size)
{
    std::vector<Bytes> reports;
    reports.reserve(kMaxReports + 1); // and the closing reply
    size_t at = 0;
    while (at < size && int(reports.size()) < kMaxReports) {
        const uint8_t header = data[at++];
        const size_t length = std::min<size_t>(header & kLengthMask, size - at);
        if (length == 0)
            continue;
        Bytes report(data + at, data + at + length);
        at += length;
        if (header & kFixFraming)
            frame(report);
        reports.push_back(std::move(report));
    }
    return reports;
}

// What the reply hook answers in the current run: `command` with `stream`,
// the description request with `described`. answer sets it, endRun clears it;
// with no stream the firmware answers, as when the link is opened.
struct Answering
{
    uint8_t command = 0;
    std::vector<Bytes> *stream = nullptr;
    const Bytes *described = nullptr;
};
Answering g_answering;

// Each read sends its request once, and the bus moves the replies it is
// handed into its queue, so the run's stream is handed over rather than
// copied: a copy of a long stream is dozens of allocations, and under the
// address checker they are a large part of a run. A second request for the
// same stream would find it gone; FUZZ_REQUIRE says so rather than let the
// read wait out its deadline.
bool answerRequest(int, const Bytes &request, std::vector<Bytes> &out)
{
    Answering &now = g_answering;
    if (!now.described || request.size() < 2)
        return false;
    if (request[1] == now.command) {
        FUZZ_REQUIRE(now.stream);
        out = std::move(*now.stream);
        now.stream = nullptr;
    } else if (request[1] == CmdDeviceInfo && !now.described->empty()) {
        out = {*now.described};
    } else {
        return false;
    }
    return true;
}

void answer(uint8_t command, std::vector<Bytes> &replies, const Bytes &described)
{
    g_answering = Answering{command, &replies, &described};
}

// The description the link last read whole and in good order. A layer or
// lighting read under the same description starts from the same state, so
// the description is read again only when a run asks for another one or a
// fuzzed description read has left the link in some other state.
Bytes g_linkDescribedBy;

HIDManager &connectedManager()
{
    static HIDManager *manager = [] {
        VirtualKeypad::reset();
        VirtualKeypad::plug();
        VirtualKeypad::setReplyLatency(std::chrono::microseconds(0));
        VirtualKeypad::setKeepRecords(false);
        // Installed once; it answers only while a run has set g_answering.
        VirtualKeypad::setReplyHook(answerRequest);
        return new HIDManager;
    }();
    if (!manager->handle.load()) {
        FUZZ_REQUIRE(manager->openDevice());
        g_linkDescribedBy.clear();
    }
    return *manager;
}

// Replies a read left unread (it ended early) are dropped before the run
// ends: the next run starts on an empty line, and a run leaves no more blocks
// allocated than it found, which is what the leak checker looks at. A run
// that keeps replies queued past its end is run again and followed by a full
// leak scan, which costs far more than the run itself.
void endRun(hid_device *device)
{
    if (device) {
        uint8_t report[kReportSize];
        hid_set_nonblocking(device, 1);
        while (hid_read(device, report, sizeof report) > 0) {
        }
    }
    g_answering = Answering();
}


} // namespace

// Every run allocates a few dozen reports, and the address checker records
// where each allocation came from. Ten frames reach from the allocation into
// the read that asked for it; the default thirty cost a tenth of the run. An
// ASAN_OPTIONS setting still overrides this.
extern "C" const char *__asan_default_options()
{
    return "malloc_context_size=10";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The reads log every report, and every bad reply as a warning, and print
    // their requests on standard output; at thousands of runs a second that
    // would be all the fuzzer does.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\nzentrik.*.warning=false"));
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const int kind = data[0] & 0x03;
    const uint8_t layer = (data[0] >> 2) & 0x03;
    const Bytes described = description(data[1], data[2], data[3]);
    std::vector<Bytes> replies = parseReports(data + 4, size - 4);

    HIDManager &manager = connectedManager();
    DeviceInfo info;
    if (kind == ReadDescription) {
        g_linkDescribedBy.clear();
        replies.push_back(described);
        answer(CmdDeviceInfo, replies, described);
        if (manager.readDeviceInfo(info))
            FUZZ_REQUIRE(info.valid == 1);
        endRun(manager.handle.load());
        return 0;
    }

    if (described != g_linkDescribedBy) {
        g_linkDescribedBy.clear();
        std::vector<Bytes> describedOnly{described};
        answer(CmdDeviceInfo, describedOnly, described);
        FUZZ_REQUIRE(manager.readDeviceInfo(info));
        g_linkDescribedBy = described;
    }
    if (kind == ReadLighting) {
        replies.push_back(lightingReply(layer));
        answer(CmdReadLighting, replies, described);
        LedLayerConfig lighting;
        manager.sendReadLedLayer(layer, lighting);
    } else {
        replies.push_back(layerEnd(layer));
        answer(CmdReadLayer, replies, described);
        KeyLayer keys;
        FUZZ_REQUIRE(manager.readLayer(layer, keys));
        FUZZ_REQUIRE(keys.size() == 25);
        for (const KeyConfig &key : keys)
            requireSoundRecord(key);
    }
    endRun(manager.handle.load());
    return 0;
}
