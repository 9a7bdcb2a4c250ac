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

    Light at(std::uint32_t ms);

private:
    enum class Kind { Constant, Steps, Wave } kind_ = Kind::Constant;
    Light constant_{};
    std::vector<Step> steps_;
    double mean_ = 0, amplitude_ = 0, period_ = 1, noise_ = 0, infraredShare_ = 0;
    std::mt19937 generator_;
};

}  // namespace sim
