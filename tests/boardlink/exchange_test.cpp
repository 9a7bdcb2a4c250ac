// The link on its own, as tolvane-cli uses it: which board is current, stale input, the busy sign.
#include "tests/boardlink/link_rig.h"
#include "tests/doubles/reports.h"

namespace {

using Exchange = LinkTest;

TEST_F(Exchange, WithoutAConsoleTheFirstBoardFoundIsCurrent) {
    sim::SimBoard& second = bus.addBoard();
    link.FindBoard();
    EXPECT_EQ(link.QueryBoard({CMD_LED, SUB_GET}), TransferSuccess);
    EXPECT_EQ(board.received.size(), 1u);
    EXPECT_TRUE(second.received.empty());
}

// A late answer still queued is discarded before the query goes out (the flush read waits 1 ms).
TEST_F(Exchange, QueryBoardDiscardsStaleInputThenSendsACleanReportAndKeepsItsAnswer) {
    Bytes data(2);
    board.delayNextAnswer(7000);
    ASSERT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferNoAnswer);
    clock.advance(2000);  // the late I2C answer is queued by now
    board.settings.port1PushPull = 0xA5;
    link.ReportBuffer.fill(0xEE);

    ASSERT_EQ(link.QueryBoard({CMD_GP_CONFIG, SUB_GET}), TransferSuccess);
    EXPECT_EQ(board.received.back().bytes, reportOf({1, CMD_GP_CONFIG, SUB_GET}));
    EXPECT_EQ(link.ReportBuffer, reportOf({1, 0, 0xA5, 0, 0}));
    EXPECT_EQ(clock.milliseconds(), 1000u + 6000 + 2000 + 1);
}

// A board that is gone fails at once: no wait, no busy sign.
TEST_F(Exchange, AnUnpluggedBoardFailsAtOnceWithoutTheBusySign) {
    bus.unplug(board);
    EXPECT_EQ(link.ReadAnswer(), TransferNoAnswer);
    EXPECT_EQ(clock.milliseconds(), 1000u);
    EXPECT_TRUE(busy.shownAtMs.empty());
}

}  // namespace
