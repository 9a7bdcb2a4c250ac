// The bridge firmware: the report layouts of every command.
#include <gtest/gtest.h>

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
    const std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>> cases[] = {
        {{CMD_LED, SUB_GET}, {1, 0, 0x02}},
        {{CMD_GP_CONFIG, SUB_GET}, {1, 0, 0x81, 0x05, 1}},
        {{CMD_GP_VALUE, SUB_GET, 1}, {1, 0, 0xA5, 0x3C}},  // pin 0 is the INT line, high when idle
        {{CMD_I2C_OPTIONS, SUB_GET}, {1, 0, 0x03, 1}},
        {{CMD_I2C_CLOCK, SUB_GET}, {1, 0, 12, 30}},
        {{CMD_SPI_OPTIONS, SUB_GET}, {1, 0, 0x06}},
        {{CMD_SPI_CLOCK, SUB_GET}, {1, 0, 24, 7}},
        {{9, SUB_GET}, {1, 0xFF}},
        {{0}, {1, 0xFF}},
        {{CMD_GP_CONFIG, SUB_SET}, {1, 0xFF}},  // the firmware has no such set
    };
    for (const auto& [request, expected] : cases) {
        Report out{1};
        std::copy(request.begin(), request.end(), out.begin() + 1);
        const Report a = h.exchange(out);
        EXPECT_EQ(BusHarness::head(a, expected.size()), expected) << "command " << int(request[0]);
        EXPECT_TRUE(restIsZero(a, expected.size())) << "command " << int(request[0]);
    }
}

TEST(BridgeFirmware, PortOnePinZeroFollowsTheInterruptLine) {
    BusHarness h;
    h.board.chip.setReg(1, 0x20);
    EXPECT_EQ(h.query({CMD_GP_VALUE, SUB_GET, 1})[2], 0xFE);
    h.i2cWrite({0x40, 0x00});
    EXPECT_EQ(h.query({CMD_GP_VALUE, SUB_GET, 0})[2], 0xFF);
}

TEST(BridgeFirmware, SetsChangeTheSettingsAndAreNotAnswered) {
    BusHarness h;
    EXPECT_TRUE(h.send({CMD_LED, SUB_SET, 0x03}));
    EXPECT_TRUE(h.send({CMD_I2C_CLOCK, SUB_SET, 120}));
    EXPECT_TRUE(h.send({CMD_SPI_CLOCK, SUB_SET, 11}));
    h.send({CMD_I2C_CLOCK, SUB_SET, 0});  // codes no clock can have leave the setting alone
    h.send({CMD_SPI_CLOCK, SUB_SET, 24});
    EXPECT_FALSE(h.answer(6000));
    EXPECT_EQ(h.query({CMD_LED, SUB_GET})[2], 0x03);
    EXPECT_EQ(h.query({CMD_I2C_CLOCK, SUB_GET})[3], 120);
    EXPECT_EQ(h.query({CMD_SPI_CLOCK, SUB_GET})[3], 11);
}

TEST(BridgeFirmware, I2CWriteSendsRegisterAddressThenData) {
    BusHarness h;
    const Report a = h.query({CMD_I2C_TRANSFER, 0x88, 2, 1, 0x02, 0xAA, 0xBB});
    EXPECT_EQ(BusHarness::head(a, 2), (std::vector<std::uint8_t>{1, 0}));
    EXPECT_TRUE(restIsZero(a, 2));
    EXPECT_EQ(h.board.chip.reg(2), 0xAA);
    EXPECT_EQ(h.board.chip.reg(3), 0xBB);
    // Without register bytes the first data byte is what the chip takes as its register.
    h.query({CMD_I2C_TRANSFER, 0x88, 2, 0, 0x01, 0x0C});
    EXPECT_EQ(h.board.chip.reg(1), 0x0C);
}

TEST(BridgeFirmware, I2CReadReturnsCountBytesFromTheRegister) {
    BusHarness h;
    h.i2cWrite({0x00, 0x10, 0x12, 0x33, 0x44});
    const Report a = h.query({CMD_I2C_TRANSFER, 0x89, 3, 1, 0x01});
    EXPECT_EQ(BusHarness::head(a, 5), (std::vector<std::uint8_t>{1, 0, 0x12, 0x33, 0x44}));
    EXPECT_TRUE(restIsZero(a, 5));
    const Report full = h.query({CMD_I2C_TRANSFER, 0x89, 62, 1, 0x00});
    EXPECT_EQ(BusHarness::head(full, 3), (std::vector<std::uint8_t>{1, 0, 0x10}));
}

TEST(BridgeFirmware, OtherAddressesAndASilentChipAreNotAcknowledged) {
    BusHarness h;
    for (std::uint8_t address : {0x90, 0x91, 0x00, 0x8A}) {
        const Report a = h.query({CMD_I2C_TRANSFER, address, 1, 1, 0x00, 0x80});
        EXPECT_EQ(a[1], 1) << int(address);
        EXPECT_TRUE(restIsZero(a, 2));
    }
    h.board.chip.acknowledges = false;
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x88, 1, 1, 0x00, 0x80})[1], 1);
    const Report a = h.query({CMD_I2C_TRANSFER, 0x89, 4, 1, 0x02});
    EXPECT_EQ(a[1], 1);
    EXPECT_TRUE(restIsZero(a, 2));
    h.board.chip.acknowledges = true;
    EXPECT_EQ(h.board.chip.reg(0), 0x00);
}

TEST(BridgeFirmware, MalformedTransfersAreRefusedAndDoNothing) {
    BusHarness h;
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x88, 0, 1, 0x00})[1], 2);  // no data
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x89, 0, 1, 0x00})[1], 2);
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x89, 63, 1, 0x00})[1], 2);        // more than an answer holds
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x88, 59, 1, 0x01, 0x0C})[1], 2);  // runs past byte 63
    EXPECT_EQ(h.board.chip.reg(1), 0x00);
    EXPECT_EQ(h.query({CMD_I2C_TRANSFER, 0x88, 58, 1, 0x01, 0x0C})[1], 0);  // just fits
    EXPECT_EQ(h.board.chip.reg(1), 0x0C);
}

TEST(BridgeFirmware, LogsEveryReportWithItsTime) {
    BusHarness h;
    h.send({CMD_LED, SUB_SET, 1});
    h.clock.advance(25);
    const Report i2c = BusHarness::report({CMD_I2C_TRANSFER, 0x89, 2, 1, 0x04, 0xEE});  // stale byte kept
    h.transport.write(h.handle, i2c);
    ASSERT_EQ(h.board.received.size(), 2u);
    EXPECT_EQ(h.board.received[0].timeMs, 1000u);
    EXPECT_EQ(h.board.received[0].bytes, BusHarness::report({CMD_LED, SUB_SET, 1}));
    EXPECT_EQ(h.board.received[1].timeMs, 1025u);
    EXPECT_EQ(h.board.received[1].bytes, i2c);
}

}  // namespace
