#pragma once

// Firmware of the two older keypad families. They speak a simpler protocol
// than the current keypads: 65-byte reports with a command byte (0xFA read,
// 0xFB probe, 0xFD key write and commit, 0xFE lighting), no checksums and no
// acknowledgements. A layer read is answered with one key record per report
// in the keypad's own key order. Requests of the current protocol get no
// answer at all.
//
// The keypad keeps key records by its own key numbers (1..N) and layers 1..3,
// as the raw bytes 4..64 of the write report that brought them. Writes land in
// working memory at once (reads see them); the commit report copies working
// memory into the memory the keypad keeps across power cycles.

#include "virtualfirmware.h"

#include <array>

class LegacyFirmware : public VirtualFirmware
{
public:
    static constexpr int ReportSize = 65;
    static constexpr int LayerCount = 3;
    static constexpr int MaxKeys = 25;
    static constexpr int RecordOffset = 4;
    static constexpr int RecordSize = ReportSize - RecordOffset; // 61

    using Record = std::array<uint8_t, RecordSize>;

    // What the probe answer carries (bytes 2..5).
    struct Identity
    {
        uint8_t keyCount = 16;
        uint8_t encoderCount = 3;
        uint8_t version = 10;
        uint8_t shape = 0; // byte 5; the Old family's keypads leave it as it is
    };

    struct Memory
    {
        std::array<std::array<Record, MaxKeys>, LayerCount> records{}; // [layer][key - 1]
        std::array<VirtualLighting, LayerCount> lighting{};            // R20Wide
        std::array<uint8_t, LayerCount> lightingValue{};                // Old: colour and effect byte
    };

    explicit LegacyFirmware(const Identity &identity);

    std::vector<VirtualReport> handle(const VirtualReport &request) override;
    // A key write's record in working memory gets one byte flipped.
    void alterStored(const VirtualReport &request) override;

    // Key records answered by one layer read (25 R20Wide, 24 Old).
    virtual int keyCount() const = 0;

    // Working memory (what reads answer) and what the last commit kept.
    const Memory &memory() const { return m_memory; }
    const Memory &committed() const { return m_committed; }
    int commitCount() const { return m_commits; }
    // layer 0..2, key 1..keyCount(); out of range gives / changes nothing.
    Record record(int layer, int key) const;
    void setRecord(int layer, int key, const Record &record); // working and kept memory
    // R20Wide lighting, also through VirtualKeypad::lighting / setLighting.
    bool lighting(int layer, VirtualLighting &out) const override;
    bool setLighting(int layer, const VirtualLighting &value) override; // working and kept memory

    // After `answers` more reports the keypad falls silent (-1: never).
    void silenceAfter(int answers) { m_answersLeft = answers; }
    int answersSent() const { return m_answersSent; }

protected:
    // A whole report, zero-padded, report id first.
    static VirtualReport blankReport(uint8_t command);
    // Request byte `offset`, 0 past what the host wrote.
    static uint8_t byteAt(const VirtualReport &request, int offset);

    // Changes `record` into another assignment a layer read shows: its first
    // key press becomes another key, and a record without one gets one.
    virtual void alterRecord(Record &record) const = 0;

    // Layer 0..2 when `request` is this family's layer read, else -1.
    virtual int layerOfRead(const VirtualReport &request) const = 0;
    // The family's other reads (0xFA) and lighting writes (0xFE).
    virtual std::vector<VirtualReport> otherRead(const VirtualReport &request) const = 0;
    virtual void writeLighting(const VirtualReport &request, Memory &memory) = 0;

private:
    std::vector<VirtualReport> probeAnswer() const;
    std::vector<VirtualReport> layerAnswers(int layer) const;
    void writeKey(const VirtualReport &request);
    std::vector<VirtualReport> limitAnswers(std::vector<VirtualReport> answers);

    Identity m_identity;
    Memory m_memory;
    Memory m_committed;
    int m_commits = 0;
    int m_answersLeft = -1;
    int m_answersSent = 0;
};
