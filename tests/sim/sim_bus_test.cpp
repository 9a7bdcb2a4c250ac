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
    EXPECT_EQ(transport.attributes(again)->vendorId, 0x7C4B);
    EXPECT_EQ(bus.openHandleCount(), 3);  // each open is a handle of its own
    for (HidHandle h : {foreign, board, again}) transport.close(h);
    EXPECT_EQ(bus.openHandleCount(), 0);
    EXPECT_FALSE(transport.attributes(board));
}

// A read waits on the clock for at most its timeout; a late answer stays queued. Realistic answers take
// a USB frame and the I2C bus time, and the log holds what reached the host when it did: a dropped
// answer never does.
TEST(SimBus, AnswersArriveOnTheClockAndTheLogHoldsWhenTheyReachedTheHost) {
    BusHarness h(sim::Timing::Realistic);
    h.board.settings.leds = 3;
    h.send({Led, Get});
    EXPECT_FALSE(h.answer(0));
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1001u);
    h.send({I2cTransfer, 0x89, 2, 1, 0x04});  // 5 bytes at 400 kHz: 113 us, a whole millisecond more
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1003u);
    h.send({I2cClock, Set, 120});  // at 100 kHz 12 bytes take 1.08 ms
    h.send({I2cTransfer, 0x89, 9, 1, 0x00});
    ASSERT_TRUE(h.answer(10));
    EXPECT_EQ(h.clock.milliseconds(), 1006u);

    h.board.dropAnswers(1);
    h.send({Led, Get});
    h.board.delayNextAnswer(7000);
    h.send({SpiOptions, Get});
    EXPECT_FALSE(h.answer(6000));  // gives up; the late answer stays queued
    EXPECT_EQ(h.clock.milliseconds(), 7006u);
    EXPECT_EQ(h.answer(6000), reportOf({1, 0, 0}));
    EXPECT_EQ(h.clock.milliseconds(), 8007u);
    h.send({Led, Get});
    EXPECT_EQ(h.answer(10), reportOf({1, 0, 3})) << "only the one answer was late";
    ASSERT_EQ(h.board.answered.size(), 5u);
    EXPECT_EQ(h.board.answered[0].timeMs, 1001u);
    EXPECT_EQ(h.board.answered[0].bytes, reportOf({1, 0, 3}));
    EXPECT_EQ(h.board.answered[3].timeMs, 1006u + 7001);
}

TEST(SimBus, AnUnpluggedBoardFailsAtOnceAndReturnsOnlyToANewSearch) {
    BusHarness h;
    h.send({Led, Get});  // an answer in flight is lost with the board
    h.bus.unplug(h.board);
    EXPECT_TRUE(h.transport.enumerate().empty());
    EXPECT_FALSE(h.send({Led, Get}));
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.clock.milliseconds(), 1000u);  // a removed device fails at once
    EXPECT_EQ(h.board.received.size(), 1u);

    h.bus.plug(h.board);
    EXPECT_FALSE(h.send({Led, Get}));  // old handles stay dead
    h.handle = h.transport.open("sim:0");
    EXPECT_EQ(h.query({Led, Get})[1], 0);
    EXPECT_FALSE(h.answer());  // nothing left over from before
    h.query({Led, Get});
    // Within one millisecond the serials keep the order of the traffic both ways.
    EXPECT_LT(h.board.received[1].serial, h.board.answered[1].serial);
    EXPECT_LT(h.board.answered[1].serial, h.board.received[2].serial);
}

// Each open handle gets its own copy of every report that arrives while it is open, up to 64 unread.
TEST(SimBus, EveryOpenHandleGetsItsOwnCopyOfWhatArrivesWhileItIsOpen) {
    BusHarness h;
    const auto readOn = [&](HidHandle handle) {
        Report r{};
        return h.transport.read(handle, r, 0) ? int(r[2]) : -1;
    };
    const HidHandle second = h.transport.open("sim:0");
    h.board.settings.leds = 2;
    h.board.delayNextAnswer(500);
    h.send({Led, Get});
    const HidHandle opensBeforeItArrives = h.transport.open("sim:0");
    h.clock.advance(500);
    const HidHandle opensAfter = h.transport.open("sim:0");
    EXPECT_EQ(readOn(second), 2);
    EXPECT_EQ(readOn(second), -1) << "one copy per handle";
    EXPECT_EQ(readOn(opensBeforeItArrives), 2);
    EXPECT_EQ(readOn(opensAfter), -1);
    h.transport.close(second);
    h.send({Led, Get});
    h.transport.close(opensBeforeItArrives);
    EXPECT_EQ(readOn(opensAfter), 2) << "closing drops only what that handle held";

    Report r{};
    for (int i = 0; i < 70; ++i) {
        h.board.settings.port2Levels = static_cast<std::uint8_t>(i);
        h.send({GpValue, Get, 1});
        if (i % 2 == 1) h.transport.read(opensAfter, r, 0);  // this one keeps reading now and then
    }
    std::vector<int> kept;
    while (h.transport.read(h.handle, r, 0)) kept.push_back(r[3]);
    ASSERT_EQ(kept.size(), 64u);
    EXPECT_EQ(kept[2], 0) << "after the two LED answers";
    EXPECT_EQ(kept.back(), 61);
    int last = -1;
    while (h.transport.read(opensAfter, r, 0)) last = r[3];
    EXPECT_EQ(last, 69) << "a handle that reads keeps receiving";
}

}  // namespace
