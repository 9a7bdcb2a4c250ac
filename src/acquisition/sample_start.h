#pragma once

#include <cstdint>
#include <functional>

#include "platform/services.h"

// Waits until a sample may start, on the millisecond counter: its read starts about 3 to 4 ms before
// its due time, so that it is done by then. While more than 4 ms remain, window events run and the
// processor sleeps until 3 ms before the due time; with less than 4 ms left (or the time past) nothing
// waits and no events run. `abandon` is asked after each round of events: true ends the wait at once.
// Returns the counter reading at which the wait ended.
std::uint32_t waitForSampleStart(Services& services, std::uint32_t dueMs,
                                 const std::function<bool()>& abandon);

// Whether, `restMs` from `nowMs`, the wait for a sample due at `dueMs` would still have to wait: a rest
// that long before that wait then starts the sample no later.
bool waitOutlastsRest(std::uint32_t nowMs, std::uint32_t dueMs, std::uint32_t restMs);
