#include "board/precise_wait.h"

#include <chrono>
#include <thread>

void PreciseWait::waitUntil(std::uint32_t deadlineMs) {
    using std::chrono::milliseconds;
    using std::chrono::steady_clock;
    // SteadyClock's counter is this clock's milliseconds, so its due time is an instant of this clock.
    const milliseconds now = std::chrono::duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
    const auto remaining = static_cast<std::int32_t>(deadlineMs - static_cast<std::uint32_t>(now.count()));
    if (remaining > 0) std::this_thread::sleep_until(steady_clock::time_point(now + milliseconds(remaining)));
}
