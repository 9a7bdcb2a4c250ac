#include "sim/sim_bus.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "sim/wire.h"

namespace sim {

namespace {

constexpr std::string_view kPathPrefix = "sim:";
constexpr std::uint16_t kBoardVersion = 0x0100;
constexpr std::uint32_t kUsbFrameMs = 1;

}  // namespace

struct SimBus::Device {
    enum class Kind { Board, Foreign, Unopenable };
    Device(Kind kind, HidAttributes attributes, std::unique_ptr<SimBoard> board = nullptr,
           std::string serial = {})
        : kind(kind), attributes(attributes), board(std::move(board)), serial(std::move(serial)) {}

    Kind kind;
    HidAttributes attributes;
    std::unique_ptr<SimBoard> board;  // evaluation boards only
    std::string serial;
    bool present = true;
    int generation = 0;             // counts unplugs: handles of an earlier generation are dead
    std::deque<InFlight> inFlight;  // answers on their way, in the order the board sent them
};

SimBus::SimBus(Clock& clock, Timing timing) : clock_(clock), timing_(timing) {}

SimBus::~SimBus() = default;

SimBoard& SimBus::addBoard(std::string serial) {
    const std::lock_guard lock(mutex_);
    const HidAttributes ids{wire::kVendorId, wire::kProductId, kBoardVersion};
    devices_.push_back(std::make_unique<Device>(Device::Kind::Board, ids, std::make_unique<SimBoard>(clock_),
                                                std::move(serial)));
    return *devices_.back()->board;
}

void SimBus::addForeignDevice(std::uint16_t vendorId, std::uint16_t productId) {
    const std::lock_guard lock(mutex_);
    devices_.push_back(
        std::make_unique<Device>(Device::Kind::Foreign, HidAttributes{vendorId, productId, 0}));
}

void SimBus::addUnopenableDevice(std::uint16_t vendorId, std::uint16_t productId) {
    const std::lock_guard lock(mutex_);
    const HidAttributes ids{vendorId, productId, kBoardVersion};
    devices_.push_back(std::make_unique<Device>(Device::Kind::Unopenable, ids));
}

void SimBus::unplug(SimBoard& board) {
    const std::lock_guard lock(mutex_);
    Device* device = deviceOf(board);
    if (!device || !device->present) return;
    device->present = false;
    ++device->generation;
    device->inFlight.clear();
    for (auto& [id, handle] : handles_)
        if (handle.device == device) handle.input.clear();
}

void SimBus::plug(SimBoard& board) {
    const std::lock_guard lock(mutex_);
    if (Device* device = deviceOf(board)) device->present = true;
}

bool SimBus::plugged(const SimBoard& board) {
    const std::lock_guard lock(mutex_);
    const Device* device = deviceOf(board);
    return device && device->present;
}

std::vector<HidInterface> SimBus::enumerate() {
    const std::lock_guard lock(mutex_);
    std::vector<HidInterface> interfaces;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        const Device& device = *devices_[i];
        if (!device.present) continue;
        interfaces.push_back({std::string(kPathPrefix) + std::to_string(i), device.attributes.vendorId,
                              device.attributes.productId, device.serial});
    }
    return interfaces;
}

HidHandle SimBus::open(const std::string& path) {
    const std::lock_guard lock(mutex_);
    openRequests_.push_back(path);
    if (!path.starts_with(kPathPrefix)) return kInvalidHandle;
    std::size_t index = 0;
    const char* first = path.data() + kPathPrefix.size();
    const char* last = path.data() + path.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc{} || end != last || first == last || index >= devices_.size())
        return kInvalidHandle;
    Device& device = *devices_[index];
    if (!device.present || device.kind == Device::Kind::Unopenable) return kInvalidHandle;
    arrive(device);  // what came before the open belongs to the handles open then
    const HidHandle handle = nextHandle_++;
    handles_[handle] = {&device, device.generation, {}};
    return handle;
}

std::optional<HidAttributes> SimBus::attributes(HidHandle handle) {
    const std::lock_guard lock(mutex_);
    if (Device* device = liveDevice(handle)) return device->attributes;
    return std::nullopt;
}

bool SimBus::write(HidHandle handle, const Report& report) {
    const std::lock_guard lock(mutex_);
    Device* device = liveDevice(handle);
    if (!device) return false;
    if (!device->board) return true;  // another kind of device: it takes the report and never answers
    arrive(*device);                  // what came before this request is logged before it
    if (auto answer = device->board->receive(report, clock_.milliseconds())) deliver(*device, *answer);
    return true;
}

bool SimBus::read(HidHandle handle, Report& report, int timeoutMs) {
    std::unique_lock lock(mutex_);
    Handle* open = liveHandle(handle);
    if (!open) return false;  // a removed device fails at once, as hidapi does
    arrive(*open->device);
    if (open->input.empty()) {
        const auto timeout = static_cast<std::uint32_t>(std::max(0, timeoutMs));
        const std::optional<std::uint32_t> due = nextArrivalIn(*open->device);
        if (!due || *due > timeout) {
            sleepUnlocked(lock, timeout);
            return false;
        }
        sleepUnlocked(lock, *due);
        open = liveHandle(handle);  // the board may have been unplugged meanwhile
        if (!open) return false;
        arrive(*open->device);
        if (open->input.empty()) return false;
    }
    report = open->input.front();
    open->input.pop_front();
    return true;
}

void SimBus::close(HidHandle handle) {
    const std::lock_guard lock(mutex_);
    handles_.erase(handle);
}

void SimBus::sleepUnlocked(std::unique_lock<std::mutex>& lock, std::uint32_t ms) {
    lock.unlock();
    clock_.sleep(ms);
    lock.lock();
}

SimBus::Handle* SimBus::liveHandle(HidHandle handle) {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return nullptr;
    const Device* device = found->second.device;
    return device->present && device->generation == found->second.generation ? &found->second : nullptr;
}

SimBus::Device* SimBus::liveDevice(HidHandle handle) {
    Handle* open = liveHandle(handle);
    return open ? open->device : nullptr;
}

SimBus::Device* SimBus::deviceOf(const SimBoard& board) {
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&board](const auto& device) { return device->board.get() == &board; });
    return found == devices_.end() ? nullptr : found->get();
}

void SimBus::deliver(Device& device, const SimBoard::Answer& answer) {
    std::uint32_t delayMs = answer.lateByMs;
    if (timing_ == Timing::Realistic) delayMs += kUsbFrameMs + (answer.busTimeUs + 999) / 1000;
    device.inFlight.push_back({clock_.milliseconds() + delayMs, answer.bytes});
    arrive(device);
}

void SimBus::arrive(Device& device) {
    // The board sends in order: an answer that is late holds back the ones behind it.
    while (nextArrivalIn(device) == 0u) {
        const InFlight& report = device.inFlight.front();
        for (auto& [id, handle] : handles_) {
            const bool open = handle.device == &device && handle.generation == device.generation;
            if (open && handle.input.size() < kHandleQueueReports) handle.input.push_back(report.bytes);
        }
        if (device.board) device.board->answerArrived(report.arrivesAtMs, report.bytes);
        device.inFlight.pop_front();
    }
}

std::optional<std::uint32_t> SimBus::nextArrivalIn(const Device& device) {
    if (device.inFlight.empty()) return std::nullopt;
    const auto wait = static_cast<std::int32_t>(device.inFlight.front().arrivesAtMs - clock_.milliseconds());
    return static_cast<std::uint32_t>(std::max(0, wait));
}

}  // namespace sim
