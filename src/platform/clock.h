#pragma once

#include <cstdint>

// Millisecond time source. The counter is 32 bits and wraps; compare times by difference.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t milliseconds() = 0;
    virtual void sleep(std::uint32_t ms) = 0;
};

class SteadyClock final : public Clock {
public:
    std::uint32_t milliseconds() override;
    void sleep(std::uint32_t ms) override;
};

// Test clock: time moves only when someone sleeps or the test advances it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint32_t start = 1000) : now_(start) {}
    std::uint32_t milliseconds() override { return now_; }
    void sleep(std::uint32_t ms) override { now_ += ms; }
    void advance(std::uint32_t ms) { now_ += ms; }
    void set(std::uint32_t ms) { now_ = ms; }

private:
    std::uint32_t now_;
};
