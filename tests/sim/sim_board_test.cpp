// The simulated board: the USB bus (discovery, handles, answer queues, timing and faults on demand),
// the bridge firmware's commands byte by byte, the light sensor behind it and its light.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <vector>

#include "sim/sim_bus.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/reports.h"

namespace {

using sim::LightSource;
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

TEST(SimBus, EnumeratesEveryDeviceWithItsIdsButOpensOnlyWhatCanBeOpened) {
    FakeClock clock;
    sim::SimBus bus(clock);
    bus.addForeignDevice(0x046D, 0xC077);
    bus.addUnopenableDevice();
    bus.addBoard("SN-7");
    bus.addUnopenableDevice(0x046D, 0xC31C);
    HidTransport& transport = bus;
    EXPECT_EQ(transport.enumerate(), (std::vector<HidInterface>{{"sim:0", 0x046D, 0xC077, ""},
                                                                {"sim:1", 0x7C4B, 0x2019, ""},
                                                                {"sim:2", 0x7C4B, 0x2019, "SN-7"},
                                                                {"sim:3", 0x046D, 0xC31C, ""}}));
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

// Each open handle gets its own copy of every report that arrives while it is open.
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
}

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

Bytes hex(const std::string& text) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

// Runs on the clock under a light ("ms:D1[/D2]" lux steps, dark before the first), as a script: "+N" lets
// N ms pass, "lN" puts up N lux, "wHEX" writes a register and data, "cN" and "yN" read the count and the
// cycles, "rN=HEX" the registers from RN, "i0" and "i1" the INT line idle or low.
TEST(TolvaneChip, TimelinesOfIntegrationsInterruptsAndLight) {
    const struct {
        const char* what;
        std::uint32_t startMs;
        const char* light;
        const char* script;
    } timelines[] = {
        // The first reading comes after one integration of the resolution (R0 bits 1..0), its cycles in
        // R7:R6; the count by mode (R0 bits 3..2) and range (R1 bits 3..2), clipped at full scale.
        {"16 bits: 2^16 cycles do not fit", 1000, "0:500", "w008000 +99 c0 +1 c32768 y65535"},
        {"12 bits", 1000, "0:500", "w008100 +6 c0 +1 c2048 y4096"},
        {"8 bits", 1000, "0:500", "w008200 +0 c0 +1 c128 y256"},
        {"4 bits", 1000, "0:500", "w008300 +0 c0 +1 c8 y16"},
        {"D1 on 1k", 1000, "0:600/200", "w008000 +99 c0 +1 c39321"},
        {"D2", 1000, "0:600/200", "w008400 +99 c0 +1 c13107"},
        {"D1 - D2", 1000, "0:600/200", "w008800 +99 c0 +1 c26214"},
        {"D1 - D2 never below 0", 1000, "0:200/600", "w008800 +100 c0"},
        {"mode 11 is D1", 1000, "0:600/200", "w008C00 +99 c0 +1 c39321"},
        {"full scale", 1000, "0:2000", "w008000 +100 c65535"},
        {"4k", 1000, "0:2000", "w008004 +99 c0 +1 c32768"},
        {"64k", 1000, "0:2000", "w00800C +99 c0 +1 c2048"},
        {"12 bits clip at their own full scale", 1000, "0:9000", "w008104 +6 c0 +1 c4095"},
        {"powers on disabled with the documented registers", 1000, "0:500", "+10000 r0=0000FF0000000000 i0"},
        {"writes restart the integration and power-down keeps the last reading", 1000, "0:500",
         "w008000 +60 w0300 +99 c0 +1 r4=0080FFFF l900 w00C000 +1000 r4=0080FFFF w004000 +1000 r4=0080FFFF "
         "w000000 +1000 r4=0080FFFF"},
        // 900 lux reads 58982, outside a high threshold of 32768; persistence 4. The inside reading starts
        // the run over; the flag is not the writer's to clear, nor does a reading inside clear it.
        {"an interrupt needs four readings outside in a row and holds until cleared", 1000,
         "0:900 1400:100 1500:900",
         "w008001 w0280 +300 i0 +400 r1=01 i0 +100 i1 w0101 r1=21 w02FF +500 i1 w4080 r1=01 i0"},
        {"sub-millisecond integrations are counted exactly (8 bits, 0.390625 ms)", 1000, "0:900",
         "w008201 w0200 +1 i0 +1 i1"},
        // A second is more than the counter holds; 50 ms of the 655.36 kHz internal clock are 32768.
        {"external timing integrates between end-of-conversion commands", 1000, "0:500",
         "w00A000 w02FF +1000 c0 w8000 c32768 y65535 +50 w8000 y32768"},
        {"external timing across the clock's wrap", 0xFFFFFFE0u, "0:500",
         "w00A000 w02FF w8000 +50 w8000 c32768 y32768"},
        {"an integration across the clock's wrap", 0xFFFFFFC0u, "0:500",
         "w008000 w02FF +99 c0 +1 c32768 +100 c32768 y65535"},
        // Dark until the counter wraps, then 500 lux: a count of 8 at 4 bits, 24 us an integration; then
        // 24 days unseen, billions of integrations.
        {"catches up across long gaps and the clock wrap", 0xFFFFFF00u, "0:500 0x80000000:0",
         "w008303 w0200 +0x100 c0 i0 +0x100 c8 i1 w4000 +0x7FFF0000 c8 i1"},
        {"remembers an excursion nobody looked at (19 readings outside, then inside)", 1000, "0:900 3000:100",
         "w008003 w0280 +30000 c6554 i1"},
        // Integrations that ended before a change keep what they saw, however long nobody looked.
        {"a new light counts from the moment of the change", 1000, "0:100",
         "w008000 w02FF +250 l200 c6554 +49 c6554 +1 c13107"},
    };
    for (const auto& t : timelines) {
        SCOPED_TRACE(t.what);
        BusHarness chip;
        chip.clock.set(t.startMs);
        std::vector<LightSource::Step> steps;
        std::istringstream lights(t.light);
        for (std::string step; lights >> step;) {
            std::size_t colon = 0, slash = 0;
            const auto from = static_cast<std::uint32_t>(std::stoul(step, &colon, 0));
            const double d1 = std::stod(step.substr(colon + 1), &slash);
            const std::string d2 = step.substr(colon + 1 + slash);
            steps.push_back({from, {d1, d2.empty() ? 0 : std::stod(d2.substr(1))}});
        }
        chip.board.chip.setLight(LightSource::steps(steps));
        std::istringstream words(t.script);
        for (std::string word; words >> word;) {
            SCOPED_TRACE(word);
            const char what = word[0];
            const std::string arg = word.substr(1);
            if (what == '+') chip.clock.advance(static_cast<std::uint32_t>(std::stoul(arg, nullptr, 0)));
            if (what == 'l') chip.board.chip.setLight(LightSource::constant(std::stod(arg)));
            if (what == 'w') {
                EXPECT_EQ(chip.i2cWrite(hex(arg)), 0) << "acknowledged";
            }
            if (what == 'c') {
                EXPECT_EQ(chip.adcCount(), std::stoul(arg));
            }
            if (what == 'y') {
                EXPECT_EQ(chip.word(6), std::stoul(arg));
            }
            if (what == 'r') {
                const Bytes registers = hex(arg.substr(2));
                EXPECT_EQ(chip.i2cRead(static_cast<std::uint8_t>(arg[0] - '0'), registers.size()), registers);
            }
            if (what == 'i') {
                EXPECT_EQ(chip.intPinHigh(), arg == "0");
            }
        }
    }
}

// Steps hold their level, in any order, dark before the first; a wave and the demo's settings give
// their level and shape, D2 its infrared share; seeded noise repeats and no light is negative.
TEST(LightSource, StepsWavesAndSettingsGiveTheirLevelAndRepeatableNoise) {
    LightSource s = LightSource::steps({{200, {-20, -3}}, {100, {10, 1}}});
    EXPECT_EQ(s.at(99).d1, 0);
    EXPECT_EQ(s.at(199).d1, 10);
    EXPECT_EQ(s.at(200).d1, 0);
    LightSource w = LightSource::wave(400, 100, 1000, 0, 1, 0.25);
    EXPECT_DOUBLE_EQ(w.at(250).d1, 500);
    EXPECT_DOUBLE_EQ(w.at(250).d2, 125);

    using Shape = sim::LightSetting::Shape;
    const std::tuple<Shape, std::uint32_t, double> shapes[] = {
        {Shape::Constant, 0, 400},  {Shape::Constant, 13000, 400}, {Shape::Steps, 4999, 200},
        {Shape::Steps, 5000, 400},  {Shape::Steps, 10000, 600},    {Shape::Steps, 15000, 400},
        {Shape::Steps, 20000, 200}, {Shape::Wave, 0, 400},         {Shape::Wave, 5000, 600},
        {Shape::Wave, 15000, 200}};
    for (const auto& [shape, ms, d1] : shapes) {
        const sim::Light seen = LightSource::shaped({400, shape, 0.25, 0}, 1).at(ms);
        EXPECT_NEAR(seen.d1, d1, 1e-9) << int(shape) << " at " << ms;
        EXPECT_NEAR(seen.d2, d1 / 4, 1e-9);
    }
    EXPECT_EQ(LightSource::shaped({-50, Shape::Wave, 0, 0}, 1).at(5000).d1, 0) << "no negative level";

    const auto series = [](LightSource light) {
        std::vector<double> values;
        for (std::uint32_t t = 0; t < 200; ++t) values.push_back(light.at(t).d1);
        return values;
    };
    for (const auto& noisy :
         {std::function([](std::uint32_t seed) { return LightSource::wave(5, 0, 1000, 20, seed); }),
          std::function([](std::uint32_t seed) {
              return LightSource::shaped({10, Shape::Steps, 1.5, 20}, seed);
          })}) {
        const std::vector<double> first = series(noisy(7));
        EXPECT_EQ(first, series(noisy(7)));
        EXPECT_NE(first, series(noisy(8)));
        EXPECT_EQ(*std::min_element(first.begin(), first.end()), 0);
    }
    for (std::uint32_t t = 0; t < 200; t += 7) {
        const sim::Light l = LightSource::shaped({10, Shape::Steps, 1.5, 20}, 7).at(t);
        EXPECT_EQ(l.d2, l.d1) << "an infrared share beyond 1 is all infrared";
    }
}

}  // namespace
