#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every exchange with the board is one 64-byte report; byte 0 is the report id.
using Report = std::array<std::uint8_t, 64>;

using HidHandle = std::intptr_t;
inline constexpr HidHandle kNoHandle = 0;        // an empty slot of the handle lists
inline constexpr HidHandle kInvalidHandle = -1;  // "all bits set": no board selected, or open failed

// An interface as the device list shows it, with the ids listed for it, before anything opens it.
struct HidInterface {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string serial;  // the USB serial number, empty where the device has none
    bool operator==(const HidInterface&) const = default;
};

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
};

// The small seam where the operating system's HID calls would be. Backends: hidapi for real
// boards, the simulated board for the demo and the tests. Several boards may be used from several
// threads at once, one thread a handle, once the handles are open: enumerate, open and close come
// from one thread while no transfer runs.
class HidTransport {
public:
    virtual ~HidTransport() = default;
    // Every HID interface present now, each once, with its listed ids; opens nothing.
    virtual std::vector<HidInterface> enumerate() = 0;
    // A new handle on the interface, or kInvalidHandle.
    virtual HidHandle open(const std::string& path) = 0;
    virtual std::optional<HidAttributes> attributes(HidHandle handle) = 0;
    // Sends one output report; false when the write failed.
    virtual bool write(HidHandle handle, const Report& report) = 0;
    // Takes one queued input report, waiting at most timeoutMs for it; false when none arrived in
    // time or the read failed. A report that arrives later stays queued for the next read.
    virtual bool read(HidHandle handle, Report& report, int timeoutMs) = 0;
    virtual void close(HidHandle handle) = 0;
};
