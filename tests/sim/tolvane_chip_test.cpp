// The light sensor model, seen through the bridge the way the program sees it, and its light.
#include "tests/sim/bus_harness.h"

namespace {

using sim::LightSource;

constexpr std::uint8_t kEnable = 0x80;

struct Chip : BusHarness {
    void start(std::uint8_t r0, std::uint8_t r1 = 0x00) { ASSERT_EQ(i2cWrite({0x00, r0, r1}), 0); }
    void light(double d1, double d2 = 0) { board.chip.setLight(LightSource::constant(d1, d2)); }
    void steps(std::vector<LightSource::Step> steps) {
        board.chip.setLight(LightSource::steps(std::move(steps)));
    }
    bool interrupt() { return board.chip.interruptPending(); }
};

TEST(TolvaneChip, PowersOnDisabledWithTheDocumentedRegisters) {
    Chip chip;
    chip.light(500);
    chip.clock.advance(10000);
    EXPECT_EQ(chip.i2cRead(0, 8), (Bytes{0x00, 0x00, 0xFF, 0x00, 0, 0, 0, 0}));
    EXPECT_TRUE(chip.intPinHigh());
}

TEST(TolvaneChip, TheFirstReadingArrivesAfterOneIntegrationOfTheResolution) {
    // R0 bits 1..0; no integration has ended before, the first one has after; R7:R6 cycles; 500 lux on 1k.
    const std::tuple<std::uint8_t, std::uint32_t, std::uint32_t, unsigned, unsigned> cases[] = {
        {0, 99, 100, 65535, 32768},  // 2^16 cycles do not fit
        {1, 6, 7, 4096, 2048},
        {2, 0, 1, 256, 128},
        {3, 0, 1, 16, 8},
    };
    for (auto [code, beforeMs, afterMs, cycles, count] : cases) {
        Chip chip;
        chip.light(500);
        chip.start(kEnable | code);
        chip.clock.advance(beforeMs);
        EXPECT_EQ(chip.adcCount(), 0u) << int(code);
        chip.clock.advance(afterMs - beforeMs);
        EXPECT_EQ(chip.adcCount(), count) << int(code);
        EXPECT_EQ(chip.word(6), cycles) << int(code);
    }
}

TEST(TolvaneChip, CountFollowsModeAndRangeAndClipsAtFullScale) {
    Chip chip;
    const std::tuple<std::uint8_t, std::uint8_t, double, double, unsigned> cases[] = {
        {0x00, 0x00, 600, 200, 39321},  // D1 on 1k
        {0x04, 0x00, 600, 200, 13107},  // D2
        {0x08, 0x00, 600, 200, 26214},  // D1 - D2
        {0x08, 0x00, 200, 600, 0},      // D1 - D2 never below 0
        {0x0C, 0x00, 600, 200, 39321},  // 11 reads as D1
        {0x00, 0x00, 2000, 0, 65535},   // clipped
        {0x00, 0x04, 2000, 0, 32768},   // 4k
        {0x00, 0x0C, 2000, 0, 2048},    // 64k
        {0x01, 0x04, 9000, 0, 4095},    // 12 bits clip at their own full scale
    };
    for (auto [mode, range, d1, d2, expected] : cases) {
        chip.light(d1, d2);
        chip.start(kEnable | mode, range);
        chip.clock.advance(100);
        EXPECT_EQ(chip.adcCount(), expected) << "R0 " << int(mode) << " R1 " << int(range) << " D1 " << d1;
    }
}

TEST(TolvaneChip, WritesRestartTheIntegrationAndPowerDownKeepsTheLastReading) {
    Chip chip;
    chip.light(500);
    chip.start(kEnable);
    chip.clock.advance(60);
    chip.i2cWrite({0x03, 0x00});
    chip.clock.advance(99);
    EXPECT_EQ(chip.adcCount(), 0u);
    chip.clock.advance(1);
    const Bytes reading = chip.i2cRead(4, 4);
    EXPECT_EQ(reading, (Bytes{0x00, 0x80, 0xFF, 0xFF}));

    chip.light(900);
    for (std::uint8_t r0 : {0xC0, 0x40, 0x00}) {
        chip.start(r0);
        chip.clock.advance(1000);
        EXPECT_EQ(chip.i2cRead(4, 4), reading) << "R0 " << int(r0);
    }
}

TEST(TolvaneChip, InterruptNeedsPersistenceOutsideTheWindowAndHoldsUntilCleared) {
    Chip chip;
    // The clock starts at 1000: three readings outside, one inside, then outside for good.
    chip.steps({{0, {900, 0}}, {1400, {100, 0}}, {1500, {900, 0}}});
    chip.start(kEnable, 0x01);    // persistence 4
    chip.i2cWrite({0x02, 0x80});  // high threshold 32768; 900 lux reads 58982
    chip.clock.advance(300);
    EXPECT_TRUE(chip.intPinHigh());
    chip.clock.advance(400);  // the inside reading started the run over
    EXPECT_EQ(chip.i2cRead(1, 1)[0], 0x01);
    chip.clock.advance(100);
    EXPECT_FALSE(chip.intPinHigh());
    chip.i2cWrite({0x01, 0x01});  // the flag is not the writer's to clear
    EXPECT_EQ(chip.i2cRead(1, 1)[0], 0x21);

    chip.i2cWrite({0x02, 0xFF});  // back inside the window: the interrupt stays
    chip.clock.advance(500);
    EXPECT_FALSE(chip.intPinHigh());
    EXPECT_EQ(chip.i2cWrite({0x40, 0x80}), 0);  // clear; the data byte is ignored
    EXPECT_TRUE(chip.intPinHigh());
    EXPECT_EQ(chip.i2cRead(0, 2), (Bytes{kEnable, 0x01}));
}

TEST(TolvaneChip, SubMillisecondIntegrationsAreCountedExactly) {
    Chip chip;
    chip.light(900);
    chip.start(kEnable | 0x02, 0x01);  // 8 bits (0.390625 ms), persistence 4: 1.5625 ms
    chip.i2cWrite({0x02, 0x00});       // every reading is outside
    chip.clock.advance(1);
    EXPECT_FALSE(chip.interrupt());
    chip.clock.advance(1);
    EXPECT_TRUE(chip.interrupt());
}

TEST(TolvaneChip, TransfersAutoIncrementAndIgnoreReadOnlyAndUnusedRegisters) {
    Chip chip;
    chip.board.chip.setReg(4, 0x44);
    EXPECT_EQ(chip.i2cWrite({0x00, 0x10, 0x12, 0x33, 0x44, 0x99, 0x99}), 0);  // runs on into R4, R5
    EXPECT_EQ(chip.i2cWrite({0x20, 0x55}), 0);                                // unused, acknowledged
    EXPECT_EQ(chip.i2cRead(0x02, 8), (Bytes{0x33, 0x44, 0x44, 0, 0, 0, 0, 0}));
    // A current-address read goes on from where the last transfer left the pointer.
    chip.i2cRead(0x00, 1);
    EXPECT_EQ(BusHarness::head(chip.query({I2cTransfer, 0x89, 2, 0}), 4), (Bytes{1, 0, 0x12, 0x33}));
}

TEST(TolvaneChip, ExternalTimingIntegratesBetweenEndOfConversionCommands) {
    Chip chip;
    chip.light(500);
    chip.start(kEnable | 0x20);
    chip.clock.advance(1000);
    EXPECT_EQ(chip.adcCount(), 0u);  // nothing ends on its own
    chip.i2cWrite({0x80, 0x00});
    EXPECT_EQ(chip.adcCount(), 32768u);
    EXPECT_EQ(chip.word(6), 65535u);  // a second is more than the counter holds
    chip.clock.advance(50);
    chip.i2cWrite({0x80, 0x00});
    EXPECT_EQ(chip.word(6), 32768u);  // 50 ms of the 655.36 kHz internal clock
}

TEST(TolvaneChip, CatchesUpAcrossLongGapsAndTheClockWrap) {
    Chip chip;
    chip.clock.set(0xFFFFFF00u);
    // Dark until the millisecond counter wraps, then 500 lux (a count of 8 at 4 bits).
    chip.steps({{0, {500, 0}}, {0x80000000u, {0, 0}}});
    chip.start(kEnable | 0x03, 0x03);  // 4 bits, 24 us an integration; persistence 16
    chip.i2cWrite({0x02, 0x00});       // anything above 0 is outside
    chip.clock.advance(0x100);
    EXPECT_EQ(chip.adcCount(), 0u);
    EXPECT_FALSE(chip.interrupt());
    chip.clock.advance(0x100);
    EXPECT_EQ(chip.adcCount(), 8u);
    EXPECT_TRUE(chip.interrupt());
    chip.i2cWrite({0x40, 0x00});
    chip.clock.advance(0x7FFF0000u);  // 24 days unseen: billions of integrations
    EXPECT_EQ(chip.adcCount(), 8u);
    EXPECT_TRUE(chip.interrupt());
}

TEST(TolvaneChip, RemembersAnExcursionNobodyLookedAt) {
    Chip chip;
    chip.steps({{0, {900, 0}}, {3000, {100, 0}}});
    chip.start(kEnable, 0x03);  // persistence 16: 19 readings outside, then inside
    chip.i2cWrite({0x02, 0x80});
    chip.clock.advance(30000);
    EXPECT_EQ(chip.adcCount(), 6554u);
    EXPECT_TRUE(chip.interrupt());
}

TEST(LightSource, StepsHoldTheirLevelAndTheWaveIsRepeatableAndNeverNegative) {
    LightSource s = LightSource::steps({{200, {-20, -3}}, {100, {10, 1}}});  // any order
    EXPECT_EQ(s.at(99).d1, 0);                                               // dark before the first step
    EXPECT_EQ(s.at(199).d1, 10);
    EXPECT_EQ(s.at(200).d1, 0);

    LightSource w = LightSource::wave(400, 100, 1000, 0, 1, 0.25);
    EXPECT_DOUBLE_EQ(w.at(250).d1, 500);
    EXPECT_DOUBLE_EQ(w.at(250).d2, 125);
    auto series = [](std::uint32_t seed) {
        LightSource noisy = LightSource::wave(5, 0, 1000, 20, seed);
        std::vector<double> values;
        for (std::uint32_t t = 0; t < 200; ++t) values.push_back(noisy.at(t).d1);
        return values;
    };
    const std::vector<double> first = series(7);
    EXPECT_EQ(first, series(7));
    EXPECT_NE(first, series(8));
    EXPECT_EQ(*std::min_element(first.begin(), first.end()), 0);
}

// A light changed during a run counts from the moment of the change: integrations that ended before it
// keep what they saw, however long nobody looked.
TEST(TolvaneChip, ANewLightCountsFromNowOn) {
    Chip chip;
    chip.light(100);
    chip.start(kEnable);
    chip.clock.advance(250);
    chip.light(200);
    EXPECT_EQ(chip.adcCount(), 6554u) << "the two integrations done saw 100 lux";
    chip.clock.advance(49);
    EXPECT_EQ(chip.adcCount(), 6554u) << "the third ends at 300 ms";
    chip.clock.advance(1);
    EXPECT_EQ(chip.adcCount(), 13107u);
}

// The demo's light: a level, its shape around it, the infrared part D2 sees, and seeded noise.
TEST(LightSource, ASettingGivesItsLevelShapeInfraredShareAndNoise) {
    using Shape = sim::LightSetting::Shape;
    struct Case {
        Shape shape;
        std::uint32_t ms;
        double d1;
    };
    for (const auto& [shape, ms, d1] : std::vector<Case>{{Shape::Constant, 0, 400},
                                                         {Shape::Constant, 13000, 400},
                                                         {Shape::Steps, 4999, 200},
                                                         {Shape::Steps, 5000, 400},
                                                         {Shape::Steps, 10000, 600},
                                                         {Shape::Steps, 15000, 400},
                                                         {Shape::Steps, 20000, 200},
                                                         {Shape::Wave, 0, 400},
                                                         {Shape::Wave, 5000, 600},
                                                         {Shape::Wave, 15000, 200}}) {
        SCOPED_TRACE(testing::Message() << int(shape) << " at " << ms);
        LightSource light = LightSource::shaped({400, shape, 0.25, 0}, 1);
        const sim::Light seen = light.at(ms);
        EXPECT_NEAR(seen.d1, d1, 1e-9);
        EXPECT_NEAR(seen.d2, d1 / 4, 1e-9);
    }

    auto series = [](std::uint32_t seed, double noise) {
        LightSource light = LightSource::shaped({10, Shape::Steps, 1.5, noise}, seed);
        std::vector<sim::Light> values;
        for (std::uint32_t t = 0; t < 200; ++t) values.push_back(light.at(t));
        return values;
    };
    const std::vector<sim::Light> noisy = series(7, 20);
    EXPECT_EQ(series(7, 20)[150].d1, noisy[150].d1) << "repeatable";
    EXPECT_NE(series(8, 20)[150].d1, noisy[150].d1);
    for (const sim::Light& l : noisy) {
        EXPECT_GE(l.d1, 0);
        EXPECT_EQ(l.d2, l.d1) << "an infrared share beyond 1 is all infrared";
    }
    EXPECT_EQ(LightSource::shaped({-50, Shape::Wave, 0, 0}, 1).at(5000).d1, 0) << "no negative level";
}

}  // namespace
