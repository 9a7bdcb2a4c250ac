#include "tests/doubles/fake_due_time_wait.h"

void FakeDueTimeWait::waitUntil(std::uint32_t deadlineMs) {
    ++waits;
    const auto remaining = static_cast<std::int32_t>(deadlineMs - clock_.milliseconds());
    if (remaining > 0) clock_.advance(static_cast<std::uint32_t>(remaining));
}
