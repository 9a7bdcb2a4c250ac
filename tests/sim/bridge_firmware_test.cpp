// The bridge firmware: the report layouts of every command, written out byte by byte.
#include "tests/sim/bus_harness.h"

namespace {

bool restIsZero(const Report& r, std::size_t from) {
    return std::all_of(r.begin() + from, r.end(), [](std::uint8_t b) { return b == 0; });
}

TEST(BridgeFirmware, GetCommandsAnswerWithTheBoardSettings) {
    BusHarness h;
    sim::BridgeSettings& s = h.board.settings;
    s.leds = 0x02;
    s.port1PushPull = 0x81, s.port2PushPull = 0x05, s.pullUpsDisabled = 1;
    s.port1Levels = 0xA4, s.port2Levels = 0x3C;
    s.i2cOptions = 0x03, s.extHold = 1;
    s.spiOptions = 0x06, s.spiCode = 7;
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x01, 0x01}, {1, 0, 0x02}},           // LEDs
        {{0x02, 0x01}, {1, 0, 0x81, 0x05, 1}},  // port configuration
        {{0x03, 0x01, 1}, {1, 0, 0xA5, 0x3C}},  // port levels; pin 0 is the INT line, high when idle
        {{0x04, 0x01}, {1, 0, 0x03, 1}},        // I2C options
        {{0x05, 0x01}, {1, 0, 12, 30}},         // SCL clock
        {{0x07, 0x01}, {1, 0, 0x06}},           // SPI options
        {{0x08, 0x01}, {1, 0, 24, 7}},          // SPI clock
        {{0x09, 0x01}, {1, 0xFF}},              // no such command
    };
    for (const auto& [request, expected] : cases) {
        Report out{1};
        std::copy(request.begin(), request.end(), out.begin() + 1);
        ASSERT_TRUE(h.transport.write(h.handle, out));
        const Report a = h.answer().value_or(Report{});
        EXPECT_EQ(BusHarness::head(a, expected.size()), expected) << "command " << int(request[0]);
        EXPECT_TRUE(restIsZero(a, expected.size())) << "command " << int(request[0]);
    }
}

TEST(BridgeFirmware, SetsChangeTheSettingsAreLoggedAndNotAnswered) {
    BusHarness h;
    h.send({0x01, 0x00, 0x03});  // LEDs
    h.clock.advance(25);
    h.send({0x05, 0x00, 120});  // SCL clock
    h.send({0x05, 0x00, 0});    // codes no clock can have leave the setting alone
    h.send({0x08, 0x00, 24});   // SPI clock
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.board.settings.leds, 0x03);
    EXPECT_EQ(h.board.settings.sclCode, 120);
    EXPECT_EQ(h.board.settings.spiCode, 5);
    ASSERT_EQ(h.board.received.size(), 4u);
    EXPECT_EQ(h.board.received[1].timeMs, 1025u);
    EXPECT_EQ(h.board.received[1].bytes, BusHarness::report({0x05, 0x00, 120}));
}

TEST(BridgeFirmware, I2CTransfersReachTheChip) {
    BusHarness h;
    Report a = h.query({0x06, 0x88, 2, 1, 0x02, 0xAA, 0xBB});  // R2, R3
    EXPECT_EQ(BusHarness::head(a, 2), (Bytes{1, 0}));
    EXPECT_TRUE(restIsZero(a, 2));
    h.query({0x06, 0x88, 2, 0, 0x01, 0x0C});  // without register bytes the first is one

    a = h.query({0x06, 0x89, 3, 1, 0x01});
    EXPECT_EQ(BusHarness::head(a, 5), (Bytes{1, 0, 0x0C, 0xAA, 0xBB}));
    EXPECT_TRUE(restIsZero(a, 5));
}

TEST(BridgeFirmware, OtherAddressesASilentChipAndMalformedTransfersDoNothing) {
    BusHarness h;
    for (std::uint8_t address : {0x90, 0x8A}) {
        const Report a = h.query({0x06, address, 1, 1, 0x00, 0x80});
        EXPECT_EQ(a[1], 1) << int(address);
        EXPECT_TRUE(restIsZero(a, 2));
    }
    h.board.chip.acknowledges = false;
    EXPECT_EQ(h.query({0x06, 0x88, 1, 1, 0x00, 0x80})[1], 1);
    h.board.chip.acknowledges = true;
    EXPECT_EQ(h.board.chip.reg(0), 0x00);

    EXPECT_EQ(h.query({0x06, 0x88, 0, 1, 0x00})[1], 2);         // no data
    EXPECT_EQ(h.query({0x06, 0x89, 63, 1, 0x00})[1], 2);        // more than an answer holds
    EXPECT_EQ(h.query({0x06, 0x88, 59, 1, 0x01, 0x0C})[1], 2);  // runs past byte 63
    EXPECT_EQ(h.board.chip.reg(1), 0x00);
    EXPECT_EQ(h.query({0x06, 0x88, 58, 1, 0x01, 0x0C})[1], 0);  // just fits
    EXPECT_EQ(h.board.chip.reg(1), 0x0C);
}

// Port 1, pin 0 is the chip's INT line: it follows the chip unless something on the board holds it low.
TEST(BridgeFirmware, TheIntPinFollowsTheChipUnlessTheLineIsHeldLow) {
    BusHarness h;
    struct Case {
        bool pending, heldLow, pinHigh;
    };
    for (const auto& [pending, heldLow, pinHigh] : std::vector<Case>{
             {false, false, true}, {true, false, false}, {false, true, false}, {true, true, false}}) {
        h.board.chip.setReg(1, pending ? 0x20 : 0x00);
        h.board.intLineHeldLow = heldLow;
        EXPECT_EQ(h.intPinHigh(), pinHigh) << pending << heldLow;
        EXPECT_EQ(h.board.chip.interruptPending(), pending) << "holding the line tells the chip nothing";
    }
}

}  // namespace
