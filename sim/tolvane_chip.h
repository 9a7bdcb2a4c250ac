#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "sim/light_source.h"

namespace sim {

// The light sensor at 8-bit I2C address 0x88: registers R0..R7 (R4..R7 read-only), command
// addresses 0x40 (clear interrupt) and 0x80 (end of conversion). While enabled and not powered
// down it integrates continuously; every completed integration updates R4..R7 and the interrupt.
class TolvaneChip {
public:
    static constexpr std::uint8_t kAddress = 0x88;

    explicit TolvaneChip(Clock& clock);

    // I2C as the bridge runs it. bytes[0] of a write is the register or command address.
    // A read starts at the current register and auto-increments. Both return the acknowledge.
    bool write(const std::vector<std::uint8_t>& bytes);
    bool read(std::vector<std::uint8_t>& out, std::size_t count);

    // Register contents as of now (integrations up to now are applied first).
    std::uint8_t reg(int index);
    // Test back door: sets a register without any I2C traffic.
    void setReg(int index, std::uint8_t value);

    bool interruptPending();  // R1 bit 5
    bool intLineHigh();       // the active-low INT output: true = no interrupt

    // The new light counts from now on: integrations that ended before saw the old one.
    void setLight(LightSource light);
    // When false the chip does not acknowledge any transfer (a missing or broken part).
    bool acknowledges = true;

private:
    // Time is kept in 1/128 microseconds, in which every integration time is a whole number.
    static constexpr std::uint64_t kTicksPerMs = 128000;

    void catchUp();
    void completeIntegrations(std::uint16_t count, std::uint16_t cycles, std::uint64_t howMany);
    std::uint16_t countFor(Light light) const;
    void writeRegister(std::uint8_t index, std::uint8_t value);
    void endConversion();
    void clearInterrupt();
    void restartIntegration() { integrationStart_ = nowMs_ * kTicksPerMs; }
    bool integrating() const;
    bool externalTiming() const;
    int resolutionBits() const;
    std::uint16_t fullScaleCount() const;
    std::uint64_t periodTicks() const;
    std::uint32_t clockMsAt(std::uint64_t chipMs) const;

    Clock& clock_;
    LightSource light_ = LightSource::constant(0);
    std::array<std::uint8_t, 8> regs_{};
    std::uint8_t pointer_ = 0;
    std::uint32_t lastClockMs_;           // the clock when the chip last caught up
    std::uint64_t nowMs_ = 0;             // the chip's own time since power-on: does not wrap
    std::uint64_t integrationStart_ = 0;  // in ticks of the chip's own time
    int outsideRun_ = 0;                  // consecutive integrations outside the threshold window
};

}  // namespace sim
