#pragma once

#include <atomic>
#include <cstdint>

#include "platform/due_time_wait.h"
#include "tests/doubles/fake_clock.h"

// Jumps the fake clock to the deadline.
class FakeDueTimeWait final : public DueTimeWait {
public:
    explicit FakeDueTimeWait(FakeClock& clock) : clock_(clock) {}
    void waitUntil(std::uint32_t deadlineMs) override {
        ++waits;
        const auto remaining = static_cast<std::int32_t>(deadlineMs - clock_.milliseconds());
        if (remaining > 0) clock_.advance(static_cast<std::uint32_t>(remaining));
    }
    void wake() override { ++wakes; }
    std::atomic<int> waits = 0, wakes = 0;  // boards on threads of their own wait at once

private:
    FakeClock& clock_;
};
