// The light falling on the simulated chip.
#include "sim/light_source.h"

#include <gtest/gtest.h>

namespace {

using sim::LightSource;

TEST(LightSource, StepsHoldFromTheirStartUntilTheNextAndNothingIsNegative) {
    LightSource s = LightSource::steps({{300, {-20, -3}}, {200, {50, 5}}, {100, {10, 1}}});  // any order
    EXPECT_EQ(s.at(99).d1, 0);  // dark before the first step
    EXPECT_EQ(s.at(100).d1, 10);
    EXPECT_EQ(s.at(299).d2, 5);
    EXPECT_EQ(s.at(0xFFFFFFFF).d1, 0);
    EXPECT_EQ(LightSource::constant(-5, 80).at(5).d1, 0);
    EXPECT_EQ(LightSource::constant(-5, 80).at(5).d2, 80);
}

TEST(LightSource, WaveFollowsTheSineWithRepeatableNoiseNeverBelowZero) {
    LightSource w = LightSource::wave(400, 100, 1000, 0, 1, 0.25);
    EXPECT_DOUBLE_EQ(w.at(250).d1, 500);
    EXPECT_DOUBLE_EQ(w.at(250).d2, 125);
    EXPECT_NEAR(w.at(750).d1, 300, 1e-9);
    auto series = [](std::uint32_t seed) {
        LightSource noisy = LightSource::wave(5, 0, 1000, 20, seed);
        std::vector<double> values;
        for (std::uint32_t t = 0; t < 200; ++t) values.push_back(noisy.at(t).d1);
        return values;
    };
    const auto first = series(7);
    EXPECT_EQ(first, series(7));
    EXPECT_NE(first, series(8));
    EXPECT_EQ(*std::min_element(first.begin(), first.end()), 0);
    EXPECT_GT(*std::max_element(first.begin(), first.end()), 5);
}

}  // namespace
