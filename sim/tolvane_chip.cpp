#include "sim/tolvane_chip.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sim {

namespace {

// R0
constexpr std::uint8_t kAdcEnable = 0x80;
constexpr std::uint8_t kPowerDown = 0x40;
constexpr std::uint8_t kExternalTiming = 0x20;
// R1
constexpr std::uint8_t kInterruptFlag = 0x20;
// Command addresses
constexpr std::uint8_t kClearInterrupt = 0x40;
constexpr std::uint8_t kEndOfConversion = 0x80;

constexpr int kRegisterCount = 8;
constexpr int kFirstReadOnly = 4;
constexpr std::array<double, 4> kFullScaleLux{1000, 4000, 16000, 64000};
constexpr std::array<int, 4> kPersistence{1, 4, 8, 16};
constexpr int kLongestPersistence = 16;
constexpr int kFullResolutionBits = 16;
constexpr std::uint16_t kCounterMax = 0xFFFF;

// A 16-bit integration takes 100 ms, i.e. 2^16 cycles of the internal clock.
constexpr std::uint64_t kFullIntegrationMs = 100;
constexpr std::uint64_t kCyclesPerFullIntegration = 65536;

// Integrations that ended longer ago than this are not evaluated one by one after a long gap: they can
// no longer show in the count, and a full interrupt run still fits many times in what is left. Only an
// excursion that came and went unseen before that is forgotten.
constexpr std::uint64_t kLookbackMs = 60000;

}  // namespace

TolvaneChip::TolvaneChip(Clock& clock) : clock_(clock), lastClockMs_(clock.milliseconds()) {
    regs_[2] = 0xFF;  // high threshold at the top: no interrupt until someone sets a window
}

bool TolvaneChip::write(const std::vector<std::uint8_t>& bytes) {
    if (!acknowledges) return false;
    catchUp();
    if (bytes.empty()) return true;
    if (bytes[0] == kClearInterrupt) {
        clearInterrupt();
        return true;
    }
    if (bytes[0] == kEndOfConversion) {
        endConversion();
        return true;
    }
    pointer_ = bytes[0];
    for (std::size_t i = 1; i < bytes.size(); ++i) writeRegister(pointer_++, bytes[i]);
    return true;
}

bool TolvaneChip::read(std::vector<std::uint8_t>& out, std::size_t count) {
    if (!acknowledges) return false;
    catchUp();
    out.resize(count);
    for (auto& byte : out) {
        byte = pointer_ < kRegisterCount ? regs_[pointer_] : 0;
        ++pointer_;
    }
    return true;
}

std::uint8_t TolvaneChip::reg(int index) {
    catchUp();
    return index >= 0 && index < kRegisterCount ? regs_[static_cast<std::size_t>(index)] : 0;
}

void TolvaneChip::setReg(int index, std::uint8_t value) {
    if (index < 0 || index >= kRegisterCount) return;
    catchUp();
    regs_[static_cast<std::size_t>(index)] = value;
    if (index < kFirstReadOnly) restartIntegration();
}

void TolvaneChip::setLight(LightSource light) {
    catchUp();
    light_ = std::move(light);
}

bool TolvaneChip::interruptPending() {
    catchUp();
    return (regs_[1] & kInterruptFlag) != 0;
}

bool TolvaneChip::intLineHigh() {
    return !interruptPending();
}

std::uint16_t TolvaneChip::fullScaleCount() const {
    return static_cast<std::uint16_t>((1u << resolutionBits()) - 1);
}

void TolvaneChip::writeRegister(std::uint8_t index, std::uint8_t value) {
    if (index >= kFirstReadOnly) return;  // R4..R7 and the unused addresses take nothing
    if (index == 1)
        value = static_cast<std::uint8_t>((value & ~kInterruptFlag) | (regs_[1] & kInterruptFlag));
    regs_[index] = value;
    restartIntegration();
}

void TolvaneChip::clearInterrupt() {
    regs_[1] &= static_cast<std::uint8_t>(~kInterruptFlag);
    outsideRun_ = 0;  // a new interrupt needs a full new run
}

void TolvaneChip::endConversion() {
    if (!integrating() || !externalTiming()) return;
    const std::uint64_t fullTicks = kFullIntegrationMs * kTicksPerMs;
    const std::uint64_t elapsed = std::min(nowMs_ * kTicksPerMs - integrationStart_, 2 * fullTicks);
    const auto cycles = static_cast<std::uint16_t>(
        std::min<std::uint64_t>(elapsed * kCyclesPerFullIntegration / fullTicks, kCounterMax));
    completeIntegrations(countFor(light_.at(lastClockMs_)), cycles, 1);
    restartIntegration();
}

void TolvaneChip::catchUp() {
    const std::uint32_t clockNow = clock_.milliseconds();
    nowMs_ += static_cast<std::uint32_t>(clockNow - lastClockMs_);
    lastClockMs_ = clockNow;
    if (!integrating() || externalTiming()) return;

    const std::uint64_t period = periodTicks();
    std::uint64_t due = (nowMs_ * kTicksPerMs - integrationStart_) / period;
    const std::uint64_t lookback = kLookbackMs * kTicksPerMs / period;
    if (due > lookback) {
        integrationStart_ += (due - lookback) * period;
        due = lookback;
        outsideRun_ = 0;
    }
    const auto cycles = static_cast<std::uint16_t>(std::min<std::uint64_t>(
        kCyclesPerFullIntegration >> (kFullResolutionBits - resolutionBits()), kCounterMax));
    while (due > 0) {
        const std::uint64_t endMs = (integrationStart_ + period) / kTicksPerMs;
        // The light changes at most once a millisecond: integrations ending in the same one read alike.
        const std::uint64_t sameMs =
            std::min(due, ((endMs + 1) * kTicksPerMs - 1 - integrationStart_) / period);
        completeIntegrations(countFor(light_.at(clockMsAt(endMs))), cycles, sameMs);
        integrationStart_ += sameMs * period;
        due -= sameMs;
    }
}

void TolvaneChip::completeIntegrations(std::uint16_t count, std::uint16_t cycles, std::uint64_t howMany) {
    regs_[4] = static_cast<std::uint8_t>(count & 0xFF);
    regs_[5] = static_cast<std::uint8_t>(count >> 8);
    regs_[6] = static_cast<std::uint8_t>(cycles & 0xFF);
    regs_[7] = static_cast<std::uint8_t>(cycles >> 8);
    const bool outside = count > regs_[2] * 256 || count < regs_[3] * 256;
    outsideRun_ =
        outside ? static_cast<int>(std::min<std::uint64_t>(outsideRun_ + howMany, kLongestPersistence)) : 0;
    if (outsideRun_ >= kPersistence[regs_[1] & 0x03]) regs_[1] |= kInterruptFlag;
}

std::uint16_t TolvaneChip::countFor(Light light) const {
    double lux = light.d1;  // 00 and 11: D1
    switch ((regs_[0] >> 2) & 0x03) {
        case 0x01:
            lux = light.d2;
            break;
        case 0x02:
            lux = std::max(0.0, light.d1 - light.d2);
            break;
    }
    const double fullScale = fullScaleCount();
    const double scaled = lux / kFullScaleLux[(regs_[1] >> 2) & 0x03] * fullScale;
    return static_cast<std::uint16_t>(std::lround(std::clamp(scaled, 0.0, fullScale)));
}

bool TolvaneChip::integrating() const {
    return (regs_[0] & (kAdcEnable | kPowerDown)) == kAdcEnable;
}

bool TolvaneChip::externalTiming() const {
    return (regs_[0] & kExternalTiming) != 0;
}

int TolvaneChip::resolutionBits() const {
    return kFullResolutionBits - 4 * (regs_[0] & 0x03);
}

std::uint64_t TolvaneChip::periodTicks() const {
    // Each four bits fewer integrate sixteen times shorter.
    return (kFullIntegrationMs * kTicksPerMs) >> (kFullResolutionBits - resolutionBits());
}

std::uint32_t TolvaneChip::clockMsAt(std::uint64_t chipMs) const {
    return lastClockMs_ - static_cast<std::uint32_t>(nowMs_ - chipMs);
}

}  // namespace sim
