#pragma once

#include <cstdint>

#include "platform/due_time_wait.h"
#include "tests/doubles/fake_clock.h"

// Jumps the fake clock to the deadline.
class FakeDueTimeWait final : public DueTimeWait {
public:
    explicit FakeDueTimeWait(FakeClock& clock) : clock_(clock) {}
    void waitUntil(std::uint32_t deadlineMs) override;
    void wake() override { ++wakes; }
    int waits = 0;
    int wakes = 0;

private:
    FakeClock& clock_;
};
