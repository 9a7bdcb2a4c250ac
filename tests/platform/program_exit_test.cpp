// Ending the program: the recording double and the real thing.
#include "platform/program_exit.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(RecordingExit, RecordsEveryRequestAndReturns) {
    RecordingExit exit;
    EXPECT_FALSE(exit.requested());
    exit.exitProgram();
    exit.exitProgram();
    EXPECT_TRUE(exit.requested());
    EXPECT_EQ(exit.count, 2);
}

TEST(ProcessExitDeathTest, ClosesFirstThenEndsTheProcessWithSuccess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ProcessExit exit;
            exit.beforeExit = [] { std::fputs("boards closed", stderr); };
            exit.exitProgram();
        },
        ::testing::ExitedWithCode(0), "boards closed");
}

}  // namespace
