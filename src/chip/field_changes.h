#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "chip/chip_map.h"
#include "chip/register_bits.h"

// The operating fields a user names by value, each as the option index the register model takes (the
// names below, in order); a field not named stays as the chip holds it.
struct FieldChanges {
    std::optional<int> mode;                // d1, d2, d1-d2
    std::optional<int> resolution;          // 16, 12, 8, 4 bits
    std::optional<int> range;               // 1k, 4k, 16k, 64k
    std::optional<bool> powerDown;          // off: ADC and chip powered down; on: running
    std::optional<int> persistence;         // 1, 4, 8, 16 integrations
    std::optional<std::uint8_t> highLimit;  // R2, the high threshold's upper byte
    std::optional<std::uint8_t> lowLimit;   // R3
};

inline constexpr std::array<const char*, 3> kModeNames{"d1", "d2", "d1-d2"};
inline constexpr std::array<const char*, 4> kResolutionNames{"16", "12", "8", "4"};
inline constexpr std::array<const char*, 4> kRangeNames{"1k", "4k", "16k", "64k"};
inline constexpr std::array<const char*, 2> kPowerNames{"on", "off"};
inline constexpr std::array<const char*, 4> kPersistenceNames{"1", "4", "8", "16"};

// R0..R3 as the changes leave them, from what the chip holds now; none for a register no named field
// is in, which is then left alone.
using WritableRegisters = std::array<std::optional<std::uint8_t>, kWritableCount>;
constexpr WritableRegisters withFields(const std::array<std::uint8_t, kWritableCount>& current,
                                       const FieldChanges& changes) {
    WritableRegisters target;
    if (changes.mode || changes.resolution || changes.powerDown) {
        std::uint8_t r0 = current[0];
        if (changes.mode) r0 = commandWithMeasurement(r0, *changes.mode);
        if (changes.resolution) r0 = commandWithResolution(r0, *changes.resolution);
        if (changes.powerDown) r0 = commandWithPowerDown(r0, *changes.powerDown);
        target[0] = r0;
    }
    if (changes.range || changes.persistence) {
        std::uint8_t r1 = current[1];
        if (changes.range) r1 = controlWithRange(r1, *changes.range);
        if (changes.persistence) r1 = controlWithPersistence(r1, *changes.persistence);
        target[1] = r1;
    }
    target[2] = changes.highLimit;
    target[3] = changes.lowLimit;
    return target;
}
