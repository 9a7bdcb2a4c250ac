// The wait for a sample's due time, on the fake clock, beyond what the panel's runs show: the window
// events run once before the sleep and what their handlers spend comes off it; an abandoned or late
// wait ends at once, also across the counter's wrap.
#include "acquisition/sample_start.h"

#include <gtest/gtest.h>

#include "tests/doubles/test_services.h"

namespace {

TEST(DueTime, EventsRunOnceBeforeTheSleepAndWhatTheyTakeComesOffIt) {
    const struct {
        std::uint32_t start;
        std::int32_t ahead;
        std::uint32_t handlerMs;
        bool abandon;
        std::int32_t endsAt;  // relative to the due time
        int events, sleeps;
    } cases[] = {
        {1000, 100, 0, false, -3, 1, 1},    {1000, 100, 60, false, -3, 1, 1},
        {1000, 100, 98, false, -2, 1, 0},  // no sleep left: the read starts late but at once
        {1000, 1, 0, false, -1, 0, 0},      {1000, -20, 0, false, 20, 0, 0},
        {1000, 3000, 0, true, -3000, 1, 0}, {0xFFFFFFF0u, 100, 0, false, -3, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ahead << " ms ahead, handlers take " << c.handlerMs);
        TestServices test;
        test.clock.set(c.start);
        test.events.meanwhile = [&] { test.clock.advance(c.handlerMs); };
        const std::uint32_t due = c.start + static_cast<std::uint32_t>(c.ahead);
        const std::uint32_t ended = waitForSampleStart(test.services, due, [&] { return c.abandon; });
        EXPECT_EQ(static_cast<std::int32_t>(ended - due), c.endsAt);
        EXPECT_EQ(test.events.count(), c.events);
        EXPECT_EQ(test.dueTimeWait.waits, c.sleeps);
    }
}

}  // namespace
