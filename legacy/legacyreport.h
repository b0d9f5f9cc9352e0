#pragma once

#include <array>
#include <cstdint>
#include <hidapi/hidapi.h>

// Framing shared by every legacy exchange. A request is one 65-byte output
// report: report id 3, a command byte, command data, zeros. The keypad answers
// with input reports read into a 65-byte buffer whose byte 0 is the report id.
//
// None of these functions locks anything: the caller runs them inside
// HIDManager::DeviceSession, so the device link's presence probe cannot take a
// report a legacy exchange is waiting for. Each leaves the handle non-blocking.

constexpr uint8_t kLegacyReportId = 0x03;
constexpr int kLegacyReportSize = 65;

constexpr int kLegacyOffReportId = 0;
constexpr int kLegacyOffCommand = 1;
constexpr int kLegacyOffData = 2;

enum LegacyCommand : uint8_t {
    LegacyCmdRead = 0xFA,
    LegacyCmdProbe = 0xFB,
    LegacyCmdWrite = 0xFD,     // key records, and the commit
    LegacyCmdLighting = 0xFE,
};

using LegacyReport = std::array<uint8_t, kLegacyReportSize>;

// A zeroed request with the report id and `command` in place.
LegacyReport legacyRequest(uint8_t command);

// Blocking write of the whole report; true only when all 65 bytes went out.
bool legacySendReport(hid_device *device, const LegacyReport &report);

// Up to 20 reads of 50 ms each; returns the byte count of the first report that
// arrives, or 0 when none did (or the device failed).
int legacyReceiveAny(hid_device *device, LegacyReport &buffer);

// One read of at most `timeoutMs`; zeroes the buffer first. Returns the byte
// count, 0 for nothing and -1 for a device error.
int legacyReadReport(hid_device *device, LegacyReport &buffer, int timeoutMs);

// Reads and drops whatever input is already waiting. Returns true when one of
// the dropped reports was a reply of the current protocol (see below).
bool legacyFlushInput(hid_device *device);

// True for a well-formed reply of the current keypad family: an
// acknowledgement (command 6 or 7) or a data reply (commands 3, 8, 10, 11)
// whose checksum holds. No legacy answer looks like one, so such a report
// means a current keypad is on the line.
bool isCurrentProtocolReply(const uint8_t *report, int received);
