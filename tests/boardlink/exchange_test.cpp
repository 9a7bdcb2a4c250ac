// The two exchange patterns of the console and the link-failure box behind them.
#include "tests/boardlink/link_rig.h"

namespace {

const QString kCheckStatusText = "Please check USB connection.\r\ncheckStatus";

struct Exchange : LinkTest {
    sim::SimBoard& board = bus.addBoard();

    Exchange() { link.FindBoard(); }

    // A cleared report holding the given bytes from byte 0 on.
    static Report report(std::initializer_list<std::uint8_t> bytes) {
        Report expected{};
        std::copy(bytes.begin(), bytes.end(), expected.begin());
        return expected;
    }
};

TEST_F(Exchange, SendCommandSendsACleanReportAndReadsNothing) {
    link.ReportBuffer.fill(0xEE);
    EXPECT_EQ(link.SendCommand({CMD_LED, SUB_SET, 0x03}), TransferSuccess);
    ASSERT_EQ(board.received.size(), 1u);
    EXPECT_EQ(board.received[0].bytes, report({1, CMD_LED, SUB_SET, 0x03}));
    EXPECT_EQ(board.settings.leds, 0x03);
    EXPECT_EQ(clock.milliseconds(), 1000u);  // no read waited
    EXPECT_EQ(link.checkStatus(-1), TransferSuccess);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Exchange, QueryBoardDiscardsStaleInputThenSendsACleanReportAndKeepsItsAnswer) {
    Bytes data(2);
    board.delayNextAnswer(7000);
    ASSERT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferNoAnswer);
    clock.advance(2000);  // the late I2C answer is queued by now
    board.settings.port1PushPull = 0xA5;
    link.ReportBuffer.fill(0xEE);

    ASSERT_EQ(link.QueryBoard({CMD_GP_CONFIG, SUB_GET}), TransferSuccess);
    EXPECT_EQ(board.received.back().bytes, report({1, CMD_GP_CONFIG, SUB_GET}));
    EXPECT_EQ(link.ReportBuffer, report({1, 0, 0xA5, 0, 0}));
    EXPECT_EQ(clock.milliseconds(), 1000u + 6000 + 2000 + 1);  // one flush read came up empty
}

// The simple read's drain: what has arrived goes, what is still on its way is not waited for.
TEST_F(Exchange, DrainingTakesWhatHasArrivedAndWaitsForNothing) {
    link.DrainQueuedInput();
    EXPECT_EQ(clock.milliseconds(), 1000u) << "free when nothing is queued";

    Bytes data(1);
    board.chip.setReg(0, 0x8C);
    board.delayNextAnswer(7000);
    ASSERT_EQ(link.I2CRead(0x88, 1, 1, data, {0x00}), TransferNoAnswer);
    clock.advance(2000);  // the late answer is queued by now
    board.delayNextAnswer(500);
    ASSERT_TRUE(link.SendCommand({CMD_LED, SUB_GET}));  // its answer is still on the way
    link.ReportBuffer.fill(0xEE);
    const std::uint32_t before = clock.milliseconds();
    link.DrainQueuedInput();
    EXPECT_EQ(clock.milliseconds(), before);
    EXPECT_EQ(link.ReportBuffer[1], 0xEE) << "ReportBuffer keeps the last real exchange";
    EXPECT_EQ(link.ReadAnswer(), TransferSuccess) << "the answer on its way still comes";
    EXPECT_EQ(clock.milliseconds(), before + 500);
}

TEST_F(Exchange, QueryWithoutAnswerShowsTheBoxAndCancelUnloadsTheConsole) {
    FakeHost host(link, exit);
    link.TransferError = 7;
    link.AnswerStatus = 3;
    board.dropAnswers(1);

    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), 0);  // default answer: Cancel
    EXPECT_EQ(clock.milliseconds(), 1000u + 1 + 6000);          // the flush, then the wait
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kCheckStatusText);
    EXPECT_EQ(dialogs.shown[0].title, "Tolvane Evaluation Board");
    EXPECT_EQ(dialogs.shown[0].buttons, DialogButtons::RetryCancel);
    EXPECT_EQ(link.TransferError, 7);  // untouched on this path
    EXPECT_EQ(link.AnswerStatus, 3);
    EXPECT_EQ(host.unloads, 1);
    EXPECT_EQ(bus.openHandleCount(), 0);
}

// Retry searches afresh: the old handles are closed first, the board is opened anew.
TEST_F(Exchange, RetryAfterAMissingAnswerReopensTheBoard) {
    const HidHandle oldWrite = link.WriteHandle;
    board.dropAnswers(1);
    board.settings.spiOptions = 0x06;
    dialogs.answer(AnswerRetry);

    // The missing answer is not decoded, not even after the new search.
    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), 0);
    EXPECT_FALSE(exit.requested());
    EXPECT_EQ(bus.openHandleCount(), 2);
    EXPECT_NE(link.WriteHandle, oldWrite);
    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), TransferSuccess);
    EXPECT_EQ(link.ReportBuffer[2], 0x06);
}

TEST_F(Exchange, AFailedWriteShowsTheBoxAndAQueryStopsThere) {
    bus.unplug(board);
    EXPECT_EQ(link.SendCommand({CMD_LED, SUB_SET, 0x01}), 0);
    EXPECT_EQ(link.QueryBoard({CMD_LED, SUB_GET}), 0);
    EXPECT_EQ(clock.milliseconds(), 1000u);  // no answer awaited
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, kCheckStatusText);
    EXPECT_TRUE(exit.requested());  // Cancel, without a console: the link closes and ends by itself
    EXPECT_EQ(bus.openHandleCount(), 0);
}

}  // namespace
