#include "platform/delay.h"

#include <cmath>
#include <cstdint>

void Delay(Clock& clock, EventPump& events, double seconds) {
    if (!(seconds > 0)) return;
    // The counter is monotonic, so unlike a time of day it has no midnight to cross; differences
    // also stay right when the 32-bit counter wraps.
    const std::uint32_t start = clock.milliseconds();
    const auto wanted = static_cast<std::uint32_t>(std::llround(seconds * 1000.0));
    while (clock.milliseconds() - start < wanted) {
        clock.sleep(4);
        events.processEvents();
    }
}
