#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "boardlink/hid_transport.h"
#include "platform/clock.h"
#include "sim/sim_board.h"
#include "sim/wire.h"

namespace sim {

enum class Timing {
    Instant,    // answers are there at once
    Realistic,  // an answer comes a USB frame (1 ms) plus the I2C bus time after its request
};

// The USB bus as the program sees it through HidTransport: evaluation boards, other HID devices
// and the faults of plugging and unplugging. Each board may be used from a thread of its own: a lock
// keeps the bus whole, and a read lets go of it while it waits, so boards answer side by side.
class SimBus final : public HidTransport {
public:
    explicit SimBus(Clock& clock, Timing timing = Timing::Instant);
    ~SimBus() override;

    // A board, with the USB serial number it lists (none when empty).
    SimBoard& addBoard(std::string serial = {});
    // A HID device that is not an evaluation board.
    void addForeignDevice(std::uint16_t vendorId, std::uint16_t productId);
    // A HID interface that is listed but cannot be opened (no permission, another program holds it);
    // by default it is listed with the evaluation board's ids.
    void addUnopenableDevice(std::uint16_t vendorId = wire::kVendorId,
                             std::uint16_t productId = wire::kProductId);

    // Unplugged: writes fail, nothing answers, the board is not enumerated. Plugging it back in
    // needs a new search (new handles), as with real hardware.
    void unplug(SimBoard& board);
    void plug(SimBoard& board);
    bool plugged(const SimBoard& board);

    void setTiming(Timing timing) { timing_ = timing; }
    int openHandleCount() const { return static_cast<int>(handles_.size()); }
    // Every path open() was asked for, in order, whether the open succeeded or not.
    const std::vector<std::string>& openRequests() const { return openRequests_; }

    // Every handle gets its own copy of each input report that arrives while it is open, as each open
    // hidraw file does; it keeps at most this many unread and drops newer ones.
    static constexpr std::size_t kHandleQueueReports = 64;

    // HidTransport
    std::vector<HidInterface> enumerate() override;
    HidHandle open(const std::string& path) override;
    std::optional<HidAttributes> attributes(HidHandle handle) override;
    bool write(HidHandle handle, const Report& report) override;
    bool read(HidHandle handle, Report& report, int timeoutMs) override;
    void close(HidHandle handle) override;

private:
    struct Device;
    struct InFlight {
        std::uint32_t arrivesAtMs;
        Report bytes;
    };
    struct Handle {
        Device* device;
        int generation;            // the plug-in generation the handle was opened in
        std::deque<Report> input;  // what arrived while the handle was open and was not read yet
    };

    // The open handle, or nullptr when the handle is unknown or its device went away.
    Handle* liveHandle(HidHandle handle);
    Device* liveDevice(HidHandle handle);
    Device* deviceOf(const SimBoard& board);
    void deliver(Device& device, const SimBoard::Answer& answer);
    // Sleeps on the clock without holding the bus.
    void sleepUnlocked(std::unique_lock<std::mutex>& lock, std::uint32_t ms);
    // Hands every report whose time has come to each handle open on the device at that moment.
    void arrive(Device& device);
    // Milliseconds until the device's next report arrives, if one is on its way.
    std::optional<std::uint32_t> nextArrivalIn(const Device& device);

    std::mutex mutex_;
    Clock& clock_;
    Timing timing_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::map<HidHandle, Handle> handles_;
    std::vector<std::string> openRequests_;
    HidHandle nextHandle_ = 0x100;
};

}  // namespace sim
