#pragma once

// The emulated USB bus shared by the control interface (virtualbus.cpp) and
// hidapi's C API (hidapi_shim.cpp): the plugged keypads, the open handles with
// their pending input reports, the record of traffic and the counters. One
// mutex guards all of it; one condition variable wakes blocked readers.

#include "virtualfirmware.h"
#include "virtualkeypad.h"

#include <hidapi/hidapi.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace VirtualBus {

using Clock = std::chrono::steady_clock;

struct ActiveFault
{
    VirtualFault fault;
    int seen = 0; // matching requests since the fault was added
};

struct Device
{
    int id = 0;
    VirtualKeypadConfig config; // paths and serial number filled in by plug()
    std::unique_ptr<VirtualFirmware> firmware;
    bool present = true;        // false once reset() removed the keypad
    bool plugged = true;
    int generation = 0;         // bumped by every plug; older handles are dead
    bool silent = false;
    bool paddedReplies = false; // replies padded with zeros to 64 bytes
    std::chrono::microseconds latency{1000};
    Clock::time_point lineFreeAt{};  // when the last queued reply becomes readable
    std::vector<ActiveFault> faults;
};

struct PendingReport
{
    Clock::time_point readyAt;
    std::vector<uint8_t> bytes;
};

struct State
{
    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, std::shared_ptr<Device>> devices;
    std::set<hid_device *> handles;
    int nextId = 1;
    std::vector<VirtualReportRecord> records;
    bool keepRecords = true;
    VirtualKeypad::ReplyHook hook;

    int enumerateCount = 0;
    int openPathCount = 0;
    int closeCount = 0;
    int writeCount = 0;
    std::map<std::string, int> openCounts;
};

// The one bus of the process; never destroyed, so handles outlive everything.
State &state();

// Carries one output report written on interface `interfaceIndex` of `device`
// through faults, hook and firmware, and queues the replies. False when a
// fault makes the write itself fail. Lock held.
bool processOutputReport(State &s, Device &device, int interfaceIndex, const VirtualReport &report);

// Queues reports to the open handles of `interfaceIndex` (-1: every protocol
// interface) one latency apart; the reports are moved into the queues. Lock
// held.
void queueToHost(State &s, Device &device, int interfaceIndex, std::vector<VirtualReport> &&reports);

// Pulls the cable. Lock held.
void unplugLocked(State &s, Device &device);

void record(State &s, VirtualReportRecord::Direction direction, const Device &device,
            const std::string &path, const uint8_t *bytes, std::size_t length);

} // namespace VirtualBus

// hidapi's opaque handle: one open interface of one keypad.
struct hid_device_
{
    std::shared_ptr<VirtualBus::Device> device;
    int interfaceIndex = 0;
    int generation = 0;
    std::string path;
    bool nonblocking = false;                      // guarded by the bus mutex
    std::deque<VirtualBus::PendingReport> pending; // guarded by the bus mutex
    // Points at a string literal only, so hid_error's result never changes
    // under a caller that is still reading it.
    std::atomic<const wchar_t *> lastError{nullptr};

    // hid_get_device_info's answer and the strings it points into.
    hid_device_info info{};
    std::wstring manufacturer, product, serialNumber;

    // Lock held.
    bool alive() const
    {
        return device && device->present && device->plugged && device->generation == generation;
    }
};
