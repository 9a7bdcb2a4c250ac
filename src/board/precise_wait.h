#pragma once

#include "platform/due_time_wait.h"

// Waits for a due time of the steady clock's millisecond counter (SteadyClock) to within a fraction of
// a millisecond: the kernel's timer wakes us at the very instant the counter reaches the due time, with
// no core watching the clock meanwhile. There is no window to keep live, so nothing else runs.
class PreciseWait final : public DueTimeWait {
public:
    void waitUntil(std::uint32_t deadlineMs) override;
    void wake() override {}
};
