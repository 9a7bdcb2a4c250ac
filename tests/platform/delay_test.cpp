// Delay waits on the program's clock in 4 ms sleeps and lets window events run while it waits.
#include "platform/delay.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct DelayTest : ::testing::Test {
    FakeClock clock;
    EventPump events;
};

TEST_F(DelayTest, WaitsTheTimeInFourMillisecondStepsProcessingEvents) {
    Delay(clock, events, 0.1);
    EXPECT_EQ(clock.milliseconds(), 1100u);
    EXPECT_EQ(events.count(), 25);

    Delay(clock, events, 0.01);  // whole steps, until at least the time has passed
    EXPECT_EQ(clock.milliseconds(), 1112u);
    EXPECT_EQ(events.count(), 28);
}

TEST_F(DelayTest, NothingOrLessReturnsAtOnce) {
    Delay(clock, events, 0);
    Delay(clock, events, -1);
    Delay(clock, events, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(clock.milliseconds(), 1000u);
    EXPECT_EQ(events.count(), 0);
}

TEST_F(DelayTest, SurvivesTheCounterWrapping) {
    clock.set(0xFFFFFFF0u);
    Delay(clock, events, 0.1);
    EXPECT_EQ(clock.milliseconds(), 0xFFFFFFF0u + 100u);  // 84 after the wrap
    EXPECT_EQ(events.count(), 25);
}

TEST_F(DelayTest, CountsTimeSpentInEventsNotSteps) {
    // A handler running during the wait uses up time of its own.
    int nested = 0;
    events.meanwhile = [&] {
        ++nested;
        clock.advance(46);
    };
    Delay(clock, events, 0.1);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(clock.milliseconds(), 1100u);
}

}  // namespace
