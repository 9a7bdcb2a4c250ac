#pragma once

#include <cstdint>

// Where the Tolvane sits on the board's I2C bus and what it answers there.

// Its address in the 8-bit write form the program uses everywhere (the 7-bit address is 0x44).
inline constexpr std::uint8_t kChipAddress = 0x88;

// R0..R7: R0..R3 are written and read back, R4..R7 are only read.
inline constexpr int kRegisterCount = 8;
inline constexpr int kWritableCount = 4;

// A one-byte write to this "register" clears the chip's interrupt.
inline constexpr std::uint8_t kClearInterruptCommand = 0x40;

// A one-byte write to this "register" ends a conversion when the chip runs on an external time base.
inline constexpr std::uint8_t kEndOfConversionCommand = 0x80;

// The ADC count: R4 its low byte, R5 its high byte.
inline constexpr std::uint8_t kCountRegister = 4;
constexpr int countOf(std::uint8_t low, std::uint8_t high) {
    return high * 256 + low;
}
