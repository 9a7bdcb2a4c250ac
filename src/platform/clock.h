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
