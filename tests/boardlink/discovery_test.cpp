// Finding, opening and closing boards, and the box shown when there is none.
#include "tests/boardlink/link_rig.h"

namespace {

using Discovery = LinkTest;

TEST_F(Discovery, NoBoardShowsTheBoxTitledAsTheBoardNameStandsAndCancelEnds) {
    link.BoardName.clear();  // not set yet during the first search
    bus.addForeignDevice(0x1234, 0x5678);
    link.FindBoard();  // no host: the link closes and ends by itself

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "");
    EXPECT_EQ(
        dialogs.shown[0].text,
        "Please check USB connection.\r\nHalvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation "
        "Board not found.");
    EXPECT_EQ(dialogs.shown[0].buttons, DialogButtons::RetryCancel);
    EXPECT_EQ(exit.count, 1);
    EXPECT_EQ(bus.openHandleCount(), 0);
    EXPECT_EQ(link.WriteHandles, std::vector<HidHandle>{kNoHandle});
    EXPECT_EQ(link.WriteHandle, kInvalidHandle);
}

TEST_F(Discovery, RetryWithTheBoardPluggedInCarriesOn) {
    sim::SimBoard& board = bus.addBoard();
    bus.unplug(board);
    dialogs.answer(AnswerRetry);
    dialogs.answerWith([&](const MessageBoxRequest&) {
        bus.plug(board);
        return AnswerRetry;
    });
    FakeHost host(link, exit);
    link.FindBoard();

    EXPECT_EQ(dialogs.shown.size(), 2u);  // searched three times, asked twice
    EXPECT_EQ(link.MsgAnswer, 1);
    EXPECT_TRUE(link.ReadEventReady);
    EXPECT_EQ(host.inits, 1);
    EXPECT_FALSE(exit.requested());
    Bytes data(1);
    EXPECT_EQ(link.I2CRead(0x88, 1, 1, data, {0x00}), TransferSuccess);
    EXPECT_EQ(board.received.size(), 1u);
}

TEST_F(Discovery, EveryBoardIsOpenedTwiceOthersStayClosedAndTheFirstIsCurrent) {
    bus.addForeignDevice(kBoardVendorId, 0x1234);
    bus.addUnopenableDevice();
    sim::SimBoard& first = bus.addBoard();
    sim::SimBoard& second = bus.addBoard();
    bus.addForeignDevice(0x1234, kBoardProductId);
    link.FindBoard();

    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(link.WriteHandles.size(), 2u);
    ASSERT_EQ(link.ReadHandles.size(), 2u);
    EXPECT_EQ(bus.openHandleCount(), 4);
    EXPECT_NE(link.WriteHandles[0], link.ReadHandles[0]);
    // The search left WriteHandle on the last device it tried; board 0 is current again.
    EXPECT_EQ(link.I2CWrite(0x88, 1, 1, {0x12}, {0x02}), TransferSuccess);
    EXPECT_EQ(link.QueryBoard({CMD_LED, SUB_GET}), TransferSuccess);
    EXPECT_EQ(first.received.size(), 2u);
    EXPECT_TRUE(second.received.empty());

    link.CloseBoards();
    EXPECT_EQ(bus.openHandleCount(), 0);
}

}  // namespace
