// Finding, opening and closing boards, and the box shown when there is none.
#include <functional>

#include "tests/boardlink/link_rig.h"

namespace {

using Discovery = LinkTest;

const QString kNotFoundText =
    "Please check USB connection.\r\nHalvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board "
    "not found.";
const QString kNoPermissionLine =
    "\r\nA board was found but could not be opened: no permission to use it. Install the udev rule (see "
    "the README), then unplug the board and plug it in again.";

TEST_F(Discovery, NoBoardShowsTheBoxTitledAsTheBoardNameStandsAndCancelEnds) {
    link.BoardName.clear();  // not set yet during the first search
    bus.addForeignDevice(0x1234, 0x5678);
    link.FindBoard();  // no host: the link closes and ends by itself

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "");
    EXPECT_EQ(dialogs.shown[0].text, kNotFoundText);
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

// The board's identity as the protocol gives it, written out: near misses and swaps are not boards.
TEST_F(Discovery, OnlyVendor7C4BWithProduct2019IsABoard) {
    for (const auto& [vendor, product] :
         {std::pair{0x7C4A, 0x2019}, {0x7C4B, 0x2018}, {0x2019, 0x7C4B}, {0x4B7C, 0x1920}, {0x7C4B, 0x0000}})
        bus.addForeignDevice(static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product));
    bus.addForeignDevice(0x7C4B, 0x2019);
    link.FindBoard();

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(link.WriteHandles.size(), 1u);
    EXPECT_EQ(bus.openHandleCount(), 2);  // the one match, twice
}

TEST_F(Discovery, EveryBoardIsOpenedTwiceOthersStayClosedAndTheFirstIsCurrent) {
    bus.addForeignDevice(kBoardVendorId, 0x1234);
    bus.addUnopenableDevice();
    sim::SimBoard& first = bus.addBoard();
    sim::SimBoard& second = bus.addBoard();
    bus.addForeignDevice(0x1234, kBoardProductId);
    link.FindBoard();

    EXPECT_TRUE(dialogs.shown.empty()) << "a board that opened: no box, whatever else refused";
    EXPECT_EQ(bus.openRequests(), (std::vector<std::string>{"sim:1", "sim:2", "sim:2", "sim:3", "sim:3"}))
        << "only what is listed with both of the board's ids is opened";
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

// What the box says when nothing opened, by what the bus lists.
TEST(DiscoveryBox, ABoardListedButRefusedAddsThePermissionLineToTheNotFoundBox) {
    struct Case {
        const char* bus;
        std::function<void(sim::SimBus&)> fill;
        QString text;
    };
    const std::vector<Case> cases = {
        {"nothing", [](sim::SimBus&) {}, kNotFoundText},
        {"a mouse that refuses opening", [](sim::SimBus& b) { b.addUnopenableDevice(0x046D, 0xC077); },
         kNotFoundText},
        {"a board that refuses opening", [](sim::SimBus& b) { b.addUnopenableDevice(); },
         kNotFoundText + kNoPermissionLine},
        {"a keyboard, then a refusing board, then a board unplugged",
         [](sim::SimBus& b) {
             b.addForeignDevice(0x046D, 0xC31C);
             b.addUnopenableDevice();
             b.unplug(b.addBoard());
         },
         kNotFoundText + kNoPermissionLine},
    };
    for (const Case& c : cases) {
        TestServices test;
        sim::SimBus bus{test.clock};
        BoardLink link{bus, test.services};
        link.DeviceName = "Tolvane";
        c.fill(bus);
        link.FindBoard();
        ASSERT_EQ(test.dialogs.shown.size(), 1u) << c.bus;
        EXPECT_EQ(test.dialogs.shown[0].text, c.text) << c.bus;
        EXPECT_EQ(test.dialogs.shown[0].buttons, DialogButtons::RetryCancel) << c.bus;
        EXPECT_EQ(test.exit.count, 1) << c.bus << ": Cancel ends";
    }
}

TEST_F(Discovery, RetryAfterThePermissionIsGrantedCarriesOnWithTheBoard) {
    bus.addUnopenableDevice();
    dialogs.answerWith([&](const MessageBoxRequest&) {
        // The rule is in place and the board plugged in again: it comes back as a new node.
        bus.addBoard();
        return AnswerRetry;
    });
    FakeHost host(link, exit);
    link.FindBoard();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.endsWith(kNoPermissionLine));
    EXPECT_EQ(link.MsgAnswer, 1);
    EXPECT_EQ(host.inits, 1);
    EXPECT_EQ(link.WriteHandles.size(), 1u);
    EXPECT_FALSE(exit.requested());
}

}  // namespace
