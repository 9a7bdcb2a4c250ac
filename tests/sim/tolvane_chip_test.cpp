// The light sensor model, seen through the bridge the way the program sees it, and its light.
#include <functional>

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
};

TEST(TolvaneChip, PowersOnDisabledWithTheDocumentedRegisters) {
    Chip chip;
    chip.light(500);
    chip.clock.advance(10000);
    EXPECT_EQ(chip.i2cRead(0, 8), (Bytes{0x00, 0x00, 0xFF, 0x00, 0, 0, 0, 0}));
    EXPECT_TRUE(chip.intPinHigh());
}

// The first reading after one integration of the resolution (R0 bits 1..0), its cycles in R7:R6; the
// count by mode (R0 bits 3..2) and range (R1 bits 3..2), D1 - D2 never below 0, clipped at full scale.
TEST(TolvaneChip, TheCountFollowsResolutionModeAndRangeAndClipsAtFullScale) {
    const struct {
        std::uint8_t r0, r1;
        double d1, d2;
        std::uint32_t readyMs;
        unsigned count, cycles;
    } cases[] = {
        {0x00, 0x00, 500, 0, 100, 32768, 65535},  // 2^16 cycles do not fit
        {0x01, 0x00, 500, 0, 7, 2048, 4096},
        {0x02, 0x00, 500, 0, 1, 128, 256},
        {0x03, 0x00, 500, 0, 1, 8, 16},
        {0x00, 0x00, 600, 200, 100, 39321, 65535},  // D1 on 1k
        {0x04, 0x00, 600, 200, 100, 13107, 65535},  // D2
        {0x08, 0x00, 600, 200, 100, 26214, 65535},  // D1 - D2
        {0x08, 0x00, 200, 600, 100, 0, 65535},
        {0x0C, 0x00, 600, 200, 100, 39321, 65535},  // 11 is D1
        {0x00, 0x00, 2000, 0, 100, 65535, 65535},
        {0x00, 0x04, 2000, 0, 100, 32768, 65535},  // 4k
        {0x00, 0x0C, 2000, 0, 100, 2048, 65535},   // 64k
        {0x01, 0x04, 9000, 0, 7, 4095, 4096},      // 12 bits clip at their own full scale
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "R0 " << int(c.r0) << " R1 " << int(c.r1) << " D1 " << c.d1);
        Chip chip;
        chip.light(c.d1, c.d2);
        chip.start(kEnable | c.r0, c.r1);
        chip.clock.advance(c.readyMs - 1);
        EXPECT_EQ(chip.adcCount(), 0u);
        chip.clock.advance(1);
        EXPECT_EQ(chip.adcCount(), c.count);
        EXPECT_EQ(chip.word(6), c.cycles);
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

// Runs on the clock, each a light, R0..R2 written at once, then steps: time passes, a light or a write
// comes, and the count, the cycles, R1 and the INT pin are read back where a row asks (-1: not read).
TEST(TolvaneChip, TimelinesOfIntegrationsInterruptsAndLight) {
    struct Step {
        std::uint32_t advanceMs;
        Bytes write;
        int count = -1, cycles = -1, r1 = -1, pending = -1;
        double newLux = -1;
    };
    const struct {
        const char* what;
        std::uint32_t startMs;
        std::vector<LightSource::Step> light;
        std::uint8_t r0, r1, r2;
        std::vector<Step> steps;
    } timelines[] = {
        // 900 lux reads 58982, outside a high threshold of 32768; persistence 4.
        {"an interrupt needs four readings outside in a row and holds until cleared",
         1000,
         {{0, {900, 0}}, {1400, {100, 0}}, {1500, {900, 0}}},
         kEnable,
         0x01,
         0x80,
         {{300, {}, -1, -1, -1, 0},
          {400, {}, -1, -1, 0x01, 0},  // the inside reading started the run over
          {100, {}, -1, -1, -1, 1},
          {0, {0x01, 0x01}, -1, -1, 0x21},  // the flag is not the writer's to clear
          {0, {0x02, 0xFF}},                // back inside the window: the interrupt stays
          {500, {}, -1, -1, -1, 1},
          {0, {0x40, 0x80}, -1, -1, 0x01, 0}}},  // clear; the data byte is ignored
        {"sub-millisecond integrations are counted exactly (8 bits, 0.390625 ms)",
         1000,
         {{0, {900, 0}}},
         kEnable | 0x02,
         0x01,
         0x00,
         {{1, {}, -1, -1, -1, 0}, {1, {}, -1, -1, -1, 1}}},
        {"external timing integrates between end-of-conversion commands",
         1000,
         {{0, {500, 0}}},
         kEnable | 0x20,
         0x00,
         0xFF,
         {{1000, {}, 0},
          {0, {0x80, 0x00}, 32768, 65535},  // a second is more than the counter holds
          {50, {0x80, 0x00}, -1, 32768}}},  // 50 ms of the 655.36 kHz internal clock
        {"external timing across the clock's wrap",
         0xFFFFFFE0u,
         {{0, {500, 0}}},
         kEnable | 0x20,
         0x00,
         0xFF,
         {{0, {0x80, 0x00}}, {50, {0x80, 0x00}, 32768, 32768}}},
        {"an integration across the clock's wrap",
         0xFFFFFFC0u,
         {{0, {500, 0}}},
         kEnable,
         0x00,
         0xFF,
         {{99, {}, 0}, {1, {}, 32768}, {100, {}, 32768, 65535}}},
        // Dark until the counter wraps, then 500 lux: a count of 8 at 4 bits, 24 us an integration.
        {"catches up across long gaps and the clock wrap",
         0xFFFFFF00u,
         {{0, {500, 0}}, {0x80000000u, {0, 0}}},
         kEnable | 0x03,
         0x03,
         0x00,
         {{0x100, {}, 0, -1, -1, 0},
          {0x100, {}, 8, -1, -1, 1},
          {0, {0x40, 0x00}},
          {0x7FFF0000u, {}, 8, -1, -1, 1}}},  // 24 days unseen: billions of integrations
        {"remembers an excursion nobody looked at (19 readings outside, then inside)",
         1000,
         {{0, {900, 0}}, {3000, {100, 0}}},
         kEnable,
         0x03,
         0x80,
         {{30000, {}, 6554, -1, -1, 1}}},
        // Integrations that ended before a change keep what they saw, however long nobody looked.
        {"a new light counts from the moment of the change",
         1000,
         {{0, {100, 0}}},
         kEnable,
         0x00,
         0xFF,
         {{250, {}, 6554, -1, -1, -1, 200}, {49, {}, 6554}, {1, {}, 13107}}},
    };
    for (const auto& t : timelines) {
        SCOPED_TRACE(t.what);
        Chip chip;
        chip.clock.set(t.startMs);
        chip.steps(t.light);
        chip.start(t.r0, t.r1);
        ASSERT_EQ(chip.i2cWrite({0x02, t.r2}), 0);
        int n = 0;
        for (const Step& s : t.steps) {
            SCOPED_TRACE(++n);
            chip.clock.advance(s.advanceMs);
            if (s.newLux >= 0) chip.light(s.newLux);
            EXPECT_TRUE(s.write.empty() || chip.i2cWrite(s.write) == 0) << "acknowledged";
            const auto expect = [](int wanted, unsigned got) {
                EXPECT_TRUE(wanted < 0 || got == unsigned(wanted)) << got;
            };
            expect(s.count, chip.adcCount());
            expect(s.cycles, chip.word(6));
            expect(s.r1, chip.i2cRead(1, 1)[0]);
            expect(s.pending, !chip.intPinHigh());
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
