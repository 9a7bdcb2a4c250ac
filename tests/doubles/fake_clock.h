#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"

// Time moves only when someone sleeps or the test advances it; boards on threads of their own read it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint32_t start = 1000) : now_(start) {}
    std::uint32_t milliseconds() override { return now_; }
    void sleep(std::uint32_t ms) override { now_ += ms; }
    void advance(std::uint32_t ms) { now_ += ms; }
    void set(std::uint32_t ms) { now_ = ms; }

private:
    std::atomic<std::uint32_t> now_;
};
