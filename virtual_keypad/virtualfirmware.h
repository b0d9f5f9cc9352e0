#pragma once

// The firmware inside a virtual keypad: turns the output reports the host
// writes into the input reports the keypad sends back, and keeps what the
// keypad stores. One subclass per keypad family; the bus (virtualbus.cpp)
// owns the timing, the faults and the delivery to open handles.
//
// Reports are whole HID reports with the report id as byte 0, in both
// directions. Every function is called under the bus lock, one at a time.

#include "virtualkeypad.h"

#include <cstdint>
#include <memory>
#include <vector>

using VirtualReport = std::vector<uint8_t>;

class VirtualFirmware
{
public:
    virtual ~VirtualFirmware() = default;

    // Short family name for logs ("current", ...).
    virtual const char *family() const = 0;

    // The command code a fault's `command` is matched against.
    virtual int commandOf(const VirtualReport &request) const
    {
        return request.size() > 1 ? request[1] : -1;
    }

    // Carries out one request; returns the replies in the order they are sent.
    virtual std::vector<VirtualReport> handle(const VirtualReport &request) = 0;

    // The refusal of `request` with `status`, sent instead of carrying it out.
    // Families without refusals send nothing.
    virtual std::vector<VirtualReport> refuse(const VirtualReport &request, uint8_t status) const
    {
        (void)request;
        (void)status;
        return {};
    }

    // A leftover acknowledgement of an earlier request, sent before the real
    // replies of `request`. Empty: the family has none.
    virtual VirtualReport staleAck(const VirtualReport &request) const
    {
        (void)request;
        return {};
    }

    // A copy of the whole firmware: what it stores and the state of its
    // exchanges. A write the keypad acknowledges and then forgets is handled
    // and the copy taken before it put back. Null: the family cannot forget.
    virtual std::unique_ptr<VirtualFirmware> clone() const { return nullptr; }

    // Spoils what the keypad stored for `request`, a write it has just carried
    // out. Families without such writes do nothing.
    virtual void alterStored(const VirtualReport &request) { (void)request; }

    // Spoils the checksum of one reply.
    virtual void corruptChecksum(VirtualReport &reply) const
    {
        if (!reply.empty())
            reply.back() ^= 0x5A;
    }

    // Storage of the current family's kind. Others return false / do nothing.
    virtual bool key(int layer, int slot, VirtualKeySlot &out) const
    {
        (void)layer;
        (void)slot;
        (void)out;
        return false;
    }
    virtual bool setKey(int layer, int slot, const VirtualKeySlot &value)
    {
        (void)layer;
        (void)slot;
        (void)value;
        return false;
    }
    virtual void clearAllKeys() {}
    virtual bool lighting(int layer, VirtualLighting &out) const
    {
        (void)layer;
        (void)out;
        return false;
    }
    virtual bool setLighting(int layer, const VirtualLighting &value)
    {
        (void)layer;
        (void)value;
        return false;
    }
};
