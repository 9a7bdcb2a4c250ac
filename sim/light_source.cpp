#include "sim/light_source.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace sim {

namespace {

// Light cannot be negative, however the noise falls.
Light darkAtLeast(Light light) {
    return {std::max(0.0, light.d1), std::max(0.0, light.d2)};
}

}  // namespace

LightSource LightSource::constant(double d1Lux, double d2Lux) {
    LightSource source;
    source.kind_ = Kind::Constant;
    source.constant_ = darkAtLeast({d1Lux, d2Lux});
    return source;
}

LightSource LightSource::steps(std::vector<Step> steps) {
    LightSource source;
    source.kind_ = Kind::Steps;
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Step& a, const Step& b) { return a.fromMs < b.fromMs; });
    source.steps_ = std::move(steps);
    return source;
}

LightSource LightSource::wave(double meanLux, double amplitudeLux, double periodMs, double noiseLux,
                              std::uint32_t seed, double infraredShare) {
    LightSource source;
    source.kind_ = Kind::Wave;
    source.mean_ = meanLux;
    source.amplitude_ = amplitudeLux;
    source.period_ = periodMs;
    source.noise_ = noiseLux;
    source.infraredShare_ = std::clamp(infraredShare, 0.0, 1.0);
    source.generator_.seed(seed);
    return source;
}

LightSource LightSource::shaped(const LightSetting& setting, std::uint32_t seed) {
    using Shape = LightSetting::Shape;
    const double level = std::max(0.0, setting.lux);
    const double swing = setting.shape == Shape::Constant ? 0 : level / 2;
    LightSource source =
        wave(level, swing, kWavePeriodMs, std::max(0.0, setting.noiseLux), seed, setting.infraredShare);
    if (setting.shape == Shape::Steps) source.kind_ = Kind::StepCycle;
    return source;
}

Light LightSource::noisy(double lux) {
    if (noise_ > 0) lux += std::normal_distribution<double>(0, noise_)(generator_);
    lux = std::max(0.0, lux);
    return {lux, lux * infraredShare_};
}

LightSource LightSource::shiftedBy(std::uint32_t ms) && {
    shiftMs_ += ms;
    return std::move(*this);
}

Light LightSource::at(std::uint32_t ms) {
    ms += shiftMs_;
    switch (kind_) {
        case Kind::Constant:
            return constant_;
        case Kind::Steps: {
            // Dark before the first step.
            auto after = std::upper_bound(steps_.begin(), steps_.end(), ms,
                                          [](std::uint32_t t, const Step& step) { return t < step.fromMs; });
            return after == steps_.begin() ? Light{} : darkAtLeast(std::prev(after)->light);
        }
        case Kind::Wave: {
            double lux = mean_;
            if (period_ > 0) lux += amplitude_ * std::sin(2 * std::numbers::pi * ms / period_);
            return noisy(lux);
        }
        case Kind::StepCycle: {
            constexpr std::array<double, 4> kCycle{-1, 0, 1, 0};  // in swings from the level
            return noisy(mean_ + amplitude_ * kCycle[(ms / kStepMs) % kCycle.size()]);
        }
    }
    return {};
}

}  // namespace sim
