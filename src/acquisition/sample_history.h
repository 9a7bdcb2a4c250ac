#pragma once

#include <array>
#include <cstdint>

// The readings of the current collection run, by sample index. The first ten are a settling phase:
// stored and shown, but neither plotted nor counted.
struct SampleHistory {
    static constexpr int kSize = 1101;       // elements 0..1100
    static constexpr int kLastIndex = 1010;  // later samples overwrite this element
    static constexpr int kSettling = 10;

    std::array<double, kSize> AdcHistory{};
    std::array<double, kSize> IntegrationHistory{};
    std::int16_t SampleIndex = 0;
    double PlotValue = 0;
    // A "Write to Disk" has written this run's readings since it started.
    bool savedSinceRunStart = false;

    // A new run: elements 0..1010 of both histories 1.0, SampleIndex 0.
    void startRun();
    // Stores a count at SampleIndex; it becomes the value plotted and shown.
    void store(double count);
    // Moves to the next index, staying at 1010 once there.
    void advance();
    // Readings counted so far (the settling samples are not).
    int counted() const { return SampleIndex - kSettling; }
    bool plotting() const { return SampleIndex > kSettling; }
};
