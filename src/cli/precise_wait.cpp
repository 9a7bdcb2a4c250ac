#include "cli/precise_wait.h"

#include <cstdint>

namespace {

// The last stretch is watched rather than slept: about half a millisecond of one core per wait.
constexpr std::int32_t kWatchedMs = 1;

}  // namespace

void PreciseWait::waitUntil(std::uint32_t deadlineMs) {
    for (;;) {
        const auto remaining = static_cast<std::int32_t>(deadlineMs - clock_.milliseconds());
        if (remaining <= 0) return;
        // Watching without yielding: a yield hands the core to whatever else is runnable, for as long
        // as the scheduler likes, and on a busy machine that is what makes a reading late.
        if (remaining > kWatchedMs) clock_.sleep(static_cast<std::uint32_t>(remaining - kWatchedMs));
    }
}
