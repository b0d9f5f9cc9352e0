#pragma once

// The virtual keypad: an emulated Zentrik keypad behind hidapi's own C API.
//
// An executable or a test links zentrik_virtual_keypad instead of hidapi-hidraw;
// every hid_* call of the program then reaches the keypads plugged in here.
// This class is the control panel of that emulated USB bus for tests and for
// the demo build: plug and unplug keypads, preload and inspect what they store,
// slow them down, make them misbehave, and look at every report exchanged.
//
// Every function is static and thread-safe; any thread may call any of them at
// any moment, also while the program blocks in hid_read on another thread.
//
// Device ids: plug() returns an id (1, 2, ...; never reused, also not after
// reset()). Functions taking `device` accept FirstDevice, meaning the
// lowest-numbered keypad that exists (plugged or unplugged but not removed).

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class VirtualFirmware;

// The device description the keypad sends in answer to command 11.
struct VirtualKeypadModel
{
    uint8_t keyCount = 16;      // K
    uint8_t encoderCount = 3;   // E, each knob takes three key slots
    uint8_t extraKeyCount = 0;  // D
    uint8_t layerCount = 3;     // L
    uint8_t layoutP = 0;        // P
    uint8_t layoutS = 0;        // S
    uint8_t reservedB = 0;      // B

    // Key slots the firmware holds: K + 3E + D, capped at 25.
    int slotCount() const;
};

// One HID interface (one hidraw node) of a plugged keypad, as hid_enumerate
// lists it.
struct VirtualHidInterface
{
    std::string path;           // empty: plug() makes a unique one
    uint16_t usagePage = 0xFF00;
    uint16_t usage = 0x0001;
    int interfaceNumber = 0;
    // True for the interface whose reports reach the firmware. A keyboard
    // interface accepts writes but never answers.
    bool speaksProtocol = true;
    // False: hid_open_path fails and leaves openErrno in errno, as the
    // hidraw backend leaves open(2)'s. EACCES is a node the user may not open
    // (no udev rule); EBUSY one held by another program.
    bool openable = true;
    int openErrno = EACCES;

    static VirtualHidInterface vendor(int interfaceNumber = 0);
    static VirtualHidInterface keyboard(int interfaceNumber = 1);
};

// Everything that describes one keypad before it is plugged in.
struct VirtualKeypadConfig
{
    uint16_t vendorId = 0xF1A1;
    uint16_t productId = 0x4155;
    uint16_t releaseNumber = 0x0100;
    std::wstring manufacturer = L"Zentrik";
    std::wstring product = L"Zentrik Keypad";
    std::wstring serialNumber;  // empty: plug() makes a unique one
    VirtualKeypadModel model;
    // Default: the vendor interface 0 (0xFF00 / 1) and a keyboard interface 1.
    std::vector<VirtualHidInterface> interfaces = {VirtualHidInterface::vendor(),
                                                   VirtualHidInterface::keyboard()};
};

// What one key slot holds, as raw as the keypad keeps it: the type byte and the
// payload of its key data block (the six reserved bytes and the length are
// implied). Empty slots have type 0xFF and no payload.
struct VirtualKeySlot
{
    uint8_t type = 0xFF;
    std::vector<uint8_t> payload;

    bool isEmpty() const { return type == 0xFF; }
    // The key data block as it travels: type, six zeros, u16 LE length, payload.
    std::vector<uint8_t> block() const;

    static VirtualKeySlot empty() { return {}; }
    static VirtualKeySlot singleKey(uint8_t keycode);
    struct MacroStep { uint8_t action; uint8_t keycode; uint16_t delay; };
    static VirtualKeySlot macro(const std::vector<MacroStep> &steps);
    static VirtualKeySlot media(uint16_t consumerUsage);
    static VirtualKeySlot mouse(uint8_t action);
    static VirtualKeySlot combination(uint8_t modifiers, const std::vector<uint8_t> &keycodes);

    bool operator==(const VirtualKeySlot &o) const { return type == o.type && payload == o.payload; }
    bool operator!=(const VirtualKeySlot &o) const { return !(*this == o); }
};

// One layer's lighting as the keypad keeps it.
struct VirtualLighting
{
    using Rgb = std::array<uint8_t, 3>;
    uint8_t effect = 1;
    std::array<Rgb, 16> colors = defaultColors();

    static std::array<Rgb, 16> defaultColors();
    bool operator==(const VirtualLighting &o) const { return effect == o.effect && colors == o.colors; }
    bool operator!=(const VirtualLighting &o) const { return !(*this == o); }
};

// Ways to make the keypad misbehave. A fault watches the requests that reach
// the firmware after it was added; `command` -1 matches every command.
struct VirtualFault
{
    enum class Kind {
        DropReply,        // the matching requests get no reply at all (a layer read: no report)
        Nak,              // answered with a NAK of `status` instead of being carried out
        CorruptChecksum,  // reply `replyIndex` (-1: every reply) of the request has a wrong checksum
        StaleAckFirst,    // an ACK for another key (key - 1; 1 for key 0) arrives before the real replies
        UnplugAfterWrite, // the keypad is unplugged right after accepting the matching write
        FailWrite,        // hid_write returns -1; the report never reaches the keypad (nor the record)
        ForgetWrite,      // the request is answered as usual, then the keypad forgets it: what it
                          // stores (and a macro's chunks so far) is as before the request
        StoreAltered,     // the request is answered as usual, but what the keypad stores for it
                          // differs from what was sent (one byte spoilt)
    };
    Kind kind = Kind::DropReply;
    int command = -1;   // command code (request byte 0) to match, -1 any
    int nth = 1;        // first matching request it acts on, counted from 1
    int count = 1;      // number of consecutive matching requests it acts on
    uint8_t status = 1; // for Nak
    int replyIndex = 0; // for CorruptChecksum
};

// One report on the emulated bus.
struct VirtualReportRecord
{
    enum class Direction { HostToDevice, DeviceToHost };
    Direction direction = Direction::HostToDevice;
    std::chrono::steady_clock::time_point time; // write call, or the read that delivered it
    int device = 0;
    std::string path;
    std::vector<uint8_t> bytes;                 // as written / as delivered, report id first
};

// One interface of a keypad appearing on the bus or leaving it, as the
// system's device events tell a program about a hidraw node.
struct VirtualHotplugEvent
{
    enum class Action { Add, Remove };
    Action action = Action::Add;
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int device = 0;          // the keypad's id
    int interfaceIndex = 0;  // its place in the keypad's config
};

class VirtualKeypad
{
public:
    static constexpr int FirstDevice = -1;
    static constexpr int AnyCommand = -1;

    // NAK status values the current firmware uses by itself.
    static constexpr uint8_t StatusBadChecksum = 1; // retryable
    static constexpr uint8_t StatusBadMacro = 2;    // inconsistent or oversized macro chunks
    static constexpr uint8_t StatusBadRequest = 3;  // unknown command, bad layer, malformed block
    static constexpr uint8_t StatusNoSuchKey = 4;   // key slot outside the keypad's model

    // --- The bus -----------------------------------------------------------
    // Unplugs and forgets every keypad, clears faults, records, counters and
    // the reply hook, and restores the default latency. Handles the program
    // still holds stay valid but fail every read and write until hid_close.
    static void reset();

    // Plugs in a keypad of the current family; returns its id.
    static int plug(const VirtualKeypadConfig &config = VirtualKeypadConfig());
    // Plugs in a keypad with a firmware of another family (legacy firmwares
    // are further VirtualFirmware subclasses).
    static int plug(const VirtualKeypadConfig &config, std::unique_ptr<VirtualFirmware> firmware);
    // Pulls the cable: open handles fail from now on, the keypad keeps its
    // memory. plugBack() connects it again (new opens needed, same paths).
    static void unplug(int device = FirstDevice);
    static void plugBack(int device = FirstDevice);
    static bool isPlugged(int device = FirstDevice);
    // Whether the user may open the keypad's interfaces (false: opens fail
    // with `error`, as a node without a udev rule does). A change of access
    // tells no listener, as with a rule installed where no udev runs.
    static void setOpenable(bool openable, int error = EACCES, int device = FirstDevice);

    // --- Hotplug -----------------------------------------------------------
    // Listeners hear every interface that plug(), plugBack(), unplug() and
    // reset() add or remove, on the thread that called them, after the bus
    // lock is released. A listener must not add or remove listeners. The
    // unplug of an UnplugAfterWrite fault is not told: the program notices
    // it by its failing reads, as with a remove event that is late.
    using HotplugListener = std::function<void(const VirtualHotplugEvent &event)>;
    static int addHotplugListener(const HotplugListener &listener);
    static void removeHotplugListener(int id);
    static std::vector<int> devices();           // ids of every keypad, plugged or not
    static VirtualKeypadConfig config(int device = FirstDevice);
    static std::vector<std::string> paths(int device = FirstDevice); // interface paths in config order

    // --- Timing ------------------------------------------------------------
    // Each reply report becomes readable one latency after the previous reply
    // of that keypad (or after the request, when the line is idle). Default
    // 1 ms, one USB full-speed frame.
    static void setReplyLatency(std::chrono::microseconds latency, int device = FirstDevice);

    // --- Stored contents (current family) ------------------------------------
    // layer 0..3, slot 0..24. Reads of a slot outside the range give an empty
    // slot; writes outside it are ignored.
    static VirtualKeySlot key(int layer, int slot, int device = FirstDevice);
    static void setKey(int layer, int slot, const VirtualKeySlot &value, int device = FirstDevice);
    static void clearAllKeys(int device = FirstDevice);
    static VirtualLighting lighting(int layer, int device = FirstDevice);
    static void setLighting(int layer, const VirtualLighting &value, int device = FirstDevice);

    // Runs `fn` on the keypad's firmware under the bus lock (for firmwares
    // with their own kind of storage). `fn` must not call VirtualKeypad.
    static bool withFirmware(int device, const std::function<void(VirtualFirmware &)> &fn);

    // --- Misbehaviour ------------------------------------------------------
    static void addFault(const VirtualFault &fault, int device = FirstDevice);
    static void clearFaults(int device = FirstDevice);
    // Shorthands for addFault.
    static void dropReply(int command, int nth = 1, int device = FirstDevice);
    static void nakNext(uint8_t status, int count = 1, int command = AnyCommand, int device = FirstDevice);
    static void corruptReplyChecksum(int command, int nth = 1, int replyIndex = 0, int device = FirstDevice);
    static void staleAckFirst(int command, int nth = 1, int device = FirstDevice);
    static void unplugAfterWrite(int nth, int device = FirstDevice);
    static void failWrite(int command, int nth = 1, int device = FirstDevice);
    static void forgetWrite(int command, int nth = 1, int device = FirstDevice);
    static void alterStored(int command, int nth = 1, int device = FirstDevice);
    // A keypad that stops answering anything (true) or answers again (false).
    static void setSilent(bool silent, int device = FirstDevice);
    // Pads every reply shorter than 64 bytes with zeros to 64 (report id and
    // 63 bytes), as hidraw hands over input reports at their declared size.
    static void setPaddedReplies(bool padded, int device = FirstDevice);
    // Queues an arbitrary input report (report id first, any length 1..4096)
    // to every open handle of the keypad's protocol interface, after the
    // usual latency. For untrusted-input tests.
    static void injectInputReport(const std::vector<uint8_t> &report, int device = FirstDevice);
    // A hook that sees every output report to a protocol interface before the
    // firmware. Returning true means "handled": the firmware is skipped and the
    // reports pushed into `replies` are sent instead. Runs under the bus lock;
    // it must not call VirtualKeypad. Pass an empty function to remove it.
    using ReplyHook = std::function<bool(int device, const std::vector<uint8_t> &report,
                                         std::vector<std::vector<uint8_t>> &replies)>;
    static void setReplyHook(const ReplyHook &hook);

    // --- Observation -------------------------------------------------------
    // Every report written (any interface) and every report read, in order.
    // Kept up to 200000 entries; beyond that the oldest half is dropped.
    static std::vector<VirtualReportRecord> records();
    static void clearRecords();
    // Whether reports are recorded at all (on after reset()). A fuzzer that
    // never looks at the records turns them off: copying every report is a
    // large share of a run that lasts microseconds. Off, records() and the
    // request counts below see nothing.
    static void setKeepRecords(bool keep);
    // Output reports written to protocol interfaces, in order (report id first).
    static std::vector<std::vector<uint8_t>> writtenReports(int device = FirstDevice);
    // Requests with the given command code written since the last clearRecords().
    static int requestCount(int command, int device = FirstDevice);

    static int enumerateCount();        // hid_enumerate calls
    static int openPathCount();         // hid_open_path calls (successful or not)
    static int openCount(const std::string &path); // successful opens of that path
    static int closeCount();            // hid_close calls
    static int writeCount();            // hid_write calls
    static int openHandleCount();       // handles opened and not yet closed
    static void clearCounters();

    // --- Demo --------------------------------------------------------------
    // Plugs in the keypad named by ZENTRIK_VIRTUAL_KEYPAD ("16k3e" when unset;
    // unknown names are logged and fall back to "16k3e"), already holding a
    // few assignments and colours. Returns its id.
    static int installDemoKeypad();
    static int installDemoKeypad(const std::string &name);
    static std::vector<std::string> demoModelNames();
};
