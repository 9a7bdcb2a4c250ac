#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "sim/sim_bus.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/reports.h"

using Bytes = std::vector<std::uint8_t>;

// The protocol's command codes, typed here from its tables: these tests share no numbers with sim/ or
// with the program, so a wrong one on either side shows.
enum : std::uint8_t { Led = 1, GpValue = 3, I2cClock = 5, I2cTransfer = 6, SpiOptions = 7 };
enum : std::uint8_t { Set = 0, Get = 1 };

// One board on a simulated bus, driven as the program drives it: through HidTransport on a FakeClock.
// Reports are written from byte 1 on; byte 0, the report id, is 1.
struct BusHarness {
    explicit BusHarness(sim::Timing timing = sim::Timing::Instant) : bus(clock, timing) {}

    FakeClock clock;
    sim::SimBus bus;
    sim::SimBoard& board = bus.addBoard();
    HidTransport& transport = bus;
    HidHandle handle = transport.open("sim:0");

    static Report report(std::initializer_list<std::uint8_t> bytes) {
        Report r = reportOf(bytes, 1);
        r[0] = 1;
        return r;
    }
    bool send(std::initializer_list<std::uint8_t> bytes) { return transport.write(handle, report(bytes)); }
    std::optional<Report> answer(int timeoutMs = 0) {
        Report r{};
        return transport.read(handle, r, timeoutMs) ? std::optional(r) : std::nullopt;
    }
    // Sends a request and takes its answer at once.
    Report query(std::initializer_list<std::uint8_t> bytes) {
        EXPECT_TRUE(send(bytes));
        const auto a = answer();
        EXPECT_TRUE(a) << "no answer to command " << int(*bytes.begin());
        return a.value_or(Report{});
    }
    // One I2C write to the chip, a register (or command) byte then data; returns the answer's status.
    std::uint8_t i2cWrite(Bytes regAndData) {
        Report r = report({I2cTransfer, 0x88, static_cast<std::uint8_t>(regAndData.size() - 1), 1});
        std::copy(regAndData.begin(), regAndData.end(), r.begin() + 5);
        EXPECT_TRUE(transport.write(handle, r));
        return answer().value_or(Report{}).at(1);
    }
    Bytes i2cRead(std::uint8_t reg, std::uint8_t count) {
        const Report a = query({I2cTransfer, 0x89, count, 1, reg});
        EXPECT_EQ(a[1], 0);
        return {a.begin() + 2, a.begin() + 2 + count};
    }
    unsigned word(std::uint8_t lowReg) {
        const Bytes bytes = i2cRead(lowReg, 2);
        return bytes[1] * 256u + bytes[0];
    }
    unsigned adcCount() { return word(4); }
    bool intPinHigh() { return (query({GpValue, Get, 1})[2] & 1) != 0; }
};
