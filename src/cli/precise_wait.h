#pragma once

#include "platform/due_time_wait.h"

// Waits for a due time on a real clock to within its millisecond: sleeps until shortly before it,
// then watches the clock, because a sleep may end a fraction of a millisecond late or more. There is
// no window to keep live, so nothing else runs meanwhile.
class PreciseWait final : public DueTimeWait {
public:
    explicit PreciseWait(Clock& clock) : clock_(clock) {}
    void waitUntil(std::uint32_t deadlineMs) override;
    void wake() override {}

private:
    Clock& clock_;
};
