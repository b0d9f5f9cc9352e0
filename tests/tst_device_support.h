#pragma once

// Shared helpers of the device link tests: reply builders and
// a manager connected to a virtual keypad.

#include "device/hidmanager.h"
#include "tst_log_capture.h"
#include "virtualkeypad.h"

#include <QSignalSpy>
#include <QStringList>
#include <QtTest>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A 64-byte data reply: report id, the 63-byte packet with `head` from its
// byte 0, and the long checksum.
inline Bytes longReply(const Bytes &head)
{
    Bytes report(64, 0);
    report[0] = 0x03;
    for (size_t i = 0; i < head.size() && i < 62; ++i)
        report[1 + i] = head[i];
    uint8_t sum = 0;
    for (int i = 1; i < 63; ++i)
        sum ^= report[size_t(i)];
    report[63] = sum;
    return report;
}

// A 9-byte ACK or NAK with its checksum.
inline Bytes shortReply(uint8_t command, uint8_t status, uint8_t layer, uint8_t key,
                        uint8_t packetIndex)
{
    Bytes report{0x03, command, status, layer, key, packetIndex, 0, 0, 0};
    uint8_t sum = 0;
    for (int i = 1; i < 8; ++i)
        sum ^= report[size_t(i)];
    report[8] = sum;
    return report;
}

inline Bytes ack(uint8_t layer, uint8_t key, uint8_t packetIndex = 0, uint8_t status = 0)
{
    return shortReply(6, status, layer, key, packetIndex);
}

inline Bytes nakReply(uint8_t status, uint8_t layer, uint8_t key, uint8_t packetIndex = 0)
{
    return shortReply(7, status, layer, key, packetIndex);
}

// A command-3 key data reply carrying `block`, with `lengthByte` as its length.
inline Bytes keyDataReply(uint8_t layer, uint8_t key, const Bytes &block, int lengthByte = -1)
{
    Bytes head{0x03, layer, key, uint8_t(lengthByte < 0 ? block.size() : size_t(lengthByte))};
    head.insert(head.end(), block.begin(), block.end());
    return longReply(head);
}

// A command-8 chunk reply.
inline Bytes chunkReply(uint8_t layer, uint8_t key, uint8_t index, uint8_t count,
                        const Bytes &chunk, int lengthByte = -1)
{
    Bytes head{0x08, layer, key, index, count,
               uint8_t(lengthByte < 0 ? chunk.size() : size_t(lengthByte))};
    head.insert(head.end(), chunk.begin(), chunk.end());
    return longReply(head);
}

// A key data block: type, six zeros, length, payload.
inline Bytes keyBlock(uint8_t type, const Bytes &payload)
{
    Bytes block;
    block.reserve(9 + payload.size());
    block = {type, 0, 0, 0, 0, 0, 0, uint8_t(payload.size() & 0xFF), uint8_t(payload.size() >> 8)};
    block.insert(block.end(), payload.begin(), payload.end());
    return block;
}

inline QVector<MacroStep> macroSteps(int count)
{
    QVector<MacroStep> steps;
    for (int i = 0; i < count; ++i)
        steps.append(MacroStep{uint8_t(i % 2), uint8_t(0x04 + (i / 2) % 26), uint16_t(10 + i)});
    return steps;
}

// Output reports of one command written to the keypad since the last
// clearRecords().
inline std::vector<Bytes> writtenWithCommand(int command)
{
    std::vector<Bytes> out;
    for (const Bytes &report : VirtualKeypad::writtenReports())
        if (report.size() > 1 && report[1] == command)
            out.push_back(report);
    return out;
}

// Answers every request with `command` through `replies`, once per request.
inline void answerCommand(int command, std::vector<Bytes> replies)
{
    VirtualKeypad::setReplyHook(
        [command, replies](int, const Bytes &report, std::vector<Bytes> &out) {
            if (report.size() < 2 || report[1] != command)
                return false;
            out = replies;
            return true;
        });
}

// Plugs a keypad with `config`, opens it and reads its description.
inline bool connectManager(HIDManager &manager,
                           const VirtualKeypadConfig &config = VirtualKeypadConfig())
{
    VirtualKeypad::reset();
    VirtualKeypad::plug(config);
    if (!manager.openDevice())
        return false;
    DeviceInfo info;
    return manager.readDeviceInfo(info);
}

inline VirtualKeypadConfig modelConfig(uint8_t keys, uint8_t encoders, uint8_t extra = 0)
{
    VirtualKeypadConfig config;
    config.model.keyCount = keys;
    config.model.encoderCount = encoders;
    config.model.extraKeyCount = extra;
    return config;
}
