#pragma once

// Firmware of the current keypad family: 63-byte request packets in report 3,
// XOR checksums, ACK/NAK short replies and long data replies.

#include "virtualfirmware.h"

#include <array>
#include <map>
#include <utility>

class CurrentFirmware : public VirtualFirmware
{
public:
    static constexpr int LayerCount = 4; // the keypad always keeps four layers
    static constexpr int MaxSlots = 25;

    explicit CurrentFirmware(const VirtualKeypadModel &model);

    const char *family() const override { return "current"; }
    int commandOf(const VirtualReport &request) const override;
    std::vector<VirtualReport> handle(const VirtualReport &request) override;
    std::vector<VirtualReport> refuse(const VirtualReport &request, uint8_t status) const override;
    VirtualReport staleAck(const VirtualReport &request) const override;
    std::unique_ptr<VirtualFirmware> clone() const override;
    void alterStored(const VirtualReport &request) override;

    bool key(int layer, int slot, VirtualKeySlot &out) const override;
    bool setKey(int layer, int slot, const VirtualKeySlot &value) override;
    void clearAllKeys() override;
    bool lighting(int layer, VirtualLighting &out) const override;
    bool setLighting(int layer, const VirtualLighting &value) override;

private:
    // A macro arriving in chunks, kept until its last chunk is in.
    struct Assembly
    {
        int chunkCount = 0;
        std::vector<std::vector<uint8_t>> chunks;
        std::vector<bool> present;
    };

    std::vector<VirtualReport> readDeviceInfo() const;
    std::vector<VirtualReport> readLayer(int layer) const;
    std::vector<VirtualReport> readLighting(int layer, uint8_t key) const;
    std::vector<VirtualReport> writeKey(const uint8_t *packet);
    std::vector<VirtualReport> writeMacroChunk(const uint8_t *packet);
    std::vector<VirtualReport> clearKey(const uint8_t *packet);
    std::vector<VirtualReport> writeLighting(const uint8_t *packet);

    bool slotInModel(int slot) const { return slot >= 0 && slot < m_slotCount; }

    VirtualKeypadModel m_model;
    int m_slotCount;
    std::array<std::array<VirtualKeySlot, MaxSlots>, LayerCount> m_keys;
    std::array<VirtualLighting, LayerCount> m_lighting;
    std::map<std::pair<int, int>, Assembly> m_assemblies; // (layer, slot)
};
