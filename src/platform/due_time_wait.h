#pragma once

#include <cstdint>

#include "platform/clock.h"

class QEventLoop;

// Waits until a time on the millisecond counter while the windows stay live: clicks, repaints and
// timers are handled during the whole wait, and the processor is idle. wake() ends the wait early.
class DueTimeWait {
public:
    virtual ~DueTimeWait() = default;
    virtual void waitUntil(std::uint32_t deadlineMs) = 0;
    virtual void wake() = 0;
};

// The window system's event loop with a precise timer for the deadline.
class EventLoopWait final : public DueTimeWait {
public:
    explicit EventLoopWait(Clock& clock) : clock_(clock) {}
    void waitUntil(std::uint32_t deadlineMs) override;
    void wake() override;

private:
    Clock& clock_;
    QEventLoop* waiting_ = nullptr;  // the innermost wait, if one runs
};
