#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace sim {

// Light falling on the chip, in lux, split into what each photodiode sees: D1 sees visible and
// infrared light, D2 infrared only. Repeatable: the noise comes from a seeded generator.
struct Light {
    double d1 = 0;
    double d2 = 0;
};

// A light as a person sets it on the demo's board: an average level, how it moves around that level,
// the infrared part of it and its noise (a standard deviation, in lux).
struct LightSetting {
    enum class Shape {
        Constant,
        Steps,  // half, full, one and a half, full level, five seconds each, over and over
        Wave,   // from half to one and a half times the level and back in twenty seconds
    };
    double lux = 0;
    Shape shape = Shape::Constant;
    double infraredShare = 0;  // 0..1 of the light; D2 sees only this part
    double noiseLux = 0;
};

class LightSource {
public:
    static LightSource constant(double d1Lux, double d2Lux = 0);
    // Each step holds its level from its start time (ms) until the next step's start.
    struct Step {
        std::uint32_t fromMs;
        Light light;
    };
    static LightSource steps(std::vector<Step> steps);
    // mean + amplitude * sin(2 pi t / period), plus noise of the given standard deviation.
    static LightSource wave(double meanLux, double amplitudeLux, double periodMs, double noiseLux,
                            std::uint32_t seed, double infraredShare = 0.25);

    static LightSource shaped(const LightSetting& setting, std::uint32_t seed);
    // The same light, `ms` ahead in its cycle: boards side by side under one lamp, each its own phase.
    LightSource shiftedBy(std::uint32_t ms) &&;

    static constexpr std::uint32_t kStepMs = 5000;
    static constexpr double kWavePeriodMs = 20000;

    Light at(std::uint32_t ms);

private:
    enum class Kind { Constant, Steps, Wave, StepCycle } kind_ = Kind::Constant;
    // Level plus noise, split into what the two diodes see.
    Light noisy(double lux);

    Light constant_{};
    std::vector<Step> steps_;
    double mean_ = 0, amplitude_ = 0, period_ = 1, noise_ = 0, infraredShare_ = 0;
    std::uint32_t shiftMs_ = 0;
    std::mt19937 generator_;
};

}  // namespace sim
