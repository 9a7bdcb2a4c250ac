// The bridge firmware: every command's request and answer, byte by byte, and the chip behind it.
#include "tests/sim/bus_harness.h"

namespace {

// The console's tests read the Get answers back where the user sees them. I2C transfers reach the
// chip at 88/89 only, its register pointer running on, read-only and unused registers left alone; the
// status is 1 for no acknowledge and 2 for a transfer the report cannot hold.
TEST(BridgeFirmware, EachRequestHasItsAnswerOnTheWire) {
    BusHarness h;
    h.board.chip.setReg(4, 0x44);
    const std::pair<Report, Report> cases[] = {
        {BusHarness::report({0x09, 0x01}), reportOf({1, 0xFF})},                       // no such command
        {BusHarness::report({0x06, 0x88, 2, 1, 0x02, 0xAA, 0xBB}), reportOf({1, 0})},  // R2, R3
        {BusHarness::report({0x06, 0x88, 2, 0, 0x01, 0x0C}), reportOf({1, 0})},  // no register byte: data
        {BusHarness::report({0x06, 0x89, 3, 1, 0x01}), reportOf({1, 0, 0x0C, 0xAA, 0xBB})},
        {BusHarness::report({0x06, 0x88, 6, 1, 0x00, 0x10, 0x12, 0x33, 0x44, 0x99, 0x99}), reportOf({1, 0})},
        {BusHarness::report({0x06, 0x88, 1, 1, 0x20, 0x55}), reportOf({1, 0})},  // unused, acknowledged
        {BusHarness::report({0x06, 0x89, 8, 1, 0x02}), reportOf({1, 0, 0x33, 0x44, 0x44, 0, 0, 0, 0, 0})},
        {BusHarness::report({0x06, 0x89, 1, 1, 0x00}), reportOf({1, 0, 0x10})},
        {BusHarness::report({0x06, 0x89, 2, 0}), reportOf({1, 0, 0x12, 0x33})},  // from where it was left
        {BusHarness::report({0x06, 0x90, 1, 1, 0x00, 0x80}), reportOf({1, 1})},  // other addresses
        {BusHarness::report({0x06, 0x8A, 1, 1, 0x00, 0x80}), reportOf({1, 1})},
        {BusHarness::report({0x06, 0x88, 0, 1, 0x00}), reportOf({1, 2})},         // no data
        {BusHarness::report({0x06, 0x89, 63, 1, 0x00}), reportOf({1, 2})},        // more than an answer holds
        {BusHarness::report({0x06, 0x88, 59, 1, 0x01, 0x0E}), reportOf({1, 2})},  // runs past byte 63
        {BusHarness::report({0x06, 0x88, 58, 1, 0x01, 0x0D}), reportOf({1, 0})},  // just fits
        {BusHarness::report({0x06, 0x89, 2, 1, 0x00}), reportOf({1, 0, 0x10, 0x0D})},
    };
    for (const auto& [request, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "command " << int(request[1]) << " to " << int(request[2]));
        ASSERT_TRUE(h.transport.write(h.handle, request));
        EXPECT_EQ(h.answer().value_or(Report{}), expected);
    }
    h.board.chip.acknowledges = false;
    EXPECT_EQ(h.query({0x06, 0x88, 1, 1, 0x00, 0x80}), reportOf({1, 1}));
    EXPECT_EQ(h.board.chip.reg(0), 0x10);
}

TEST(BridgeFirmware, SetsChangeTheSettingsAreLoggedAndNotAnswered) {
    BusHarness h;
    h.send({0x01, 0x00, 0xFF});  // LEDs: two bits
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
    EXPECT_EQ(h.board.received[1].bytes, reportOf({1, 0x05, 0x00, 120}));
}

// Port 1, pin 0 is the chip's INT line: it follows the chip unless something on the board holds it low.
TEST(BridgeFirmware, TheIntPinFollowsTheChipUnlessTheLineIsHeldLow) {
    BusHarness h;
    const struct {
        bool pending, heldLow, pinHigh;
    } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}, {true, true, false}};
    for (const auto& [pending, heldLow, pinHigh] : cases) {
        h.board.chip.setReg(1, pending ? 0x20 : 0x00);
        h.board.intLineHeldLow = heldLow;
        EXPECT_EQ(h.intPinHigh(), pinHigh) << pending << heldLow;
        EXPECT_EQ(h.board.chip.interruptPending(), pending) << "holding the line tells the chip nothing";
    }
}

}  // namespace
