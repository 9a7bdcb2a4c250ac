// The two exchange patterns of the console and the link-failure box behind them.
#include "tests/boardlink/link_rig.h"

namespace {

const QString kCheckStatusText = "Please check USB connection.\r\ncheckStatus";

struct Exchange : LinkTest {
    sim::SimBoard& board = bus.addBoard();

    Exchange() { link.FindBoard(); }

    static Report report(std::initializer_list<std::uint8_t> bytes) {
        Report expected{};
        std::copy(bytes.begin(), bytes.end(), expected.begin());
        return expected;
    }
};

TEST_F(Exchange, SendCommandSendsACleanReportAndReadsNothing) {
    link.ReportBuffer.fill(0xEE);
    const std::uint32_t start = clock.milliseconds();
    EXPECT_EQ(link.SendCommand({CMD_LED, SUB_SET, 0x03}), TransferSuccess);
    ASSERT_EQ(board.received.size(), 1u);
    EXPECT_EQ(board.received[0].bytes, report({1, CMD_LED, SUB_SET, 0x03}));
    EXPECT_EQ(board.settings.leds, 0x03);
    EXPECT_EQ(clock.milliseconds(), start);  // no read waited
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Exchange, QueryBoardSendsACleanReportAndLeavesTheAnswerInTheBuffer) {
    board.settings.port1PushPull = 0xA5;
    board.settings.port2PushPull = 0x03;
    board.settings.pullUpsDisabled = 1;
    link.ReportBuffer.fill(0xEE);
    EXPECT_EQ(link.QueryBoard({CMD_GP_CONFIG, SUB_GET}), TransferSuccess);
    EXPECT_EQ(board.received.at(0).bytes, report({1, CMD_GP_CONFIG, SUB_GET}));
    EXPECT_EQ(link.ReportBuffer[1], 0);
    EXPECT_EQ(link.ReportBuffer[2], 0xA5);
    EXPECT_EQ(link.ReportBuffer[3], 0x03);
    EXPECT_EQ(link.ReportBuffer[4], 1);
    EXPECT_EQ(link.ReportBuffer[63], 0);
}

TEST_F(Exchange, QueryBoardDiscardsStaleInputBeforeAsking) {
    std::vector<std::uint8_t> data(2);
    board.delayNextAnswer(7000);
    ASSERT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferNoAnswer);
    clock.advance(2000);  // the late I2C answer is queued by now
    board.settings.sclCode = 60;

    ASSERT_EQ(link.QueryBoard({CMD_I2C_CLOCK, SUB_GET}), TransferSuccess);
    EXPECT_EQ(link.ReportBuffer[1], 0);
    EXPECT_EQ(link.ReportBuffer[2], board.settings.i2cBaseMHz);
    EXPECT_EQ(link.ReportBuffer[3], 60);
}

TEST_F(Exchange, FlushWithNothingQueuedCostsOneMillisecond) {
    const std::uint32_t start = clock.milliseconds();
    link.FlushInput();
    EXPECT_EQ(clock.milliseconds() - start, 1u);
}

TEST_F(Exchange, QueryWithoutAnswerShowsTheBoxAndCancelEnds) {
    link.TransferError = 7;
    link.AnswerStatus = 3;
    board.dropAnswers(1);
    const std::uint32_t start = clock.milliseconds();

    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), 0);  // default answer: Cancel
    EXPECT_GE(clock.milliseconds() - start, 6000u);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kCheckStatusText);
    EXPECT_EQ(dialogs.shown[0].title, "Tolvane Evaluation Board");
    EXPECT_EQ(dialogs.shown[0].buttons, DialogButtons::RetryCancel);
    EXPECT_EQ(link.MsgAnswer, AnswerCancel);
    EXPECT_EQ(link.TransferError, 7);
    EXPECT_EQ(link.AnswerStatus, 3);
    EXPECT_TRUE(exit.requested());
    EXPECT_EQ(bus.openHandleCount(), 0);
}

TEST_F(Exchange, RetryAfterAMissingAnswerReopensTheBoard) {
    const HidHandle oldWrite = link.WriteHandle;
    board.dropAnswers(1);
    dialogs.answer(AnswerRetry);

    board.settings.spiOptions = 0x06;
    // After Retry the caller decodes a cleared buffer, never an answer the new search received.
    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), TransferSuccess);
    EXPECT_EQ(link.ReportBuffer, Report{});
    EXPECT_FALSE(exit.requested());
    EXPECT_EQ(link.MsgAnswer, 1);
    EXPECT_EQ(bus.openHandleCount(), 2);
    EXPECT_NE(link.WriteHandle, oldWrite);
    EXPECT_EQ(link.QueryBoard({CMD_SPI_OPTIONS, SUB_GET}), TransferSuccess);
}

TEST_F(Exchange, FailedWriteShowsTheCheckStatusBox) {
    bus.unplug(board);
    EXPECT_EQ(link.SendCommand({CMD_LED, SUB_SET, 0x01}), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kCheckStatusText);
    EXPECT_TRUE(board.received.empty());
    EXPECT_EQ(exit.count, 1);
    EXPECT_EQ(bus.openHandleCount(), 0);
    EXPECT_EQ(link.WriteHandles, std::vector<HidHandle>{kNoHandle});
    EXPECT_EQ(link.WriteHandle, kInvalidHandle);
    EXPECT_EQ(link.ReadHandle, kInvalidHandle);

    // A query stops at the failed write: nothing is read.
    const std::uint32_t start = clock.milliseconds();
    EXPECT_EQ(link.QueryBoard({CMD_LED, SUB_GET}), 0);
    EXPECT_LE(clock.milliseconds() - start, 1u);
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(Exchange, CheckStatusAnswersGoThroughTheHost) {
    FakeHost host(link, exit);
    link.setHost(&host);
    EXPECT_EQ(link.checkStatus(1), TransferSuccess);
    EXPECT_EQ(link.checkStatus(-1), TransferSuccess);
    EXPECT_TRUE(dialogs.shown.empty());

    dialogs.answer(AnswerRetry);
    EXPECT_EQ(link.checkStatus(0), 0);
    EXPECT_EQ(host.inits, 1);
    EXPECT_EQ(host.unloads, 0);
    EXPECT_EQ(bus.openHandleCount(), 2);

    EXPECT_EQ(link.checkStatus(0), 0);  // Cancel: the console unloads, which ends the program
    EXPECT_EQ(host.unloads, 1);
    EXPECT_EQ(exit.count, 1);
    EXPECT_EQ(bus.openHandleCount(), 0);
}

}  // namespace
