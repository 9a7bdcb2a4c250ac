#pragma once

#include <cstdint>
#include <vector>

#include "platform/busy_indicator.h"
#include "platform/clock.h"

// Records when the indicator was shown and restored, on the test's clock.
class RecordingBusyIndicator final : public BusyIndicator {
public:
    explicit RecordingBusyIndicator(Clock& clock) : clock_(clock) {}
    void show() override { shownAtMs.push_back(clock_.milliseconds()); }
    void restore() override { restoredAtMs.push_back(clock_.milliseconds()); }
    bool showing() const { return shownAtMs.size() > restoredAtMs.size(); }

    std::vector<std::uint32_t> shownAtMs;
    std::vector<std::uint32_t> restoredAtMs;

private:
    Clock& clock_;
};
