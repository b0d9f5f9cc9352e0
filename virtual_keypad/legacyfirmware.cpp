#include "legacyfirmware.h"

#include <algorithm>

namespace {

constexpr uint8_t ReportId = 0x03;
constexpr uint8_t CmdRead = 0xFA;
constexpr uint8_t CmdProbe = 0xFB;
constexpr uint8_t CmdWrite = 0xFD;
constexpr uint8_t CmdLighting = 0xFE;

constexpr int OffCommand = 1;
constexpr int OffProbeCheck = 2; // the probe repeats its command in bytes 2 and 3
constexpr int OffProbeKeys = 2, OffProbeEncoders = 3, OffProbeVersion = 4, OffProbeShape = 5;
constexpr int OffWriteKey = 2, OffWriteLayer = 3;
constexpr uint8_t CommitKey = 0xFE, CommitLayer = 0xFF;
constexpr int OffAnswerPacket = 2, OffAnswerLayer = 3;

} // namespace

LegacyFirmware::LegacyFirmware(const Identity &identity) : m_identity(identity)
{
    m_committed = m_memory;
}

VirtualReport LegacyFirmware::blankReport(uint8_t command)
{
    VirtualReport report(ReportSize, 0);
    report[0] = ReportId;
    report[OffCommand] = command;
    return report;
}

uint8_t LegacyFirmware::byteAt(const VirtualReport &request, int offset)
{
    return offset >= 0 && std::size_t(offset) < request.size() ? request[offset] : 0;
}

std::vector<VirtualReport> LegacyFirmware::handle(const VirtualReport &request)
{
    if (byteAt(request, 0) != ReportId)
        return {};
    switch (byteAt(request, OffCommand)) {
    case CmdProbe:
        if (byteAt(request, OffProbeCheck) != CmdProbe)
            return {};
        return limitAnswers(probeAnswer());
    case CmdRead: {
        const int layer = layerOfRead(request);
        return limitAnswers(layer >= 0 ? layerAnswers(layer) : otherRead(request));
    }
    case CmdWrite:
        writeKey(request);
        return {};
    case CmdLighting:
        writeLighting(request, m_memory);
        return {};
    default:
        return {}; // the current protocol's commands mean nothing here
    }
}

void LegacyFirmware::alterStored(const VirtualReport &request)
{
    const uint8_t key = byteAt(request, OffWriteKey);
    const uint8_t layer = byteAt(request, OffWriteLayer);
    if (byteAt(request, OffCommand) != CmdWrite || layer < 1 || layer > LayerCount || key < 1
        || key > keyCount())
        return;
    alterRecord(m_memory.records[layer - 1][key - 1]);
}

std::vector<VirtualReport> LegacyFirmware::probeAnswer() const
{
    VirtualReport answer = blankReport(CmdProbe);
    answer[OffProbeKeys] = m_identity.keyCount;
    answer[OffProbeEncoders] = m_identity.encoderCount;
    answer[OffProbeVersion] = m_identity.version;
    answer[OffProbeShape] = m_identity.shape;
    return {answer};
}

std::vector<VirtualReport> LegacyFirmware::layerAnswers(int layer) const
{
    std::vector<VirtualReport> answers;
    // The keypad streams its keys in its own numbering: answer p is key p + 1.
    for (int packet = 0; packet < keyCount(); ++packet) {
        VirtualReport answer = blankReport(CmdRead);
        answer[OffAnswerPacket] = uint8_t(packet);
        answer[OffAnswerLayer] = uint8_t(layer + 1);
        const Record stored = record(layer, packet + 1);
        std::copy(stored.begin(), stored.end(), answer.begin() + RecordOffset);
        answers.push_back(answer);
    }
    return answers;
}

void LegacyFirmware::writeKey(const VirtualReport &request)
{
    const uint8_t key = byteAt(request, OffWriteKey);
    const uint8_t layer = byteAt(request, OffWriteLayer);
    if (key == CommitKey && layer == CommitLayer) {
        m_committed = m_memory;
        ++m_commits;
        return;
    }
    if (layer < 1 || layer > LayerCount || key < 1 || key > keyCount())
        return;
    Record value{};
    for (int i = 0; i < RecordSize; ++i)
        value[i] = byteAt(request, RecordOffset + i);
    m_memory.records[layer - 1][key - 1] = value;
}

std::vector<VirtualReport> LegacyFirmware::limitAnswers(std::vector<VirtualReport> answers)
{
    if (m_answersLeft >= 0 && int(answers.size()) > m_answersLeft)
        answers.resize(m_answersLeft);
    if (m_answersLeft >= 0)
        m_answersLeft -= int(answers.size());
    m_answersSent += int(answers.size());
    return answers;
}

LegacyFirmware::Record LegacyFirmware::record(int layer, int key) const
{
    if (layer < 0 || layer >= LayerCount || key < 1 || key > keyCount())
        return Record{};
    return m_memory.records[layer][key - 1];
}

void LegacyFirmware::setRecord(int layer, int key, const Record &value)
{
    if (layer < 0 || layer >= LayerCount || key < 1 || key > keyCount())
        return;
    m_memory.records[layer][key - 1] = value;
    m_committed.records[layer][key - 1] = value;
}

bool LegacyFirmware::lighting(int layer, VirtualLighting &out) const
{
    if (layer < 0 || layer >= LayerCount)
        return false;
    out = m_memory.lighting[layer];
    return true;
}

bool LegacyFirmware::setLighting(int layer, const VirtualLighting &value)
{
    if (layer < 0 || layer >= LayerCount)
        return false;
    m_memory.lighting[layer] = value;
    m_committed.lighting[layer] = value;
    return true;
}
