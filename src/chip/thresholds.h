#pragma once

#include <QString>
#include <cstdint>

// The interrupt thresholds are 16-bit counts of which the chip keeps only the upper byte, so the
// panel accepts multiples of 256 and rounds other entries down to one.
struct ThresholdEntry {
    enum class Verdict {
        NotANumber,  // the register is written from its hexadecimal box unchanged
        OutOfRange,  // message, box reset, nothing written
        Accepted,
    };
    Verdict verdict = Verdict::NotANumber;
    // Accepted: the threshold after rounding; `adjusted` says the box must show it because it
    // differs from what was typed.
    long value = 0;
    bool adjusted = false;
    std::uint8_t registerValue = 0;
};

// Entries are first rounded to a whole number, halves to the even neighbour.
// High limit: 256..65280.
ThresholdEntry checkHighThreshold(const QString& text);
// Low limit: 0 or 256..65280; 1..255 rounds down to 0.
ThresholdEntry checkLowThreshold(const QString& text);
