#pragma once

#include <cstdint>

// How the option controls map onto the Command register R0 and the Control register R1. Each takes
// the register's write copy and returns it with one field replaced; the other bits stay as they are.

// R0 bits 7 and 6: ADC enable and power-down.
constexpr std::uint8_t commandWithPowerDown(std::uint8_t r0, bool powerDown) {
    return powerDown ? static_cast<std::uint8_t>((r0 | 0x40) & 0x7F)
                     : static_cast<std::uint8_t>((r0 | 0x80) & 0xBF);
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
