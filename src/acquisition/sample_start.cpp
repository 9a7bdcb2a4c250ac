#include "acquisition/sample_start.h"

namespace {
constexpr std::int32_t kStartEarlyMs = 4;  // close enough: take the sample now
constexpr std::int32_t kWakeEarlyMs = 3;   // sleep until this long before the due time
}  // namespace

std::uint32_t waitForSampleStart(Services& services, std::uint32_t dueMs,
                                 const std::function<bool()>& abandon) {
    for (;;) {
        std::uint32_t now = services.clock.milliseconds();
        if (static_cast<std::int32_t>(now - dueMs) >= -kStartEarlyMs) return now;
        services.events.processEvents();
        if (abandon()) return services.clock.milliseconds();
        now = services.clock.milliseconds();
        if (static_cast<std::int32_t>(now + kWakeEarlyMs - dueMs) < 0) {
            services.dueTimeWait.waitUntil(dueMs - kWakeEarlyMs);
            if (abandon()) return services.clock.milliseconds();
        }
    }
}

bool waitOutlastsRest(std::uint32_t nowMs, std::uint32_t dueMs, std::uint32_t restMs) {
    return static_cast<std::int32_t>(dueMs - (nowMs + restMs)) > kStartEarlyMs;
}
