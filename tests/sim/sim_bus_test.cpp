// The USB bus: discovery, handles, answer queues, timing and the faults on demand.
#include <gtest/gtest.h>

#include "tests/sim/bus_harness.h"

namespace {

TEST(SimBus, EnumeratesEveryDeviceButOpensOnlyWhatCanBeOpened) {
    FakeClock clock;
    sim::SimBus bus(clock);
    bus.addForeignDevice(0x046D, 0xC077);
    bus.addUnopenableDevice();
    bus.addBoard();
    HidTransport& transport = bus;
    EXPECT_EQ(transport.enumerate(), (std::vector<std::string>{"sim:0", "sim:1", "sim:2"}));

    const HidHandle foreign = transport.open("sim:0");
    ASSERT_NE(foreign, kInvalidHandle);
    EXPECT_EQ(transport.attributes(foreign)->vendorId, 0x046D);
    EXPECT_EQ(transport.attributes(foreign)->productId, 0xC077);
    EXPECT_EQ(transport.open("sim:1"), kInvalidHandle);
    for (const char* bad : {"sim:3", "sim:", "sim:2x", "/dev/hidraw0"})
        EXPECT_EQ(transport.open(bad), kInvalidHandle);

    const HidHandle board = transport.open("sim:2");
    const HidHandle again = transport.open("sim:2");
    EXPECT_NE(board, again);
    const auto ids = transport.attributes(board);
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendorId, 0x7C4B);
    EXPECT_EQ(ids->productId, 0x2019);
    EXPECT_EQ(ids->version, 0x0100);
    EXPECT_EQ(bus.openHandleCount(), 3);
    for (HidHandle h : {foreign, board, again}) transport.close(h);
    transport.close(board);
    EXPECT_EQ(bus.openHandleCount(), 0);
    EXPECT_FALSE(transport.attributes(board));
}

TEST(SimBus, ReadWaitsOnTheClockForAtMostItsTimeout) {
    BusHarness h;
    Report r{};
    EXPECT_FALSE(h.transport.read(h.handle, r, 6000));
    EXPECT_EQ(h.clock.milliseconds(), 7000u);

    h.board.settings.leds = 2;
    h.board.settings.spiOptions = 5;
    h.board.delayNextAnswer(7000);
    h.send({CMD_LED, SUB_GET});
    h.send({CMD_SPI_OPTIONS, SUB_GET});
    EXPECT_FALSE(h.transport.read(h.handle, r, 6000));  // gives up; the answer stays queued
    EXPECT_EQ(h.clock.milliseconds(), 13000u);
    // The device's queue is shared by all its handles, in order.
    const HidHandle other = h.transport.open("sim:0");
    ASSERT_TRUE(h.transport.read(other, r, 6000));
    EXPECT_EQ(h.clock.milliseconds(), 14000u);
    EXPECT_EQ(r[2], 2);
    ASSERT_TRUE(h.transport.read(h.handle, r, 0));
    EXPECT_EQ(r[2], 5);
    h.send({CMD_LED, SUB_GET});  // only the one answer was late
    EXPECT_TRUE(h.transport.read(h.handle, r, 0));
}

TEST(SimBus, DroppedAnswersNeverComeAndForcedStatusesWearOff) {
    BusHarness h;
    h.board.dropAnswers(2);
    h.send({CMD_LED, SUB_GET});
    h.send({CMD_LED, SUB_SET, 1});  // unanswered anyway: does not use up a drop
    h.send({CMD_LED, SUB_GET});
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.board.received.size(), 3u);
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[2], 1);  // the set was carried out all the same

    h.board.answerStatus(0x05, 2);
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x88, 1, 1, 0x02, 0x40})[1], 0x05);
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[1], 0x05);
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[1], 0x00);
    EXPECT_EQ(h.board.chip.reg(2), 0x40);
}

TEST(SimBus, UnpluggedBoardFailsAtOnceAndReturnsOnlyToANewSearch) {
    BusHarness h;
    sim::SimBoard& second = h.bus.addBoard();
    h.send({CMD_LED, SUB_GET});  // an answer in flight is lost with the board
    h.bus.unplug(h.board);
    EXPECT_EQ(h.transport.enumerate(), std::vector<std::string>{"sim:1"});
    EXPECT_FALSE(h.send({CMD_LED, SUB_GET}));
    EXPECT_EQ(h.board.received.size(), 1u);
    Report r{};
    EXPECT_FALSE(h.transport.read(h.handle, r, 6000));
    EXPECT_EQ(h.clock.milliseconds(), 1000u);
    EXPECT_FALSE(h.transport.attributes(h.handle));
    EXPECT_EQ(h.transport.open("sim:0"), kInvalidHandle);

    h.bus.plug(h.board);
    EXPECT_EQ(h.transport.enumerate(), (std::vector<std::string>{"sim:0", "sim:1"}));
    EXPECT_FALSE(h.send({CMD_LED, SUB_GET}));
    h.handle = h.transport.open("sim:0");
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[1], 0);
    EXPECT_FALSE(h.answer());  // nothing left over from before
    EXPECT_TRUE(second.received.empty());
    EXPECT_EQ(h.bus.openHandleCount(), 2);  // the dead handle is still to be closed
}

TEST(SimBus, SeveralBoardsKeepTheirOwnSettingsLogsAndQueues) {
    BusHarness h;
    sim::SimBoard& second = h.bus.addBoard();
    const HidHandle other = h.transport.open("sim:1");
    h.transport.write(other, BusHarness::report({CMD_LED, SUB_SET, 2}));
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[2], 0);
    Report r{};
    EXPECT_FALSE(h.transport.read(other, r, 0));
    EXPECT_EQ(second.settings.leds, 2);
    EXPECT_EQ(h.board.received.size(), 1u);
    EXPECT_EQ(second.received.size(), 1u);
}

TEST(SimBus, RealisticAnswersTakeAUsbFrameAndTheI2CBusTime) {
    BusHarness h(sim::Timing::Realistic);
    Report r{};
    h.send({CMD_LED, SUB_GET});
    EXPECT_FALSE(h.transport.read(h.handle, r, 0));
    ASSERT_TRUE(h.transport.read(h.handle, r, 10));
    EXPECT_EQ(h.clock.milliseconds(), 1001u);
    // 5 bytes at 400 kHz: 113 us, a whole millisecond on top of the frame.
    h.send({CMD_I2C_TRANSFER, 0x89, 2, 1, 0x04});
    ASSERT_TRUE(h.transport.read(h.handle, r, 10));
    EXPECT_EQ(h.clock.milliseconds(), 1003u);
    // At 100 kHz: address, register, address again and 9 data bytes take 1.08 ms.
    h.send({CMD_I2C_CLOCK, SUB_SET, 120});
    h.send({CMD_I2C_TRANSFER, 0x89, 9, 1, 0x00});
    ASSERT_TRUE(h.transport.read(h.handle, r, 10));
    EXPECT_EQ(h.clock.milliseconds(), 1006u);

    h.bus.setTiming(sim::Timing::Instant);
    h.send({CMD_LED, SUB_GET});
    EXPECT_TRUE(h.transport.read(h.handle, r, 0));
}

}  // namespace
