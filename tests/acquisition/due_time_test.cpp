// The wait for a sample's due time, on the fake clock: how early the read starts, when window events
// run and when nothing waits at all.
#include "acquisition/due_time.h"

#include <gtest/gtest.h>

#include "tests/doubles/test_services.h"

namespace {

struct Waiting : ::testing::Test {
    TestServices test;
    // Waits for a due time `ahead` ms from now; returns when the wait ended, relative to the due time.
    std::int32_t waitFor(
        std::int32_t ahead, const std::function<bool()>& abandon = [] { return false; }) {
        const std::uint32_t due = test.clock.milliseconds() + static_cast<std::uint32_t>(ahead);
        return static_cast<std::int32_t>(waitForDueTime(test.services, due, abandon) - due);
    }
};

TEST_F(Waiting, TheReadStartsThreeMillisecondsEarlyAfterEventsAndOneSleep) {
    struct Case {
        std::int32_t ahead;
        std::int32_t endsAt;  // relative to the due time
        int events;
        int sleeps;
    };
    for (const auto& [ahead, endsAt, events, sleeps] : std::vector<Case>{{3000, -3, 1, 1},
                                                                         {100, -3, 1, 1},
                                                                         {10, -3, 1, 1},
                                                                         {5, -3, 1, 1},
                                                                         {4, -4, 0, 0},
                                                                         {1, -1, 0, 0},
                                                                         {0, 0, 0, 0},
                                                                         {-20, 20, 0, 0}}) {
        SCOPED_TRACE(ahead);
        const int eventsBefore = test.events.count();
        const int sleepsBefore = test.dueTimeWait.waits;
        EXPECT_EQ(waitFor(ahead), endsAt);
        EXPECT_EQ(test.events.count() - eventsBefore, events);
        EXPECT_EQ(test.dueTimeWait.waits - sleepsBefore, sleeps);
    }
}

// Time a handler spends during the events counts: a long handler leaves less to sleep, or none.
TEST_F(Waiting, WhatHandlersSpendMeanwhileIsTakenOffTheSleep) {
    test.events.meanwhile = [&] { test.clock.advance(60); };
    EXPECT_EQ(waitFor(100), -3);
    EXPECT_EQ(test.dueTimeWait.waits, 1);
    test.events.meanwhile = [&] { test.clock.advance(98); };
    EXPECT_EQ(waitFor(100), -2) << "no sleep is left; the read starts late but at once";
    EXPECT_EQ(test.dueTimeWait.waits, 1);
}

TEST_F(Waiting, AnAbandonedWaitEndsAtOnceAndTheCounterMayWrap) {
    EXPECT_EQ(waitFor(3000, [] { return true; }), -3000);
    EXPECT_EQ(test.dueTimeWait.waits, 0);
    test.clock.set(0xFFFFFFF0u);
    EXPECT_EQ(waitFor(100), -3);
}

}  // namespace
