#pragma once

#include <cstdint>
#include <optional>

// How the option controls map onto the Command register R0 and the Control register R1. Each takes
// the register's write copy and returns it with one field replaced; the other bits stay as they are.

// R0 bits 7 and 6: ADC enable and power-down.
inline constexpr std::uint8_t kAdcEnable = 0x80;
inline constexpr std::uint8_t kPowerDown = 0x40;
constexpr std::uint8_t commandWithPowerDown(std::uint8_t r0, bool powerDown) {
    return powerDown ? static_cast<std::uint8_t>((r0 | kPowerDown) & ~kAdcEnable)
                     : static_cast<std::uint8_t>((r0 | kAdcEnable) & ~kPowerDown);
}

// R0 bits 3..2: 0 D1 only, 1 D2 only, 2 D1 - D2.
constexpr std::uint8_t commandWithMeasurement(std::uint8_t r0, int index) {
    return static_cast<std::uint8_t>((r0 & 0xF3) | (index & 3) << 2);
}

// R0 bits 1..0: 0 = 16 bits, 1 = 12, 2 = 8, 3 = 4.
constexpr std::uint8_t commandWithResolution(std::uint8_t r0, int index) {
    return static_cast<std::uint8_t>((r0 & 0xFC) | (index & 3));
}

// R1 bits 3..2: 0 = 1k, 1 = 4k, 2 = 16k, 3 = 64k.
constexpr std::uint8_t controlWithRange(std::uint8_t r1, int index) {
    return static_cast<std::uint8_t>((r1 & 0xF3) | (index & 3) << 2);
}

// R1 bits 1..0: interrupt persistence 1, 4, 8 or 16 integrations.
constexpr std::uint8_t controlWithPersistence(std::uint8_t r1, int index) {
    return static_cast<std::uint8_t>((r1 & 0xFC) | (index & 3));
}

// R1 bit 5: the chip's interrupt flag.
constexpr bool interruptFlagSet(int r1) {
    return (r1 & 0x20) != 0;
}

// The bits of R0..R3 that keep what was written to them. R1's interrupt flag is the chip's own: a
// write does not change it, so a read-back may differ there and still hold what was written.
constexpr std::uint8_t writtenBitsOf(int reg) {
    return reg == 1 ? 0xDF : 0xFF;
}

// What the chip measures (R0 bits 3..2): the visible-and-infrared diode, the infrared one, or their
// difference. The fourth code is not a mode the chip documents; we read it as D1.
enum class Measurement { D1, D2, D1MinusD2 };
constexpr Measurement measurementOf(std::uint8_t r0) {
    const int code = (r0 >> 2) & 3;
    return code == 1 ? Measurement::D2 : code == 2 ? Measurement::D1MinusD2 : Measurement::D1;
}

// R0 bits 1..0 as the ADC's resolution: 16, 12, 8 or 4 bits.
constexpr int resolutionBitsOf(std::uint8_t r0) {
    return 16 - 4 * (r0 & 3);
}

// R1 bits 3..2 as the full-scale range in lux: 1000, 4000, 16000 or 64000.
constexpr int rangeLuxOf(std::uint8_t r1) {
    return 1000 << (2 * ((r1 >> 2) & 3));
}

// The illuminance a count stands for, in lux: the count's share of full scale times the range.
// D2 alone sees only infrared, which is no illuminance at all: no value then.
constexpr std::optional<double> illuminanceLux(int count, std::uint8_t r0, std::uint8_t r1) {
    if (measurementOf(r0) == Measurement::D2) return std::nullopt;
    return static_cast<double>(count) * rangeLuxOf(r1) / static_cast<double>(1 << resolutionBitsOf(r0));
}
