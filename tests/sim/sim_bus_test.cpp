// The USB bus: discovery, handles, answer queues, timing and the faults on demand.
#include "tests/sim/bus_harness.h"

namespace {

TEST(SimBus, EnumeratesEveryDeviceWithItsIdsButOpensOnlyWhatCanBeOpened) {
    FakeClock clock;
    sim::SimBus bus(clock);
    bus.addForeignDevice(0x046D, 0xC077);
    bus.addUnopenableDevice();
    bus.addBoard();
    bus.addUnopenableDevice(0x046D, 0xC31C);
    HidTransport& transport = bus;
    EXPECT_EQ(transport.enumerate(), (std::vector<HidInterface>{{"sim:0", 0x046D, 0xC077},
                                                                {"sim:1", 0x7C4B, 0x2019},
                                                                {"sim:2", 0x7C4B, 0x2019},
                                                                {"sim:3", 0x046D, 0xC31C}}));
    EXPECT_TRUE(bus.openRequests().empty()) << "listing opens nothing";

    for (const char* bad : {"sim:1", "sim:3", "sim:4", "sim:", "sim:2x", "/dev/hidraw0"})
        EXPECT_EQ(transport.open(bad), kInvalidHandle) << bad;

    const HidHandle foreign = transport.open("sim:0");
    const HidHandle board = transport.open("sim:2");
    const HidHandle again = transport.open("sim:2");
    EXPECT_EQ(transport.attributes(foreign)->productId, 0xC077);
    EXPECT_EQ(transport.attributes(board)->vendorId, 0x7C4B);
    EXPECT_EQ(transport.attributes(again)->productId, 0x2019);
    EXPECT_EQ(bus.openHandleCount(), 3);  // each open is a handle of its own
    for (HidHandle h : {foreign, board, again}) transport.close(h);
    EXPECT_EQ(bus.openHandleCount(), 0);
    EXPECT_FALSE(transport.attributes(board));
}

TEST(SimBus, ReadWaitsOnTheClockForAtMostItsTimeout) {
    BusHarness h;
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.clock.milliseconds(), 7000u);

    h.board.settings.leds = 2;
    h.board.settings.spiOptions = 5;
    h.board.delayNextAnswer(7000);
    h.send({Led, Get});
    h.send({SpiOptions, Get});
    EXPECT_FALSE(h.answer(6000));  // gives up; the answer stays queued
    EXPECT_EQ(h.clock.milliseconds(), 13000u);
    EXPECT_EQ(h.answer(6000).value_or(Report{})[2], 2);
    EXPECT_EQ(h.clock.milliseconds(), 14000u);
    EXPECT_EQ(h.answer().value_or(Report{})[2], 5);  // only the one answer was late
}

TEST(SimBus, AnUnpluggedBoardFailsAtOnceAndReturnsOnlyToANewSearch) {
    BusHarness h;
    h.send({Led, Get});  // an answer in flight is lost with the board
    h.bus.unplug(h.board);
    EXPECT_FALSE(h.bus.plugged(h.board));
    EXPECT_TRUE(h.transport.enumerate().empty());
    EXPECT_FALSE(h.send({Led, Get}));
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.clock.milliseconds(), 1000u);  // a removed device fails at once
    EXPECT_EQ(h.board.received.size(), 1u);

    h.bus.plug(h.board);
    EXPECT_TRUE(h.bus.plugged(h.board));
    EXPECT_FALSE(h.send({Led, Get}));  // old handles stay dead
    h.handle = h.transport.open("sim:0");
    EXPECT_EQ(h.query({Led, Get})[1], 0);
    EXPECT_FALSE(h.answer());  // nothing left over from before
}

// Each handle has its own input queue: a copy of every report that arrives while it is open.
TEST(SimBus, EveryOpenHandleGetsItsOwnCopyOfWhatArrivesWhileItIsOpen) {
    BusHarness h;
    const HidHandle second = h.transport.open("sim:0");
    const auto readOn = [&](HidHandle handle) {
        Report r{};
        return h.transport.read(handle, r, 0) ? int(r[2]) : -1;
    };
    h.board.settings.leds = 1;
    h.send({Led, Get});
    EXPECT_EQ(readOn(second), 1);
    EXPECT_EQ(readOn(second), -1) << "one copy per handle";
    EXPECT_EQ(readOn(h.handle), 1);

    // A late answer goes to the handles open when it arrives, not to those open when it was asked.
    h.board.settings.leds = 2;
    h.board.delayNextAnswer(500);
    h.send({Led, Get});
    const HidHandle opensBeforeItArrives = h.transport.open("sim:0");
    h.transport.close(second);
    h.clock.advance(500);
    const HidHandle opensAfter = h.transport.open("sim:0");
    EXPECT_EQ(readOn(opensBeforeItArrives), 2);
    EXPECT_EQ(readOn(opensAfter), -1);
    EXPECT_EQ(readOn(h.handle), 2);

    // Closing drops what a handle held; the others keep their copies.
    h.send({Led, Get});
    h.transport.close(opensBeforeItArrives);
    EXPECT_EQ(readOn(h.transport.open("sim:0")), -1);
    EXPECT_EQ(readOn(opensAfter), 2);
    EXPECT_EQ(readOn(h.handle), 2);
}

TEST(SimBus, AHandleKeepsSixtyFourUnreadReportsAndDropsNewerOnes) {
    BusHarness h;
    const HidHandle reader = h.transport.open("sim:0");
    Report r{};
    for (int i = 0; i < 70; ++i) {
        h.board.settings.port2Levels = static_cast<std::uint8_t>(i);
        h.send({GpValue, Get, 1});
        if (i % 2 == 1) h.transport.read(reader, r, 0);  // this one keeps reading now and then
    }
    std::vector<int> kept;
    while (h.transport.read(h.handle, r, 0)) kept.push_back(r[3]);
    ASSERT_EQ(kept.size(), sim::SimBus::kHandleQueueReports);
    EXPECT_EQ(kept.front(), 0);
    EXPECT_EQ(kept.back(), 63);

    int last = -1;
    while (h.transport.read(reader, r, 0)) last = r[3];
    EXPECT_EQ(last, 69) << "a handle that reads keeps receiving";
    h.board.settings.port2Levels = 99;
    EXPECT_EQ(h.query({GpValue, Get, 1})[3], 99) << "room again once read";
}

TEST(SimBus, RealisticAnswersTakeAUsbFrameAndTheI2CBusTime) {
    BusHarness h(sim::Timing::Realistic);
    h.send({Led, Get});
    EXPECT_FALSE(h.answer(0));
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1001u);
    // 5 bytes at 400 kHz: 113 us, a whole millisecond on top of the frame.
    h.send({I2cTransfer, 0x89, 2, 1, 0x04});
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1003u);
    // At 100 kHz: address, register, address again and 9 data bytes take 1.08 ms.
    h.send({I2cClock, Set, 120});
    h.send({I2cTransfer, 0x89, 9, 1, 0x00});
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1006u);
}

// The board's log of answers: what reached the host and when; a dropped answer never does, and one lost
// with an unplug neither.
TEST(SimBus, TheAnswerLogHoldsWhatReachedTheHostWithItsArrivalTime) {
    BusHarness h(sim::Timing::Realistic);
    h.board.settings.leds = 3;
    h.send({Led, Get});
    h.board.dropAnswers(1);
    h.send({Led, Get});
    h.board.delayNextAnswer(7000);
    h.send({SpiOptions, Get});
    EXPECT_TRUE(h.answer(10));
    EXPECT_FALSE(h.answer(6000));
    EXPECT_TRUE(h.answer(6000));
    h.send({Led, Get});
    h.bus.unplug(h.board);

    EXPECT_EQ(h.board.received.size(), 4u);
    ASSERT_EQ(h.board.answered.size(), 2u);
    EXPECT_EQ(h.board.answered[0].timeMs, 1001u);
    EXPECT_EQ(BusHarness::head(h.board.answered[0].bytes, 3), (Bytes{1, 0, 3}));
    EXPECT_EQ(h.board.answered[1].timeMs, 1000u + 7001);
    EXPECT_EQ(h.board.answered[1].bytes, BusHarness::report({0, 0}));

    // Within one millisecond the serials keep the order of the traffic both ways.
    BusHarness instant;
    instant.query({Led, Get});
    instant.query({Led, Get});
    const auto& in = instant.board.received;
    const auto& out = instant.board.answered;
    EXPECT_EQ(in[1].timeMs, out[0].timeMs);
    EXPECT_LT(in[0].serial, out[0].serial);
    EXPECT_LT(out[0].serial, in[1].serial);
    EXPECT_LT(in[1].serial, out[1].serial);
}

}  // namespace
