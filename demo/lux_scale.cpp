#include "demo/lux_scale.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPositionsPerDecade = 100;
constexpr double kWholeLuxFrom = 100;  // below it the box's tenths are fine enough
}  // namespace

double luxAtSlider(int position) {
    const double lux = std::pow(10.0, std::clamp(position, 0, kLuxSliderTop) / kPositionsPerDecade) - 1;
    // Three significant digits are all a slider can mean, and the box shows tenths at most.
    if (lux < kWholeLuxFrom) return std::round(lux * 10) / 10;
    const double unit = std::pow(10.0, std::floor(std::log10(lux)) - 2);
    return std::round(lux / unit) * unit;
}

int sliderAtLux(double lux) {
    const double position = kPositionsPerDecade * std::log10(std::max(0.0, lux) + 1);
    return std::clamp(static_cast<int>(std::lround(position)), 0, kLuxSliderTop);
}
